// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/fehler.h"

#include "windows/classic.h"
#include "windows/twips.h"

#include <QLabel>
#include <QPushButton>

Fehler::Fehler(QWidget *main) : ClassicDialog(main, Qt::Dialog)
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
    Label1->setWordWrap(true);
    const QString text = QStringLiteral(
        "Ein angegebener Wert liegt außerhalb des erlaubten Bereichs! "
        "Die ELO-Scores und der K-Wert müssen positiv und ungleich null sein!");
    // It wraps at blanks only: an invisible word joiner after each hyphen keeps "ELO-Scores"
    // and "K-Wert" whole. Screen readers get the text without it.
    Label1->setText(QString(text).replace(u'-', QStringLiteral("-\u2060")));
    Label1->setAccessibleName(text);

    cmdFehlerOK = addOkButton(twipsRect(600, 1440, 1455, 375));
}

void Fehler::cmdFehlerOK_Click()
{
    hide();
    mainWindow()->show();
    mainWindow()->setEnabled(true);
}
