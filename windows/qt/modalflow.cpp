// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/modalflow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace qt {

ModalFlow::ModalFlow(QWidget *main) : QObject(main), m_main(main)
{
    main->installEventFilter(this);
}

void ModalFlow::disableMain()
{
    m_focusOnReturn = m_main->focusWidget();
    const QPointer<QWidget> dialogFocus = m_dialog ? m_dialog->focusWidget() : nullptr;
    m_main->setEnabled(false);
    if (m_dialog)
        m_dialog->setEnabled(true);
    if (dialogFocus)
        dialogFocus->setFocus();
}

void ModalFlow::enableMain()
{
    m_main->setEnabled(true);
    if (m_focusOnReturn)
        m_focusOnReturn->setFocus();
    m_focusOnReturn = nullptr;
    m_main->activateWindow();
}

void ModalFlow::shown(QWidget *dialog)
{
    m_dialog = dialog;
    dialog->setEnabled(true); // owned by the main window, which may be disabled already
}

void ModalFlow::hidden(QWidget *dialog)
{
    if (m_dialog == dialog)
        m_dialog = nullptr;
}

bool ModalFlow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_main || m_main->isEnabled() || !m_dialog || !m_dialog->isVisible())
        return false;
    QWidget *dialog = m_dialog;
    switch (event->type()) {
    case QEvent::WindowActivate:
        // After the activation in progress, which the dialog would otherwise lose to it.
        QTimer::singleShot(0, dialog, [dialog] {
            dialog->raise();
            dialog->activateWindow();
        });
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Where the window system gave the keyboard to the main window all the same.
        QWidget *target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        auto *key = static_cast<QKeyEvent *>(event);
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       static_cast<quint16>(key->count()));
        QCoreApplication::sendEvent(target, &copy);
        return true;
    }
    default:
        return false;
    }
}

} // namespace qt
