// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real ratinor.exe through its windows, as a user would, under the same wine:
// each scenario starts the program in a folder of its own and checks what it shows.
// Usage: drive RATINOR.EXE SCENARIO; exit code 0 when it holds.
#include "windows/design.h"
#include "windows/texts.h"
#include "windows/win32/controls.h"
#include "windows/win32/utf16.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using win32::narrow;
using win32::widen;

bool failed = false;

void check(bool holds, const char *what)
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

std::string windowText(HWND window)
{
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return narrow(text);
}

std::string readFile(const std::wstring &name)
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

void writeFile(const std::wstring &name, const std::string &bytes)
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
void press(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(100);
}

void type(const std::wstring &text)
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

void toFront(HWND window)
{
    SetForegroundWindow(window);
    Sleep(200);
}

std::vector<std::string> outputs(const Program &program)
{
    return {program.text("EigeneElodanach"), program.text("EigeneELOdifferenz"),
            program.text("GegnerElodanach"), program.text("GegnerELOdifferenz")};
}

void start(Program &program)
{
    check(program.text("Kwert") == "30" && program.text("eigeneElo") == "0"
              && program.text("GegnerElo") == "0",
          "a first start shows 30, 0, 0");
    check(SendMessageW(program.box("optGewonnen"), BM_GETCHECK, 0, 0) == BST_CHECKED,
          "\"Gewonnen\" is selected");
    check(program.focus() == program.box("Kwert"), "the focus is in Kwert");
    check(outputs(program) == std::vector<std::string>(4), "the result boxes are empty");
}

void typicalRequest(Program &program)
{
    program.enter("30", "1600", "1400");
    program.click("optUnentschieden");
    check(outputs(program) == std::vector<std::string> {"1592", "-8", "1408", "8"},
          "a draw against 1400 gives 1592, -8, 1408, 8");
}

void typedLimits(Program &program)
{
    toFront(program.main);
    SetFocus(program.box("Kwert"));
    SendMessageW(program.box("Kwert"), EM_SETSEL, 0, -1);
    type(L"123");
    check(program.text("Kwert") == "12", "Kwert takes 2 typed characters");
    press(VK_TAB);
    SendMessageW(program.box("eigeneElo"), EM_SETSEL, 0, -1);
    type(L"123456");
    check(program.text("eigeneElo") == "1234", "eigeneElo takes 4 typed characters");
    program.enter("1", "1", "1e4");
    program.click("Berechnen");
    check(program.text("GegnerElo") == "10000", "the program's own text is not limited");
}

void errorFlow(Program &program)
{
    toFront(program.main);
    press(VK_RETURN); // 30, 0, 0: out of range
    HWND error = nullptr;
    check(waitFor([&] { return (error = program.shown(design::Fehler)) != nullptr; }),
          "the error window is shown");
    check(!IsWindowEnabled(program.main), "the main window is disabled");
    check(program.focus() == program.control(design::Fehler, error, "cmdFehlerOK"),
          "the focus is on OK");
    check(windowText(program.control(design::Fehler, error, "Label1")).find("ELO-Scores")
              != std::string::npos,
          "the error text is shown");
    press(VK_ESCAPE); // no cancel button
    check(program.shown(design::Fehler) != nullptr, "Esc does not close the error window");
    press(VK_RETURN);
    check(waitFor([&] { return !program.shown(design::Fehler); }), "OK hides the error window");
    check(IsWindowEnabled(program.main), "the main window is enabled again");
    check(program.focus() == program.box("GegnerElo"), "the focus is back in the bad box");
}

void helpWindow(Program &program)
{
    program.click("cmdHilfe");
    HWND help = nullptr;
    check(waitFor([&] { return (help = program.shown(design::Hilfe)) != nullptr; }),
          "the help window is shown");
    check(!IsWindowEnabled(program.main), "the main window is disabled");
    const std::string shownHelp = windowText(program.control(design::Hilfe, help, "Text1"));
    check(shownHelp == texts::help, "the help text is its 16 lines as written");
    if (shownHelp != texts::help)
        std::fprintf(stderr, "%s\n", shownHelp.c_str());
    toFront(help);
    press(VK_RETURN);
    check(waitFor([&] { return !program.shown(design::Hilfe); }), "Enter presses OK");
    check(IsWindowEnabled(program.main), "the main window is enabled again");
}

