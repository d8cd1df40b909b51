// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLineEdit>

namespace qt {

// A text box of the main window: single-line, right-aligned, with an optional limit on
// what the user types, pastes or drops, which cuts a paste short rather than refusing it.
// Text the program sets is not limited, and the user may shorten it but not lengthen it.
// Alt with a letter or digit types nothing and does nothing else: a habit from systems
// where it presses a button. AltGr (Ctrl+Alt on Windows) still types.
class EntryBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit EntryBox(QWidget *parent);

    void setTypedLimit(int maxTyped);
    // Sets the text as the program's own, past any typed-length limit.
    void setProgramText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace qt
