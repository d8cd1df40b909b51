// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/design.h"

#include <QDialog>

#include <functional>

namespace qt {

// The error and the help window: a dialog owned by the main window, whose only way out is
// its default button, OK. The window system places it above the main window.
class OkOnlyDialog : public QDialog
{
    Q_OBJECT
public:
    // ok: the handler of the OK button, which hides the window itself.
    OkOnlyDialog(QWidget *main, const design::WindowDesign &design, std::function<void()> ok);

    void reject() override; // no cancel button: Esc does nothing

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override; // the window manager's close acts as OK

private:
    std::function<void()> m_ok;
};

} // namespace qt
