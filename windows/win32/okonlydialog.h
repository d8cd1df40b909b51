// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/design.h"

#include <windows.h>

#include <functional>

namespace win32 {

// The error and the help window: a window owned by the main window, so that Windows keeps
// it above that and brings it forward when the disabled main window is clicked; its only
// way out is its default button, OK, which its close button and Enter also press.
class OkOnlyDialog
{
public:
    OkOnlyDialog(HWND main, const design::WindowDesign &design, int dpi, HFONT font,
                 std::function<void()> ok);
    ~OkOnlyDialog();
    OkOnlyDialog(const OkOnlyDialog &) = delete;
    OkOnlyDialog &operator=(const OkOnlyDialog &) = delete;

    // Shown over the main window, active, with the focus on its first tab stop.
    void show();
    void hide();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);

    const design::WindowDesign &m_design;
    std::function<void()> m_ok;
    HWND m_main;
    HWND m_window = nullptr;
    bool m_placed = false;
};

// Registers the window classes of the main window and the dialogs.
void registerWindowClasses(HINSTANCE instance);

} // namespace win32
