#include "windows/typedlimit.h"

#include <QLineEdit>

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
    // What was just typed or pasted ends at the cursor: keep only as much of it as fits.
    if (excess > pos)
        return Invalid;
    input.remove(pos - excess, excess);
    pos -= static_cast<int>(excess);
    return Acceptable;
}

void setProgramText(QLineEdit *box, const QString &text)
{
    const QValidator *limit = box->validator();
    box->setValidator(nullptr);
    box->setText(text);
    box->setValidator(limit);
}
