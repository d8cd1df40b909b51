// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real ratinor.exe in a process of its own, and the means to work its windows as a
// user does: its controls by their designed names, the keyboard, the files it keeps.
#include "windows/design.h"
#include "windows/win32/controls.h"
#include "windows/win32/utf16.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace drive {

using win32::narrow;
using win32::widen;

inline bool failed = false;

inline void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        failed = true;
    }
}

template <typename Predicate> bool waitFor(Predicate holds, int milliseconds = 5000)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (holds())
            return true;
        Sleep(20);
    }
    return holds();
}

inline std::string windowText(HWND window)
{
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return narrow(text);
}

inline std::string readFile(const std::wstring &name)
{
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char bytes[4096];
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    return {bytes, read};
}

inline void writeFile(const std::wstring &name, const std::string &bytes)
{
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The program, started in a folder of its own.
class Program
{
public:
    Program(const std::wstring &exe, const std::wstring &folder) : m_folder(folder)
    {
        std::wstring line = L"\"" + exe + L"\"";
        STARTUPINFOW start {};
        start.cb = sizeof start;
        if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &start, &m_process))
            return;
        WaitForInputIdle(m_process.hProcess, 10000);
        waitFor([this] {
            main = FindWindowW(L"RatinorMain", widen(design::frmHaupt.caption).c_str());
            return main && IsWindowVisible(main);
        });
    }
    ~Program()
    {
        if (running())
            TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    bool running() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    bool ends() const { return WaitForSingleObject(m_process.hProcess, 5000) == WAIT_OBJECT_0; }

    HWND control(const design::WindowDesign &design, HWND window, std::string_view name) const
    {
        return GetDlgItem(window, win32::controlId(design, name));
    }
    HWND box(std::string_view name) const { return control(design::frmHaupt, main, name); }
    std::string text(std::string_view name) const { return windowText(box(name)); }
    void enter(const char *k, const char *own, const char *opponent) const
    {
        SetWindowTextW(box("Kwert"), widen(k).c_str());
        SetWindowTextW(box("eigeneElo"), widen(own).c_str());
        SetWindowTextW(box("GegnerElo"), widen(opponent).c_str());
    }
    void click(std::string_view name) const { SendMessageW(box(name), BM_CLICK, 0, 0); }
    HWND focus() const
    {
        GUITHREADINFO info {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        return info.hwndFocus;
    }
    HWND shown(const design::WindowDesign &window) const
    {
        HWND found = FindWindowW(nullptr, widen(window.caption).c_str());
        return found && IsWindowVisible(found) ? found : nullptr;
    }
    std::wstring file() const { return m_folder + L"\\Ratinor.ini"; }

    HWND main = nullptr;

private:
    std::wstring m_folder;
    PROCESS_INFORMATION m_process {};
};

// Keys as the keyboard gives them, to the window in front.
inline void press(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(100);
}

inline void type(const std::wstring &text)
{
    for (const wchar_t character : text) {
        INPUT input[2] = {};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wScan = character;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1] = input[0];
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
    Sleep(200);
}

inline void toFront(HWND window)
{
    SetForegroundWindow(window);
    Sleep(200);
}

// Fills the drive of path until it takes no further byte.
inline void fillDrive(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string block(4096, 'x');
    DWORD written = 0;
    while (WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr)
           && written > 0) { }
    for (DWORD one = 1; one > 0;) // the last bytes, one at a time
        if (!WriteFile(file, "x", 1, &one, nullptr))
            break;
    CloseHandle(file);
}

} // namespace drive
