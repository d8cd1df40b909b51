// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/win32/okonlydialog.h"

#include "windows/win32/controls.h"
#include "windows/win32/utf16.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace win32 {
namespace {

constexpr wchar_t dialogClass[] = L"RatinorDialog";

// The help text takes the arrows and characters, but leaves Enter to the default button
// and Tab to the dialog manager, and is not selected as a whole when tabbed into.
LRESULT CALLBACK readOnlyText(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                              DWORD_PTR data)
{
    (void)id;
    (void)data;
    if (message == WM_GETDLGCODE)
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    return DefSubclassProc(window, message, w, l);
}

HWND firstTabStop(HWND window)
{
    return GetNextDlgTabItem(window, nullptr, FALSE);
}

} // namespace

void registerWindowClasses(HINSTANCE instance)
{
    WNDCLASSEXW dialog {};
    dialog.cbSize = sizeof dialog;
    dialog.lpfnWndProc = DefWindowProcW;
    dialog.hInstance = instance;
    dialog.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    dialog.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    dialog.lpszClassName = dialogClass;
    dialog.cbWndExtra = DLGWINDOWEXTRA;
    RegisterClassExW(&dialog);
}

OkOnlyDialog::OkOnlyDialog(HWND main, const design::WindowDesign &design, int dpi, HFONT font,
                           std::function<void()> ok)
    : m_design(design), m_ok(std::move(ok)), m_main(main)
{
    const SIZE size = windowSize(design, dpi);
    m_window = CreateWindowExW(exStyleOf(design), dialogClass, widen(design.caption).c_str(),
                               styleOf(design), CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy,
                               main, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
    if (design.hasIcon) {
        auto *icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    createControls(m_window, design, dpi, font, nullptr);
    for (const design::Control &control : design.controls) {
        HWND child = GetDlgItem(m_window, controlId(design, control.name));
        if (control.kind == design::Kind::ReadOnlyText)
            SetWindowSubclass(child, readOnlyText, 1, 0);
    }
}

OkOnlyDialog::~OkOnlyDialog()
{
    DestroyWindow(m_window);
}

void OkOnlyDialog::show()
{
    if (!m_placed) {
        RECT owner {};
        RECT own {};
        GetWindowRect(m_main, &owner);
        GetWindowRect(m_window, &own);
        const int width = own.right - own.left;
        const int height = own.bottom - own.top;
        // Over the middle of the main window, but whole on the screen.
        RECT screen {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
        const int left = std::clamp((owner.left + owner.right - width) / 2, screen.left,
                                    std::max(screen.left, screen.right - width));
        const int top = std::clamp((owner.top + owner.bottom - height) / 2, screen.top,
                                   std::max(screen.top, screen.bottom - height));
        SetWindowPos(m_window, nullptr, left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_placed = true;
    }
    ShowWindow(m_window, SW_SHOW);
    SetActiveWindow(m_window);
    HWND first = firstTabStop(m_window);
    SetFocus(first);
    SendMessageW(first, EM_SETSEL, 0, 0); // the caret at the start, nothing selected
}

void OkOnlyDialog::hide()
{
    ShowWindow(m_window, SW_HIDE);
}

LRESULT CALLBACK OkOnlyDialog::procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto *self = reinterpret_cast<OkOnlyDialog *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT OkOnlyDialog::handle(UINT message, WPARAM w, LPARAM l)
{
    const int okId = defaultButton(m_design);
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(okId, DC_HASDEFID);
    case WM_COMMAND:
        // Enter reaches it as the default button's identifier; Esc as IDCANCEL, which
        // does nothing: the window has no cancel button.
        if (LOWORD(w) == okId && HIWORD(w) == BN_CLICKED)
            m_ok();
        return 0;
    case WM_CLOSE:
        m_ok();
        return 0;
    case WM_CTLCOLORSTATIC: {
        // A read-only text asks as a static control does.
        const auto *control = controlOf(m_design, GetDlgCtrlID(reinterpret_cast<HWND>(l)));
        if (control && control->background != design::SystemColour::None) {
            const int colour = static_cast<int>(control->background);
            SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(colour));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, w, l);
}

} // namespace win32
