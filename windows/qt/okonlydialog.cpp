// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/okonlydialog.h"

#include "windows/qt/controls.h"

#include <QCloseEvent>
#include <QPushButton>

#include <utility>

namespace qt {

OkOnlyDialog::OkOnlyDialog(QWidget *main, const design::WindowDesign &design,
                           std::function<void()> ok)
    : QDialog(main, Qt::Dialog), m_ok(std::move(ok))
{
    setUpWindow(this, design);
    createControls(this, design);
    for (QPushButton *button : findChildren<QPushButton *>()) {
        if (button->isDefault())
            connect(button, &QPushButton::clicked, this, [this] { m_ok(); });
    }
}

void OkOnlyDialog::reject()
{ }

void OkOnlyDialog::showEvent(QShowEvent *event)
{
    // Not QDialog's: it centres the window itself, and X11 then reports that place as the
    // user's choice. The window system places the window over its owner instead.
    QWidget::showEvent(event); // NOLINT(bugprone-parent-virtual-call)
    activateWindow();
}

void OkOnlyDialog::closeEvent(QCloseEvent *event)
{
    event->ignore(); // OK hides the window itself
    m_ok();
}

} // namespace qt
