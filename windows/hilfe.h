// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/classicdialog.h"

class QLabel;
class HelpText;
class QPushButton;

// The help window with its fixed text. Shown over the main window while that is disabled,
// so it acts as a modal dialog; OK hides it and gives control back.
class Hilfe : public ClassicDialog
{
    Q_OBJECT
public:
    Hilfe(QWidget *main, ModalFlow &flow);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void cmdFehlerOK_Click() override;

    QLabel *Label1 = nullptr;
    HelpText *Text1 = nullptr;
    QPushButton *cmdFehlerOK = nullptr;
};
