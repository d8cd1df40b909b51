#include "windows/fehler.h"

#include "windows/classic.h"
#include "windows/frmhaupt.h"
#include "windows/twips.h"

#include <QLabel>
#include <QPushButton>

Fehler::Fehler(frmHaupt *main)
    : ClassicDialog(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_main(main)
{
    setObjectName(QStringLiteral("Fehler"));
    setWindowTitle(QStringLiteral("Wert außerhalb des erlaubten Bereichs"));
    setWindowIcon(ratinorIcon());
    setFixedClientArea(this, 2655, 1995);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 120, 2415, 1095));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setText(
        QStringLiteral("Ein angegebener Wert liegt außerhalb des erlaubten Bereichs! "
                       "Die ELO-Scores und der K-Wert müssen positiv und ungleich null sein!"));

    cmdFehlerOK = addOkButton(twipsRect(600, 1440, 1455, 375));
}

void Fehler::cmdFehlerOK_Click()
{
    hide();
    m_main->show();
    m_main->setEnabled(true);
}
