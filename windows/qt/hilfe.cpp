// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/hilfe.h"

#include "windows/qt/helptext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTextCursor>

#include <utility>

namespace qt {

Hilfe::Hilfe(QWidget *main, std::function<void()> ok)
    : OkOnlyDialog(main, design::Hilfe, std::move(ok)),
      Text1(findChild<HelpText *>(QStringLiteral("Text1")))
{ }

void Hilfe::showEvent(QShowEvent *event)
{
    OkOnlyDialog::showEvent(event);
    // Text1 comes first in the tab order and keeps the focus while it has none, so every
    // opening starts at the top of the text, with the caret and nothing selected.
    Text1->moveCursor(QTextCursor::Start);
    Text1->setFocus();
}

void Hilfe::changeEvent(QEvent *event)
{
    OkOnlyDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        // A text edit draws with the colours it took when it was last enabled, and the
        // modal flow enables this window while it is not yet active: it would draw in the
        // inactive text colour, grey in the high-contrast styles. Told again now, it takes
        // the colours of the window's present state.
        QEvent enabledChange(QEvent::EnabledChange);
        QCoreApplication::sendEvent(Text1, &enabledChange);
    }
}

} // namespace qt
