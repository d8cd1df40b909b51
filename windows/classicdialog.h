// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

class ModalFlow;
class QPushButton;

// The error and help windows: each acts as a modal dialog over the main window, its
// owner, and its only way out is its OK button, cmdFehlerOK. The window system places
// it, above the main window.
class ClassicDialog : public QDialog
{
    Q_OBJECT
public:
    void reject() override; // no cancel button: Esc does nothing

protected:
    ClassicDialog(QWidget *main, ModalFlow &flow, Qt::WindowFlags flags);
    // The OK button, as the window's default button.
    QPushButton *addOkButton(const QRect &geometry);
    virtual void cmdFehlerOK_Click() = 0;
    // The steps that hand control back to the main window.
    ModalFlow &flow() const { return m_flow; }

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override; // the window manager's close acts as OK

private:
    ModalFlow &m_flow;
};
