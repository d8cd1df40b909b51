// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/design.h"

#include <QPalette>

class QWidget;

// A designed window and its controls made of Qt widgets, each named as designed.
namespace qt {

enum class Dress {
    Bare,    // plain Qt widgets at their places, with their captions: nothing else
    Classic, // as the program shows them: face, frame, limits, tips, names, tab order
};

// The window's caption, fixed client size, icon, title bar, face and background.
void setUpWindow(QWidget *window, const design::WindowDesign &design);

// Every control of the design, as a child of window (an option as its frame's).
void createControls(QWidget *window, const design::WindowDesign &design,
                    Dress dress = Dress::Classic);

// The palette role that stands for a system colour.
QPalette::ColorRole roleOf(design::SystemColour colour);

} // namespace qt