void escapeSaves(Program &program)
{
    program.enter("30", "1600", "1400");
    toFront(program.main);
    press(VK_ESCAPE);
    check(program.ends(), "Esc ends the program");
    check(readFile(program.file()) == " 30 \r\n 1600 \r\n 1400 \r\n", "Esc saves the 22 bytes");
}

// Fills the drive of path until it takes no further byte.
void fillDrive(const std::wstring &path)
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

void fullDisk(Program &program)
{
    program.enter("30", "1600", "1400");
    toFront(program.main);
    press(VK_ESCAPE);
    HWND box = nullptr;
    check(waitFor([&] { return (box = FindWindowW(L"RatinorSaveFailure", nullptr)) != nullptr; }),
          "the save-failure box is shown");
    check(readFile(program.file()) == " 25 \r\n 1700 \r\n 1650 \r\n",
          "the old file keeps its bytes");
    check(program.running(), "the program stays open");
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: drive RATINOR.EXE SCENARIO\n");
        return 2;
    }
    const std::wstring scenario = argv[2];
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // The full disk is drive T:, a small one that the test run provides.
    const bool onSmallDrive = scenario == L"full-disk";
    if (onSmallDrive && GetDriveTypeW(L"T:\\") == DRIVE_NO_ROOT_DIR) {
        std::fprintf(stderr, "no small drive T: here\n");
        return 77;
    }
    const std::wstring folder = onSmallDrive ? std::wstring(L"T:\\folder")
                                             : std::wstring(temp) + L"ratinor-" + scenario + L"-"
            + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);

    struct Case
    {
        const wchar_t *name;
        std::function<void(Program &)> run;
        const char *stored = nullptr; // the entries file before the start
        DWORD attributes = 0;
    };
    const Case cases[] = {
        {L"start", start},
        {L"typical", typicalRequest},
        {L"typed-limits", typedLimits},
        {L"error", errorFlow},
        {L"help", helpWindow},
        {L"escape", escapeSaves},
        {L"stored",
         [](Program &program) {
             check(program.text("Kwert") == "25" && program.text("eigeneElo") == "1700"
                       && program.text("GegnerElo") == "1650",
                   "the stored entries are shown");
         },
         " 25 \r\n 1700 \r\n 1650 \r\n"},
        {L"hidden",
         [](Program &program) {
             check(program.text("eigeneElo") == "1700", "a hidden file is read");
             escapeSaves(program);
             check(GetFileAttributesW(program.file().c_str()) & FILE_ATTRIBUTE_HIDDEN,
                   "the file stays hidden");
         },
         " 25 \r\n 1700 \r\n 1650 \r\n", FILE_ATTRIBUTE_HIDDEN},
        {L"read-only",
         [](Program &program) {
             check(program.text("eigeneElo") == "1700", "a read-only file is read");
             program.enter("30", "1600", "1400");
             toFront(program.main);
             press(VK_ESCAPE);
             HWND box = nullptr;
             check(waitFor([&] {
                       return (box = FindWindowW(L"RatinorSaveFailure", nullptr)) != nullptr;
                   }),
                   "the save-failure box is shown");
             check(readFile(program.file()) == " 25 \r\n 1700 \r\n 1650 \r\n",
                   "a read-only file keeps its bytes, as Windows keeps them");
             toFront(box);
             press(VK_RETURN); // "Zurück"
             check(waitFor([&] { return !FindWindowW(L"RatinorSaveFailure", nullptr); }),
                   "Enter answers \"Zurück\"");
             check(program.running() && IsWindowEnabled(program.main), "the program stays open");
         },
         " 25 \r\n 1700 \r\n 1650 \r\n", FILE_ATTRIBUTE_READONLY},
        {L"full-disk", fullDisk, " 25 \r\n 1700 \r\n 1650 \r\n"},
    };
    for (const Case &each : cases) {
        if (scenario != each.name)
            continue;
        if (each.stored) {
            writeFile(folder + L"\\Ratinor.ini", each.stored);
            if (each.attributes)
                SetFileAttributesW((folder + L"\\Ratinor.ini").c_str(), each.attributes);
        }
        if (onSmallDrive)
            fillDrive(L"T:\\filler");
        Program program(argv[1], folder);
        check(program.main != nullptr, "the main window is shown");
        if (program.main)
            each.run(program);
        return failed ? 1 : 0;
    }
    std::fprintf(stderr, "no scenario %ls\n", scenario.c_str());
    return 2;
}
