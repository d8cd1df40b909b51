// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/win32/savefailurebox.h"

#include "windows/texts.h"
#include "windows/win32/controls.h"
#include "windows/win32/utf16.h"
#include "windows/wrap.h"

#include <string>

namespace win32 {
namespace {

constexpr wchar_t boxClass[] = L"RatinorSaveFailure";
constexpr int endAnywayId = 100;

struct Answer
{
    bool given = false;
    SaveFailureChoice choice = SaveFailureChoice::Back;
};

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto *answer = reinterpret_cast<Answer *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    case WM_COMMAND:
        if (answer && (LOWORD(w) == IDCANCEL || LOWORD(w) == endAnywayId)) {
            answer->given = true;
            answer->choice = LOWORD(w) == endAnywayId ? SaveFailureChoice::EndAnyway
                                                      : SaveFailureChoice::Back;
        }
        return 0;
    case WM_CLOSE:
        if (answer)
            answer->given = true; // as "Zurück"
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

// A static text of at most width pixels, wrapped at its words; its height.
int placeText(HWND box, HFONT font, const std::wstring &text, int left, int top, int width)
{
    HDC dc = GetDC(box);
    HGDIOBJ before = SelectObject(dc, font);
    RECT room {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &room, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, before);
    ReleaseDC(box, dc);
    HWND label = CreateWindowExW(0, L"STATIC", text.c_str(),
                                 WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, left, top, width,
                                 room.bottom, box, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return room.bottom;
}

} // namespace

SaveFailureChoice askAfterSaveFailure(HWND owner, const SaveFailureMessage &message, int dpi,
                                      HFONT font)
{
    static const bool registered = [] {
        WNDCLASSEXW kind {};
        kind.cbSize = sizeof kind;
        kind.lpfnWndProc = procedure;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        kind.lpszClassName = boxClass;
        kind.cbWndExtra = DLGWINDOWEXTRA;
        return RegisterClassExW(&kind) != 0;
    }();
    (void)registered;
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const int margin = scaled(11);
    const int width = scaled(320);
    const int buttonWidth = scaled(110);
    const int buttonHeight = scaled(23);
    HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, boxClass, widen(texts::programName).c_str(),
                               WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    Answer answer;
    SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&answer));

    // A folder's name may hold no blank: the path breaks wherever a line would overflow.
    HDC dc = GetDC(box);
    HGDIOBJ before = SelectObject(dc, font);
    const std::string path = wrappedAnywhere(message.path, measureWith(dc), width - scaled(20));
    SelectObject(dc, before);
    ReleaseDC(box, dc);
    int top = margin;
    top += placeText(box, font, widen(message.heading(path)), margin, top, width) + margin;
    std::wstring details = widen(message.details());
    for (std::size_t at = 0; (at = details.find(L'\n', at)) != std::wstring::npos; at += 2)
        details.insert(at, 1, L'\r');
    top += placeText(box, font, details, margin, top, width) + margin;
    const auto button = [&](const std::string_view caption, int id, DWORD style, int left) {
        HWND made = CreateWindowExW(
            0, L"BUTTON", widen(caption).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, left,
            top, buttonWidth, buttonHeight, box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return made;
    };
    const int right = margin + width;
    button(texts::endAnyway, endAnywayId, BS_PUSHBUTTON, right - 2 * buttonWidth - scaled(6));
    HWND back = button(texts::back, IDCANCEL, BS_DEFPUSHBUTTON, right - buttonWidth);

    RECT frame {0, 0, right + margin, top + buttonHeight + margin};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    RECT owned {};
    GetWindowRect(owner, &owned);
    const int boxWidth = frame.right - frame.left;
    const int boxHeight = frame.bottom - frame.top;
    SetWindowPos(box, nullptr, (owned.left + owned.right - boxWidth) / 2,
                 (owned.top + owned.bottom - boxHeight) / 2, boxWidth, boxHeight, SWP_NOZORDER);

    EnableWindow(owner, FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(back);
    MSG pending {};
    bool quit = false;
    while (!answer.given) {
        if (GetMessageW(&pending, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (IsDialogMessageW(box, &pending))
            continue;
        TranslateMessage(&pending);
        DispatchMessageW(&pending);
    }
    EnableWindow(owner, TRUE);
    DestroyWindow(box);
    SetActiveWindow(owner);
    if (quit)
        PostQuitMessage(static_cast<int>(pending.wParam));
    return answer.choice;
}

} // namespace win32
