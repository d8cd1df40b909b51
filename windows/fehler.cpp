#include "windows/fehler.h"

#include "windows/classic.h"
#include "windows/frmhaupt.h"
#include "windows/twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

Fehler::Fehler(frmHaupt *main)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_main(main)
{
    setObjectName(QStringLiteral("Fehler"));
    setWindowTitle(QStringLiteral("Wert außerhalb des erlaubten Bereichs"));
    setWindowIcon(ratinorIcon());
    setFont(classicFont());
    setFixedClientArea(this, 2655, 1995);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 120, 2415, 1095));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral("Ein angegebener Wert liegt außerhalb des erlaubten Bereichs! "
                                   "Die ELO-Scores und der K-Wert müssen positiv und ungleich null sein!"));

    cmdFehlerOK = new QPushButton(QStringLiteral("OK"), this);
    cmdFehlerOK->setObjectName(QStringLiteral("cmdFehlerOK"));
    cmdFehlerOK->setGeometry(twipsRect(600, 1440, 1455, 375));
    cmdFehlerOK->setDefault(true);
    connect(cmdFehlerOK, &QPushButton::clicked, this, &Fehler::cmdFehlerOK_Click);
}

void Fehler::cmdFehlerOK_Click()
{
    hide();
    m_main->show();
    m_main->setEnabled(true);
}

void Fehler::reject()
{
}

void Fehler::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cmdFehlerOK->setFocus();
    activateWindow();
}

void Fehler::closeEvent(QCloseEvent *event)
{
    event->ignore();   // OK hides the window itself
    cmdFehlerOK_Click();
}
