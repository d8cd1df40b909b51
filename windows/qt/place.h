// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/design.h"

#include <QRect>
#include <QSize>

// Where a designed control stands, in Qt's pixels: 96 to the inch, from which Qt's own
// high-DPI scaling takes them on.
namespace qt {

constexpr QRect toRect(const Twips &place)
{
    const Pixels pixels = twipsToPixels(place);
    return {pixels.left, pixels.top, pixels.width, pixels.height};
}

constexpr QSize clientSize(const design::WindowDesign &window)
{
    return {twipsToPixels(window.clientWidth), twipsToPixels(window.clientHeight)};
}

// Each option reaches to its frame's border on the right, past its designed width: a style
// with a wider circle and spacing, such as Adwaita, would otherwise cut off "Gewonnen" and
// "Unentschieden".
constexpr QRect placeOf(const design::WindowDesign &window, const design::Control &control)
{
    if (control.kind != design::Kind::Option)
        return toRect(control.place);
    const Twips frame = design::control(window, design::optionFrame).place;
    constexpr int besideTheLine = 60; // 4 pixels: the frame's etched line and a gap
    Twips widened = control.place;
    widened.width = frame.width - control.place.left - besideTheLine;
    return toRect(widened);
}

} // namespace qt
