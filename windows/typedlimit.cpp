// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/typedlimit.h"

#include <QLineEdit>
#include <QTextBoundaryFinder>

#include <algorithm>

TypedLengthLimit::TypedLengthLimit(int maxTyped, QLineEdit *box)
    : QValidator(box), m_maxTyped(maxTyped), m_lengthBefore(box->text().size())
{
    // textChanged follows validation, so between edits this holds the text validated last.
    connect(box, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_lengthBefore = text.size(); });
}

QValidator::State TypedLengthLimit::validate(QString &input, int &pos) const
{
    const qsizetype limit = std::max<qsizetype>(m_maxTyped, m_lengthBefore);
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
    if (cut < pos - (input.size() - m_lengthBefore))
        return Invalid; // the character began before the edit: keep the text as it was
    input.remove(cut, pos - cut);
    pos = static_cast<int>(cut);
    return Acceptable;
}

void setProgramText(QLineEdit *box, const QString &text)
{
    const QValidator *limit = box->validator();
    box->setValidator(nullptr);
    box->setText(text);
    box->setValidator(limit);
}
