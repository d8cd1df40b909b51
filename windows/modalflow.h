// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QPointer>

class QWidget;

// The main window made modal by hand while the error or the help window is shown. The
// windows take the steps themselves, each in its own order: the opener disables the main
// window and shows its dialog, and the dialog's OK hides it, then shows and enables the
// main window. What Qt needs around those steps is here, in one place:
// - disabling the main window disables the windows it owns too: they stay usable, each
//   with the focus it had;
// - enabling it again gives the keyboard back to the control that had it;
// - while it is disabled, an attempt to activate it (a click on it, the task bar) brings
//   the shown dialog forward, and keys that reach it go to the dialog.
class ModalFlow : public QObject
{
public:
    explicit ModalFlow(QWidget *main);

    void disableMain();
    void enableMain();
    void showMain();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *shownDialog() const;

    QWidget *m_main;
    QPointer<QWidget> m_focusOnReturn;
};
