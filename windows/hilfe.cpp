// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/hilfe.h"

#include "windows/helptext.h"
#include "windows/look.h"
#include "windows/modalflow.h"
#include "windows/twips.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>

Hilfe::Hilfe(QWidget *main, ModalFlow &flow)
    : ClassicDialog(main, flow,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Hilfe"));
    setWindowTitle(QStringLiteral("Ratinor 1.2 - Hilfe"));
    setFixedClientArea(this, 3225, 4575);
    setWindowIcon(QIcon()); // none of its own, and not its owner's either

    Label1 = new QLabel(QStringLiteral("Ratinor 1.2"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 120, 3015, 375));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFont(classicFont(13.5, true));

    Text1 = new HelpText(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(120, 600, 3015, 3255));
    Text1->setWrittenText(QStringLiteral("Dieses Programm berechnet die neue \n"
                                         "ELO-Score nach dem aktuellen \n"
                                         "Punktestand der Spielparteien. Der K-\n"
                                         "Wert sollte 30 betragen. Die Punkte sind \n"
                                         "aber nur näherungsweise aussagekräftig. \n"
                                         "Abweichungen von einem Punkt sind \n"
                                         "normal.\n"
                                         "\n"
                                         "Das Programm speichert die zuletzt \n"
                                         "eingebenene Werte in der Datei\n"
                                         "\"Ratinor.ini\"\n"
                                         "Daher muss auf dem Laufwerk auf dem \n"
                                         "dieses Programm gespeichert ist \n"
                                         "Schreibberechtigung/möglichkeit \n"
                                         "bestehen. Andernfalls stürzt das \n"
                                         "Programm beim Beenden ab.\n"));
    Text1->setAccessibleName(QStringLiteral("Hilfetext"));
    QPalette colours = Text1->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    Text1->setPalette(colours);

    cmdFehlerOK = addOkButton(twipsRect(960, 3960, 1335, 495));
    // Text1 comes first in the tab order, and keeps the focus while it has none, so each
    // opening puts the focus in Text1 (see showEvent), not on OK.
    setTabOrder(Text1, cmdFehlerOK);
}

void Hilfe::showEvent(QShowEvent *event)
{
    ClassicDialog::showEvent(event);
    // Every opening starts at the top of the text, with the caret and nothing selected.
    Text1->moveCursor(QTextCursor::Start);
    Text1->setFocus();
}

void Hilfe::changeEvent(QEvent *event)
{
    ClassicDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        // A text edit draws with the colours it took when it was last enabled, and the
        // modal flow enables this window while it is not yet active: it would draw in the
        // inactive text colour, grey in the high-contrast styles. Told again now, it takes
        // the colours of the window's present state.
        QEvent enabledChange(QEvent::EnabledChange);
        QCoreApplication::sendEvent(Text1, &enabledChange);
    }
}

void Hilfe::cmdFehlerOK_Click()
{
    hide();
    flow().enableMain();
    flow().showMain();
}
