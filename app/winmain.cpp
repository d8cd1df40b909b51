// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program: the main window of the Win32 front end and its message loop.
#include "windows/win32/frmhaupt.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine; // the program takes no command line
    (void)show;
    INITCOMMONCONTROLSEX tips {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&tips);
    win32::frmHaupt window(instance);
    return window.run();
}
