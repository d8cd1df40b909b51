// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The windows are designed in twips: 1440 to the inch, 15 to the pixel at 96 dpi.

struct Twips
{
    int left;
    int top;
    int width;
    int height;
};

struct Pixels
{
    int left;
    int top;
    int width;
    int height;
};

// To the nearest pixel at dpi dots per inch, halves up, as Windows' MulDiv(twips, dpi, 1440).
constexpr int twipsToPixels(int twips, int dpi = 96)
{
    return (twips * dpi + 720) / 1440;
}

constexpr Pixels twipsToPixels(const Twips &place, int dpi = 96)
{
    return {twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi),
            twipsToPixels(place.width, dpi), twipsToPixels(place.height, dpi)};
}
