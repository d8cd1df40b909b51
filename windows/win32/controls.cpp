// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/win32/controls.h"

#include "windows/win32/utf16.h"
#include "windows/wrap.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace win32 {
namespace {

constexpr int firstId = 100;

// The text as it is shown: a label that wraps at blanks, and a text whose lines must fit,
// are broken at blanks only where a line is too wide.
std::wstring shownText(HWND window, HFONT font, const design::Control &control, int width)
{
    const bool wraps = control.wordWrap || control.kind == design::Kind::ReadOnlyText
        || control.kind == design::Kind::Button;
    if (!wraps)
        return widen(control.caption);
    std::string text(control.caption);
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    HDC dc = GetDC(window);
    HGDIOBJ before = SelectObject(dc, font);
    std::string wrapped = wrappedAtBlanks(text, measureWith(dc), width);
    SelectObject(dc, before);
    ReleaseDC(window, dc);
    for (std::size_t at = 0; (at = wrapped.find('\n', at)) != std::string::npos; at += 2)
        wrapped.insert(at, 1, '\r');
    return widen(wrapped);
}

struct Kind
{
    const wchar_t *className;
    DWORD style;
    DWORD exStyle;
};

Kind kindOf(const design::Control &control, bool firstOption)
{
    switch (control.kind) {
    case design::Kind::Label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case design::Kind::TextBox:
        return {L"EDIT", ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case design::Kind::ReadOnlyText:
        // Broken into lines by the program alone, at blanks, where a line does not fit: the
        // box's own wrapping would also break where a blank at a line's end overflows.
        return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case design::Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case design::Kind::Option:
        // One stop of Tab for the group, at its first option; the dialog manager moves
        // the focus to the selected one and the arrows within the group.
        return {L"BUTTON",
                static_cast<DWORD>(BS_AUTORADIOBUTTON | (firstOption ? WS_GROUP | WS_TABSTOP : 0)),
                0};
    case design::Kind::Button:
        break;
    }
    const DWORD push = control.role == design::Role::Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    return {L"BUTTON", push | BS_MULTILINE | WS_TABSTOP, 0};
}

} // namespace

int controlId(const design::WindowDesign &window, std::string_view name)
{
    for (std::size_t i = 0; i < window.controls.size(); ++i) {
        if (window.controls[i].name == name)
            return firstId + static_cast<int>(i);
    }
    return 0;
}

const design::Control *controlOf(const design::WindowDesign &window, int id)
{
    const int index = id - firstId;
    if (index < 0 || index >= static_cast<int>(window.controls.size()))
        return nullptr;
    return &window.controls[static_cast<std::size_t>(index)];
}

Measure measureWith(HDC dc)
{
    return [dc](std::string_view line) {
        const std::wstring wide = widen(line);
        SIZE size {};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
}

int defaultButton(const design::WindowDesign &window)
{
    for (const design::Control &control : window.controls) {
        if (control.role == design::Role::Default)
            return controlId(window, control.name);
    }
    return IDOK;
}

HFONT createFont(const design::Font &font, int dpi)
{
    const std::wstring face = widen(font.face);
    return CreateFontW(-static_cast<int>(font.points * dpi / 72.0 + 0.5), 0, 0, 0,
                       font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face.c_str());
}

DWORD styleOf(const design::WindowDesign &window)
{
    const DWORD kind = window.window == Window::frmHaupt ? WS_OVERLAPPED : WS_POPUP;
    return kind | WS_CAPTION | (window.systemMenu ? WS_SYSMENU : 0);
}

DWORD exStyleOf(const design::WindowDesign &window)
{
    // A window without an icon of its own shows none in its title bar.
    return window.hasIcon ? 0 : WS_EX_DLGMODALFRAME;
}

SIZE windowSize(const design::WindowDesign &window, int dpi)
{
    RECT frame {0, 0, twipsToPixels(window.clientWidth, dpi),
                twipsToPixels(window.clientHeight, dpi)};
    AdjustWindowRectEx(&frame, styleOf(window), FALSE, exStyleOf(window));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void createControls(HWND window, const design::WindowDesign &design, int dpi, HFONT font, HWND tips)
{
    std::vector<const design::Control *> order;
    for (const design::Control &control : design.controls)
        order.push_back(&control);
    std::sort(order.begin(), order.end(),
              [](const auto *a, const auto *b) { return a->tabIndex < b->tabIndex; });
    const Twips frame = design::control(design, design::optionFrame).place;
    bool firstOption = true;
    for (const design::Control *control : order) {
        Twips place = control->place;
        if (control->kind == design::Kind::Option) {
            // Counted from the frame's corner, and a sibling of it, not its child.
            place.left += frame.left;
            place.top += frame.top;
        }
        const Pixels pixels = twipsToPixels(place, dpi);
        const Kind kind = kindOf(*control, control->kind == design::Kind::Option && firstOption);
        firstOption = firstOption && control->kind != design::Kind::Option;
        HFONT own = control->font ? createFont(*control->font, dpi) : font;
        HWND child = CreateWindowExW(
            kind.exStyle, kind.className, L"", WS_CHILD | WS_VISIBLE | kind.style, pixels.left,
            pixels.top, pixels.width, pixels.height, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(design, control->name))),
            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
        // A label uses its whole width; a box and a button keep a margin inside.
        // A label uses its whole width, a text its formatting rectangle; a button keeps a
        // margin inside.
        int room = control->kind == design::Kind::Label ? pixels.width : pixels.width - 8;
        if (control->kind == design::Kind::ReadOnlyText) {
            RECT format {};
            SendMessageW(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
            room = format.right - format.left;
        }
        SetWindowTextW(child, shownText(window, own, *control, room).c_str());
        if (control->typedLimit > 0)
            SendMessageW(child, EM_LIMITTEXT, static_cast<WPARAM>(control->typedLimit), 0);
        if (control->checkedAtStart)
            SendMessageW(child, BM_SETCHECK, BST_CHECKED, 0);
        if (tips && !control->toolTip.empty()) {
            std::wstring tip = widen(control->toolTip);
            TOOLINFOW info {};
            info.cbSize = sizeof info;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = window;
            info.uId = reinterpret_cast<UINT_PTR>(child);
            info.lpszText = tip.data();
            SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
}

} // namespace win32
