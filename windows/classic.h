#pragma once
#include <QFont>
#include <QIcon>

class QWidget;

// What the three windows share: the narrow face they were drawn for, and the icon.

// The windows' 8-point default face, "MS Sans Serif", loaded from Wine's free bitmap
// face when fontconfig hides it; a narrow outline sans where it cannot serve.
QFont classicFont(double pointSize = 8.0, bool bold = false);

// The Saturn sign, white on black.
QIcon ratinorIcon();

// A fixed-size window whose client area is width x height twips.
void setFixedClientArea(QWidget *window, int width, int height);
