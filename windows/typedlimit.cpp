// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/typedlimit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBoundaryFinder>

#include <algorithm>

TypedLengthLimit::TypedLengthLimit(int maxTyped, QLineEdit *box)
    : QValidator(box), m_maxTyped(maxTyped), m_textBefore(box->text())
{
    // textChanged follows validation, so between edits this holds the text validated last.
    connect(box, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_textBefore = text; });
}

QValidator::State TypedLengthLimit::validate(QString &input, int &pos) const
{
    const qsizetype limit = std::max<qsizetype>(m_maxTyped, m_textBefore.size());
    const qsizetype excess = input.size() - limit;
    if (excess <= 0)
        return Acceptable;
    // What was just typed or pasted ends at the cursor: keep only as much of it as fits,
    // in whole characters, so that no half of a surrogate pair or of an accented letter
    // stays behind.
    if (excess > pos)
        return Invalid;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, input);
    characters.setPosition(pos - excess);
    const qsizetype cut = characters.isAtBoundary() ? characters.position()
                                                    : characters.toPreviousBoundary();
    // The edit, a selection replaced or not, begins where the text first differs; what
    // stands before that was there already and is never cut.
    const auto differs = std::mismatch(m_textBefore.cbegin(), m_textBefore.cend(), input.cbegin(),
                                       input.cend());
    const qsizetype editStart = std::min<qsizetype>(differs.second - input.cbegin(), pos);
    if (cut < editStart)
        return Invalid; // the character began before the edit: keep the text as it was
    input.remove(cut, pos - cut);
    pos = static_cast<int>(cut);
    return Acceptable;
}

namespace {

class AltLetters : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        (void)watched;
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers held = key->modifiers();
        return (held & Qt::AltModifier) && !(held & Qt::ControlModifier) && !key->text().isEmpty()
            && key->text().front().isLetterOrNumber();
    }
};

} // namespace

void ignoreAltLetters(QLineEdit *box)
{
    box->installEventFilter(new AltLetters(box));
}

void setProgramText(QLineEdit *box, const QString &text)
{
    const QValidator *limit = box->validator();
    box->setValidator(nullptr);
    box->setText(text);
    box->setValidator(limit);
}
