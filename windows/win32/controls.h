// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/design.h"
#include "windows/wrap.h"

#include <windows.h>

#include <string_view>

// A designed window and its controls made of Windows' own classic controls.
namespace win32 {

// A control's identifier in its window: 100 and its place in the design table.
int controlId(const design::WindowDesign &window, std::string_view name);
// The designed control of an identifier; null where it is none.
const design::Control *controlOf(const design::WindowDesign &window, int id);

// The identifier of the window's default button, pressed by Enter.
int defaultButton(const design::WindowDesign &window);

// Text widths in pixels in the font selected into dc.
Measure measureWith(HDC dc);

// A designed font at the window's dots per inch.
HFONT createFont(const design::Font &font, int dpi);

// The window's style: a fixed border, a caption, a system menu only where designed.
DWORD styleOf(const design::WindowDesign &window);
DWORD exStyleOf(const design::WindowDesign &window);
// The whole window's size for the designed client area at dpi.
SIZE windowSize(const design::WindowDesign &window, int dpi);

// Every control of the design as a child of window, created in the order of their tab
// indexes, which the dialog manager follows; each at its twips at dpi, in font (the
// designed fonts of its own from fonts), with its tool tip in tips.
void createControls(HWND window, const design::WindowDesign &design, int dpi, HFONT font,
                    HWND tips);

} // namespace win32
