// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/entrybox.h"

#include <QKeyEvent>
#include <QTextBoundaryFinder>
#include <QValidator>

#include <algorithm>

namespace {

// At most maxTyped characters, or as many as the program's own text had.
class TypedLengthLimit : public QValidator
{
public:
    TypedLengthLimit(int maxTyped, QLineEdit *box)
        : QValidator(box), m_maxTyped(maxTyped), m_textBefore(box->text())
    {
        // textChanged follows validation, so between edits this holds the text validated last.
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString &text) { m_textBefore = text; });
    }

    State validate(QString &input, int &pos) const override
    {
        const qsizetype limit = std::max<qsizetype>(m_maxTyped, m_textBefore.size());
        const qsizetype excess = input.size() - limit;
        if (excess <= 0)
            return Acceptable;
        // What was just typed or pasted ends at the cursor: keep only as much of it as
        // fits, in whole characters, so that no half of a surrogate pair or of an accented
        // letter stays behind.
        if (excess > pos)
            return Invalid;
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, input);
        characters.setPosition(pos - excess);
        const qsizetype cut = characters.isAtBoundary() ? characters.position()
                                                        : characters.toPreviousBoundary();
        // The edit, a selection replaced or not, begins where the text first differs;
        // what stands before that was there already and is never cut.
        const auto differs = std::mismatch(m_textBefore.cbegin(), m_textBefore.cend(),
                                           input.cbegin(), input.cend());
        const qsizetype editStart = std::min<qsizetype>(differs.second - input.cbegin(), pos);
        if (cut < editStart)
            return Invalid; // the character began before the edit: keep the text as it was
        input.remove(cut, pos - cut);
        pos = static_cast<int>(cut);
        return Acceptable;
    }

private:
    int m_maxTyped;
    QString m_textBefore; // the text before the edit being validated
};

} // namespace

namespace qt {

EntryBox::EntryBox(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void EntryBox::setTypedLimit(int maxTyped)
{
    setValidator(new TypedLengthLimit(maxTyped, this));
}

void EntryBox::setProgramText(const QString &text)
{
    const QValidator *limit = validator();
    setValidator(nullptr);
    setText(text);
    setValidator(limit);
}

void EntryBox::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers held = event->modifiers();
    if ((held & Qt::AltModifier) && !(held & Qt::ControlModifier) && !event->text().isEmpty()
        && event->text().front().isLetterOrNumber()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace qt
