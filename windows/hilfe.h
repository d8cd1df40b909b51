// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/classic.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The help window with its fixed text. Shown without an owner while the main window is
// disabled, so it acts as a modal dialog; OK hides it and gives control back.
class Hilfe : public ClassicDialog
{
    Q_OBJECT
public:
    explicit Hilfe(QWidget *main);

private:
    void cmdFehlerOK_Click() override;

    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *cmdFehlerOK = nullptr;
};
