// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/classicdialog.h"

class QLabel;
class QPushButton;

// The error window: an entry is out of range. Shown over the main window while that
// is disabled, so it acts as a modal dialog; OK hides it and gives control back.
class Fehler : public ClassicDialog
{
    Q_OBJECT
public:
    Fehler(QWidget *main, ModalFlow &flow);

private:
    void cmdFehlerOK_Click() override;

    QLabel *Label1 = nullptr;
    QPushButton *cmdFehlerOK = nullptr;
};
