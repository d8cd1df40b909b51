// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QPointer>

class QWidget;

namespace qt {

// The main window made modal by hand while the error or the help window is shown. The
// handlers take the steps, each window in its own order; what Qt needs around them is
// here, in one place:
// - disabling the main window disables the windows it owns too: the shown one stays
//   usable, with the focus it had;
// - enabling it again gives the keyboard back to the control that had it;
// - while it is disabled, an attempt to activate it (a click on it, the task bar) brings
//   the shown dialog forward, and keys that reach it go to the dialog.
class ModalFlow : public QObject
{
public:
    explicit ModalFlow(QWidget *main);

    void disableMain();
    void enableMain();
    // The dialog is shown now, or hidden.
    void shown(QWidget *dialog);
    void hidden(QWidget *dialog);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_main;
    QPointer<QWidget> m_dialog; // the one shown
    QPointer<QWidget> m_focusOnReturn;
};

} // namespace qt
