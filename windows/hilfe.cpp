#include "windows/hilfe.h"

#include "windows/classic.h"
#include "windows/frmhaupt.h"
#include "windows/twips.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

const QString &Hilfe::helpText()
{
    static const QString text = QStringLiteral("Dieses Programm berechnet die neue \r\n"
                                               "ELO-Score nach dem aktuellen \r\n"
                                               "Punktestand der Spielparteien. Der K-\r\n"
                                               "Wert sollte 30 betragen. Die Punkte sind \r\n"
                                               "aber nur näherungsweise aussagekräftig. \r\n"
                                               "Abweichungen von einem Punkt sind \r\n"
                                               "normal.\r\n"
                                               "\r\n"
                                               "Das Programm speichert die zuletzt \r\n"
                                               "eingebenene Werte in der Datei\r\n"
                                               "\"Ratinor.ini\"\r\n"
                                               "Daher muss auf dem Laufwerk auf dem \r\n"
                                               "dieses Programm gespeichert ist \r\n"
                                               "Schreibberechtigung/möglichkeit \r\n"
                                               "bestehen. Andernfalls stürzt das \r\n"
                                               "Programm beim Beenden ab.\r\n");
    return text;
}

Hilfe::Hilfe(frmHaupt *main)
    : ClassicDialog(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                    | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_main(main)
{
    setObjectName(QStringLiteral("Hilfe"));
    setWindowTitle(QStringLiteral("Ratinor 1.2 - Hilfe"));
    setFixedClientArea(this, 3225, 4575);

    Label1 = new QLabel(QStringLiteral("Ratinor 1.2"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 120, 3015, 375));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFont(classicFont(13.5, true));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(120, 600, 3015, 3255));
    // The edit control keeps CR LF; a plain text document breaks lines at LF alone.
    Text1->setPlainText(QString(helpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::ClickFocus); // selectable, but not in the tab order
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->document()->setDocumentMargin(1);
    QPalette colours = Text1->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    Text1->setPalette(colours);

    cmdFehlerOK = addOkButton(twipsRect(960, 3960, 1335, 495));
    setTabOrder(Text1, cmdFehlerOK);
}

void Hilfe::cmdFehlerOK_Click()
{
    hide();
    m_main->setEnabled(true);
    m_main->show();
}
