// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/fehler.h"

#include "windows/look.h"
#include "windows/modalflow.h"
#include "windows/twips.h"

#include <QLabel>
#include <QPushButton>

Fehler::Fehler(QWidget *main, ModalFlow &flow) : ClassicDialog(main, flow, Qt::Dialog)
{
    setObjectName(QStringLiteral("Fehler"));
    setWindowTitle(QStringLiteral("Wert außerhalb des erlaubten Bereichs"));
    setWindowIcon(ratinorIcon());
    setFixedClientArea(this, 2655, 1995);
    setTitleOnlyDecorations(this);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 120, 2415, 1095));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QString text = QStringLiteral(
        "Ein angegebener Wert liegt außerhalb des erlaubten Bereichs! "
        "Die ELO-Scores und der K-Wert müssen positiv und ungleich null sein!");
    // Wrapped here: Qt's own word wrap also breaks after a hyphen. Screen readers get the
    // text as one paragraph.
    Label1->setText(wrappedAtBlanks(text, Label1->fontMetrics(), Label1->width()));
    Label1->setAccessibleName(text);

    cmdFehlerOK = addOkButton(twipsRect(600, 1440, 1455, 375));
}

void Fehler::cmdFehlerOK_Click()
{
    hide();
    flow().showMain();
    flow().enableMain();
}
