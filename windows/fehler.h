#pragma once
#include "windows/classic.h"

class frmHaupt;
class QLabel;
class QPushButton;

// The error window: an entry is out of range. Shown without an owner while the main
// window is disabled, so it acts as a modal dialog; OK hides it and gives control back.
class Fehler : public ClassicDialog
{
    Q_OBJECT
public:
    explicit Fehler(frmHaupt *main);

private:
    void cmdFehlerOK_Click() override;

    frmHaupt *m_main;
    QLabel *Label1 = nullptr;
    QPushButton *cmdFehlerOK = nullptr;
};
