// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/helptext.h"

#include "windows/qt/face.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>

namespace qt {
namespace {

// What assistive technology reads of a HelpText: the text as written, with the caret and
// the selection of the box. A shown position is a position in the text as written, since
// a break stands where a blank was.
class AccessibleHelpText : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleHelpText(HelpText *box) : QAccessibleWidget(box, QAccessible::EditableText)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        state.focusable = true;
        return state;
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? box()->writtenText() : QAccessibleWidget::text(kind);
    }

    void selection(int index, int *start, int *end) const override
    {
        const QTextCursor cursor = box()->textCursor();
        const bool selected = index == 0 && cursor.hasSelection();
        *start = selected ? cursor.selectionStart() : 0;
        *end = selected ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        (void)index;
        QTextCursor cursor = box()->textCursor();
        cursor.clearSelection();
        box()->setTextCursor(cursor);
    }
    void setSelection(int index, int start, int end) override
    {
        (void)index;
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(clamped(start));
        cursor.setPosition(clamped(end), QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }
    int cursorPosition() const override { return box()->textCursor().position(); }
    void setCursorPosition(int position) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(clamped(position));
        box()->setTextCursor(cursor);
    }
    QString text(int start, int end) const override
    {
        return box()->writtenText().mid(start, std::max(0, end - start));
    }
    int characterCount() const override { return static_cast<int>(box()->writtenText().size()); }
    QRect characterRect(int offset) const override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(clamped(offset));
        QRect rect = box()->cursorRect(cursor);
        const QString character = box()->writtenText().mid(offset, 1);
        rect.setWidth(box()->fontMetrics().horizontalAdvance(character));
        rect.moveTopLeft(box()->viewport()->mapToGlobal(rect.topLeft()));
        return rect;
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorForPosition(box()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int end) override
    {
        (void)start;
        (void)end; // the whole text is in view: the box has no scroll bars
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = offset;
        *end = offset;
        return {};
    }

private:
    HelpText *box() const { return static_cast<HelpText *>(widget()); }
    int clamped(int position) const
    {
        return std::clamp(position, 0, box()->document()->characterCount() - 1);
    }
};

QAccessibleInterface *accessibleHelpText(const QString &className, QObject *object)
{
    if (className == QLatin1String("qt::HelpText") && object && object->isWidgetType())
        return new AccessibleHelpText(static_cast<HelpText *>(object));
    return nullptr;
}

} // namespace

HelpText::HelpText(QWidget *parent) : QPlainTextEdit(parent)
{
    static const bool accessible = (QAccessible::installFactory(accessibleHelpText), true);
    (void)accessible;
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap); // wrapped by wrap() instead
    // Read-only, yet selectable with the mouse and the keyboard (caret, Shift+arrows,
    // Ctrl+A, Ctrl+C); Tab leaves it instead of typing a tab.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(1);
}

void HelpText::setWrittenText(const QString &text)
{
    m_written = text;
    wrap();
}

void HelpText::wrap()
{
    const int width = contentsRect().width() - 2 * static_cast<int>(document()->documentMargin());
    const QString shown = wrappedAtBlanks(m_written, fontMetrics(), width);
    if (shown != toPlainText())
        setPlainText(shown);
}

QMimeData *HelpText::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto *selected = new QMimeData;
    selected->setText(
        m_written.mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()));
    return selected;
}

void HelpText::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        wrap();
}

void HelpText::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    wrap();
}

} // namespace qt
