// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/classicframe.h"

#include <qdrawutil.h>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace qt {

ClassicFrame::ClassicFrame(QWidget *parent) : QGroupBox(parent)
{ }

void ClassicFrame::paintEvent(QPaintEvent *event)
{
    (void)event;
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1);
    // The caption stands on the line, on the window's own background.
    const QString caption = title();
    // One letter in; the bitmap face reports no usable average character width.
    const QRect captionRect(metrics.horizontalAdvance(QLatin1Char('x')), 0,
                            metrics.horizontalAdvance(caption) + 4, metrics.height());
    painter.fillRect(captionRect, palette().window());
    style()->drawItemText(&painter, captionRect, Qt::AlignCenter, palette(), isEnabled(), caption,
                          QPalette::WindowText);
}

} // namespace qt
