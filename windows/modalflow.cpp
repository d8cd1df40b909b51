// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/modalflow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <utility>
#include <vector>

ModalFlow::ModalFlow(QWidget *main) : QObject(main), m_main(main)
{
    main->installEventFilter(this);
}

void ModalFlow::disableMain()
{
    m_focusOnReturn = m_main->focusWidget();
    std::vector<std::pair<QWidget *, QPointer<QWidget>>> dialogs;
    for (QWidget *dialog : m_main->findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
        dialogs.emplace_back(dialog, dialog->focusWidget());
    m_main->setEnabled(false);
    for (auto &[dialog, focus] : dialogs) {
        dialog->setEnabled(true);
        if (focus)
            focus->setFocus();
    }
}

void ModalFlow::enableMain()
{
    m_main->setEnabled(true);
    if (m_focusOnReturn)
        m_focusOnReturn->setFocus();
    m_focusOnReturn = nullptr;
    m_main->activateWindow();
}

void ModalFlow::showMain()
{
    m_main->show();
}

QWidget *ModalFlow::shownDialog() const
{
    for (QDialog *dialog : m_main->findChildren<QDialog *>(Qt::FindDirectChildrenOnly)) {
        if (dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

bool ModalFlow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_main || m_main->isEnabled())
        return false;
    QWidget *dialog = shownDialog();
    if (!dialog)
        return false;
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
