// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QValidator>

class QLineEdit;

// Limits what the user types, pastes or drops into a box to maxTyped characters,
// cutting a paste short rather than refusing it. Text the program sets through
// setProgramText() is not limited, and the user may shorten it but not lengthen it.
class TypedLengthLimit : public QValidator
{
    Q_OBJECT
public:
    TypedLengthLimit(int maxTyped, QLineEdit *box);
    State validate(QString &input, int &pos) const override;

private:
    int m_maxTyped;
    QString m_textBefore; // the text before the edit being validated
};

// Sets a box's text as the program's own, past any typed-length limit.
void setProgramText(QLineEdit *box, const QString &text);

// Alt with a letter or digit types nothing into the box and does nothing else: a habit
// from systems where it presses a button. AltGr (Ctrl+Alt on Windows) still types.
void ignoreAltLetters(QLineEdit *box);
