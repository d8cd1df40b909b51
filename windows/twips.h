// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRect>
#include <QSize>

// The windows are designed in twips, 15 to the pixel at 96 dpi; Qt's high-DPI scaling
// takes the pixels on from there.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15; // nearest pixel
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

constexpr QSize twipsSize(int width, int height)
{
    return QSize(twipsToPixels(width), twipsToPixels(height));
}
