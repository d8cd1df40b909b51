// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real ratinor.exe through its windows, as a user would, under the same wine:
// each scenario starts the program in a folder of its own and checks what it shows.
// Usage: drive RATINOR.EXE SCENARIO; exit code 0 when it holds.
#include "tests/win32/program.h"
#include "windows/texts.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using namespace drive;

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
    // A paste is cut to the limit too
    SetWindowTextW(program.box("GegnerElo"), L"");
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, 6 * sizeof(wchar_t));
        std::memcpy(GlobalLock(copy), L"98765", 6 * sizeof(wchar_t));
        GlobalUnlock(copy);
        SetClipboardData(CF_UNICODETEXT, copy);
        CloseClipboard();
    }
    SendMessageW(program.box("GegnerElo"), WM_PASTE, 0, 0);
    check(program.text("GegnerElo") == "9876", "a paste into GegnerElo is cut to 4 characters");
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
    // Its close button acts as OK
    program.click("cmdHilfe");
    check(waitFor([&] { return program.shown(design::Hilfe) != nullptr; }), "shown again");
    PostMessageW(program.shown(design::Hilfe), WM_CLOSE, 0, 0);
    check(waitFor([&] { return !program.shown(design::Hilfe) && IsWindowEnabled(program.main); }),
          "the close button acts as OK");
}

void escapeSaves(Program &program)
{
    program.enter("30", "1600", "1400");
    toFront(program.main);
    press(VK_ESCAPE);
    check(program.ends(), "Esc ends the program");
    check(readFile(program.file()) == " 30 \r\n 1600 \r\n 1400 \r\n", "Esc saves the 22 bytes");
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
