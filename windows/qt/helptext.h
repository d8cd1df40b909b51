// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QPlainTextEdit>
#include <QString>

class QMimeData;

namespace qt {

// A read-only text that the user can select, shown in lines that break at blanks only,
// never after a hyphen as Qt's own wrapping would ("K-|Wert"). The lines it shows are the
// text with some blanks turned into breaks; what is copied, and what assistive technology
// reads, is always the text as written.
class HelpText : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit HelpText(QWidget *parent);

    void setWrittenText(const QString &text);
    const QString &writtenText() const { return m_written; }

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void wrap();

    QString m_written;
};

} // namespace qt
