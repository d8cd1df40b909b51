// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation, the entries file on the Win32 API and the handlers, as the Windows
// program has them, run under wine. Qt Test is not there for Windows: plain tables.
#include "calc/conversion.h"
#include "calc/rating.h"
#include "storage/entriesfile.h"
#include "windows/frmhaupt.h"
#include "windows/savefailure.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace {

int failures = 0;

void check(bool holds, const std::string &what)
{
    if (!holds) {
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
        ++failures;
    }
}

std::string read(const std::filesystem::path &file)
{
    return storage::readStart(file, 4096).value_or("<none>");
}

// Every name in a folder, to see that a save leaves nothing behind.
int namesIn(const std::filesystem::path &folder)
{
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    return count;
}

class View : public ::View
{
public:
    std::map<Box, std::string> texts;
    bool errorShown = false;
    std::string text(Box box) const override { return texts.count(box) ? texts.at(box) : ""; }
    void setText(Box box, std::string_view text) override { texts[box] = std::string(text); }
    void setFocus(Box) override { }
    void setMainEnabled(bool) override { }
    void show(Window window) override { errorShown = errorShown || window == Window::Fehler; }
    void hide(Window) override { }
    SaveFailureChoice askAfterSaveFailure(const SaveFailureMessage &) override
    {
        return SaveFailureChoice::Back;
    }
    void end() override { }
};

void calculation()
{
    struct Row
    {
        const char *k, *own, *opponent;
        double score;
        int newOwn, newOpponent;
    };
    // Results near a half, where extended precision would round the other way
    const Row rows[] = {{"30", "1600", "1400", 0.5, 1592, 1408},
                        {"30", "1500", "1520", 1.0, 1516, 1504},
                        {"15", "2100", "2300", 1.0, 2111, 2289},
                        {"1", "1", "1", 1.0, 2, 1},
                        {"30", "2000", "1000", 0.0, 1970, 1030}};
    for (const Row &row : rows) {
        const auto result = calc::newRatings(*calc::entryValue(row.k), *calc::entryValue(row.own),
                                             *calc::entryValue(row.opponent), row.score);
        check(result && result->own == row.newOwn && result->opponent == row.newOpponent,
              std::string("new ratings for ") + row.own + " against " + row.opponent);
    }
    check(calc::entryValue("-0.5") == -1 && calc::entryValue("1e3") == 1000
              && !calc::entryValue("32768"),
          "entry conversion");
    View view;
    frmHaupt window(view);
    view.texts = {{Box::Kwert, "30"}, {Box::eigeneElo, "1600"}, {Box::GegnerElo, "1400"}};
    window.optUnentschieden_Click();
    check(view.texts[Box::EigeneELOdifferenz] == "-8" && view.texts[Box::GegnerElodanach] == "1408",
          "Rechnen shows a draw");
    view.setText(Box::eigeneElo, "0");
    window.Berechnen_Click();
    check(view.errorShown, "Rechnen shows the error window for 0");
}

void entriesFile(const std::filesystem::path &folder)
{
    const std::filesystem::path file = folder / "Ratinor.ini";
    check(!storage::exists(file), "no file at first");
    check(!storage::save(file, 30, 1600, 1400), "a first save");
    check(read(file) == " 30 \r\n 1600 \r\n 1400 \r\n", "the first save's 22 bytes");
    check(!storage::save(file, 25, 1700, 1650) && read(file) == " 25 \r\n 1700 \r\n 1650 \r\n",
          "a save replaces the file");
    const auto loaded = storage::load(file);
    check(loaded.k == 25 && loaded.own == 1700 && loaded.opponent == 1650, "the load");

    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    check(storage::exists(file), "a hidden and system file counts");
    check(!storage::save(file, 30, 1, 1), "a hidden file is saved");
    check(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, "and stays hidden");

    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    const auto refused = storage::save(file, 9, 9, 9);
    check(refused && refused->kind == storage::SaveError::Kind::ReadOnly && refused->oldKept,
          "a read-only file is refused, as Windows refuses it");
    check(read(file) == " 30 \r\n 1 \r\n 1 \r\n", "and keeps its bytes");
    check(refused
              && saveFailureMessage("x", *refused).reason.find("Zugriff verweigert")
                  != std::string::npos,
          "the system's reason in German");
    check(namesIn(folder) == 1, "nothing left beside the file");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::filesystem::path directory = folder / "Ordner";
    std::filesystem::create_directory(directory);
    std::filesystem::create_directory(directory / "Ratinor.ini");
    const auto inTheWay = storage::save(directory / "Ratinor.ini", 1, 1, 1);
    check(inTheWay && inTheWay->kind == storage::SaveError::Kind::Directory, "a folder in the way");
    const auto gone = storage::save(folder / "fehlt" / "Ratinor.ini", 1, 1, 1);
    check(gone && gone->kind == storage::SaveError::Kind::FolderGone, "a folder that is gone");
}

} // namespace

int wmain()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // A club's folder with an umlaut in its name.
    const std::filesystem::path folder = std::filesystem::path(temp)
        / (L"Verein S\u00fcd " + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    calculation();
    entriesFile(folder);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::printf("%s\n", failures ? "failed" : "all checks hold");
    return failures ? 1 : 0;
}
