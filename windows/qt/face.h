// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/design.h"
#include "windows/wrap.h"

#include <QFont>

class QFontMetrics;

// The face the windows were drawn for, and how the wrapping measures text in it.
namespace qt {

// A designed font; "MS Sans Serif" from Wine's free bitmap face where fontconfig hides it,
// a narrow outline sans where the bitmap face cannot serve (bold, or a scale other than 1).
QFont classicFont(const design::Font &font = design::windowFont);

// Text widths in the face metrics stand for, in pixels.
Measure measureWith(const QFontMetrics &metrics);

// wrappedAtBlanks() for a Qt text.
QString wrappedAtBlanks(const QString &text, const QFontMetrics &metrics, int width);

} // namespace qt
