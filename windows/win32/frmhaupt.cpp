// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/win32/frmhaupt.h"

#include "windows/design.h"
#include "windows/win32/controls.h"
#include "windows/win32/okonlydialog.h"
#include "windows/win32/savefailurebox.h"
#include "windows/win32/utf16.h"

#include <commctrl.h>

#include <vector>

namespace win32 {
namespace {

constexpr wchar_t mainClass[] = L"RatinorMain";

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

} // namespace

frmHaupt::frmHaupt(HINSTANCE instance) : m_instance(instance), m_dpi(screenDpi())
{
    WNDCLASSEXW main {};
    main.cbSize = sizeof main;
    main.lpfnWndProc = &procedure;
    main.hInstance = instance;
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    main.hbrBackground = GetSysColorBrush(static_cast<int>(design::frmHaupt.background));
    main.lpszClassName = mainClass;
    RegisterClassExW(&main);
    registerWindowClasses(instance);

    m_font = createFont(design::windowFont, m_dpi);
    const SIZE size = windowSize(design::frmHaupt, m_dpi);
    m_window = CreateWindowExW(exStyleOf(design::frmHaupt), mainClass,
                               widen(design::frmHaupt.caption).c_str(), styleOf(design::frmHaupt),
                               CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                               instance, this);
    m_tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window,
                             nullptr, instance, nullptr);
    createControls(m_window, design::frmHaupt, m_dpi, m_font, m_tips);
    m_handlers.Form_Load();
}

frmHaupt::~frmHaupt()
{
    delete m_fehler;
    delete m_hilfe;
    DestroyWindow(m_window);
    DeleteObject(m_font);
}

int frmHaupt::run()
{
    ShowWindow(m_window, SW_SHOWDEFAULT);
    UpdateWindow(m_window);
    setFocus(Box::Kwert);
    MSG message {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager's keys in every window: Tab, the arrows, Enter and Esc.
        HWND root = GetAncestor(message.hwnd, GA_ROOT);
        if (root && IsDialogMessageW(root, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

HWND frmHaupt::box(Box box) const
{
    return GetDlgItem(m_window, controlId(design::frmHaupt, design::control(box).name));
}

std::string frmHaupt::text(Box box) const
{
    HWND edit = this->box(box);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void frmHaupt::setText(Box box, std::string_view text)
{
    SetWindowTextW(this->box(box), widen(text).c_str()); // past the typed limit
}

void frmHaupt::setFocus(Box box)
{
    SetFocus(this->box(box));
}

void frmHaupt::setMainEnabled(bool enabled)
{
    if (!enabled) {
        HWND focus = GetFocus();
        m_focusOnReturn = focus && IsChild(m_window, focus) ? focus : nullptr;
        EnableWindow(m_window, FALSE);
        return;
    }
    EnableWindow(m_window, TRUE);
    SetActiveWindow(m_window);
    if (m_focusOnReturn)
        SetFocus(m_focusOnReturn);
}

OkOnlyDialog &frmHaupt::dialog(Window window)
{
    if (window == Window::Fehler) {
        if (!m_fehler)
            m_fehler = new OkOnlyDialog(m_window, design::Fehler, m_dpi, m_font,
                                        [this] { m_fehlerHandlers.cmdFehlerOK_Click(); });
        return *m_fehler;
    }
    if (!m_hilfe)
        m_hilfe = new OkOnlyDialog(m_window, design::Hilfe, m_dpi, m_font,
                                   [this] { m_hilfeHandlers.cmdFehlerOK_Click(); });
    return *m_hilfe;
}

void frmHaupt::show(Window window)
{
    if (window == Window::frmHaupt)
        ShowWindow(m_window, SW_SHOW);
    else
        dialog(window).show();
}

void frmHaupt::hide(Window window)
{
    if (window == Window::frmHaupt)
        ShowWindow(m_window, SW_HIDE);
    else
        dialog(window).hide();
}

SaveFailureChoice frmHaupt::askAfterSaveFailure(const SaveFailureMessage &message)
{
    return win32::askAfterSaveFailure(m_window, message, m_dpi, m_font);
}

void frmHaupt::end()
{
    if (m_fehler)
        m_fehler->hide();
    if (m_hilfe)
        m_hilfe->hide();
    ShowWindow(m_window, SW_HIDE);
    PostQuitMessage(0);
}

void frmHaupt::command(int id, int notification)
{
    if (id == IDCANCEL) { // Esc presses "Ende"
        m_handlers.Ende_Click();
        return;
    }
    if (notification != BN_CLICKED)
        return;
    const design::Control *control = controlOf(design::frmHaupt, id);
    if (!control)
        return;
    for (const ::frmHaupt::Wiring &wiring : ::frmHaupt::clicks) {
        if (wiring.control == control->name)
            (m_handlers.*wiring.click)();
    }
}

LRESULT CALLBACK frmHaupt::procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<frmHaupt *>(reinterpret_cast<CREATESTRUCTW *>(l)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<frmHaupt *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT frmHaupt::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(defaultButton(design::frmHaupt), DC_HASDEFID);
    case WM_COMMAND:
        command(LOWORD(w), HIWORD(w));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Labels, the frame and the options stand on the window's own colour.
        const int colour = static_cast<int>(design::frmHaupt.background);
        SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(colour));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
    }
    case WM_ACTIVATE:
        // Back to the control that had the focus when the window was last left.
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus))
                m_focusOnReturn = focus;
        } else if (m_focusOnReturn && IsWindowEnabled(m_window)) {
            SetFocus(m_focusOnReturn);
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closed by other means than "Ende" (Alt+F4, the task bar): ends without saving.
        end();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, w, l);
}

} // namespace win32
