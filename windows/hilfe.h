#pragma once
#include "windows/classic.h"

class frmHaupt;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The help window with its fixed text. Shown without an owner while the main window is
// disabled, so it acts as a modal dialog; OK hides it and gives control back.
class Hilfe : public ClassicDialog
{
    Q_OBJECT
public:
    explicit Hilfe(frmHaupt *main);

private:
    void cmdFehlerOK_Click() override;

    frmHaupt *m_main;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *cmdFehlerOK = nullptr;
};
