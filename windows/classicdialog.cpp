// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/classicdialog.h"

#include "windows/look.h"

#include <QCloseEvent>
#include <QPushButton>

ClassicDialog::ClassicDialog(QWidget *main, ModalFlow &flow, Qt::WindowFlags flags)
    : QDialog(main, flags), m_flow(flow)
{
    setFont(classicFont());
}

QPushButton *ClassicDialog::addOkButton(const QRect &geometry)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdFehlerOK"));
    ok->setGeometry(geometry);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ClassicDialog::cmdFehlerOK_Click);
    return ok;
}

void ClassicDialog::reject()
{ }

void ClassicDialog::showEvent(QShowEvent *event)
{
    // Not QDialog's: it centres the window itself, and X11 then reports that place as the
    // user's choice. The window system places the window over its owner instead.
    QWidget::showEvent(event); // NOLINT(bugprone-parent-virtual-call)
    activateWindow();
}

void ClassicDialog::closeEvent(QCloseEvent *event)
{
    event->ignore(); // OK hides the window itself
    cmdFehlerOK_Click();
}
