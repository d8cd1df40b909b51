// SPDX-License-Identifier: GPL-3.0-or-later
// A bare Win32 window with the main window's 17 controls at the same places, made from the
// same design table, and nothing else: no entries file, no handlers, no tool tips.
#include "windows/design.h"
#include "windows/win32/controls.h"
#include "windows/win32/utf16.h"

#include <windows.h>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, w, l);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    WNDCLASSEXW bare {};
    bare.cbSize = sizeof bare;
    bare.lpfnWndProc = procedure;
    bare.hInstance = instance;
    bare.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    bare.lpszClassName = L"Bare";
    RegisterClassExW(&bare);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const SIZE size = win32::windowSize(design::frmHaupt, dpi);
    HWND window = CreateWindowExW(0, L"Bare", L"Bare", win32::styleOf(design::frmHaupt),
                                  CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                                  instance, nullptr);
    win32::createControls(window, design::frmHaupt, dpi,
                          static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
