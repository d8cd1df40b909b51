// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>

class QWidget;

// What a window's title bar shows: the program's icon, and which buttons.
namespace qt {

// The Saturn sign, white on black.
QIcon ratinorIcon();

// Makes a window's title bar bare: neither minimise nor maximise button, and no close
// button where the window system lets a program say so (X11's Motif hints; see
// docs/look.md). Call it before the window is first shown.
void setTitleOnlyDecorations(QWidget *window);

} // namespace qt
