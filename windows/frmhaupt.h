// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/view.h"

#include <filesystem>
#include <string>
#include <string_view>

// The main window's handlers and state: the game score, the entries file, the calculation.
// The front end calls a handler for each event of its window, as the wiring table says.
class frmHaupt
{
public:
    explicit frmHaupt(View &view);

    // Whether anything of that name is there, a directory included.
    bool FileExists(const std::filesystem::path &FileName) const;
    void Rechnen();

    void Form_Load();
    void optGewonnen_Click();
    void optUnentschieden_Click();
    void optVerloren_Click();
    void Berechnen_Click();
    void cmdHilfe_Click();
    void Ende_Click();

    // Which handler a click on each control runs.
    struct Wiring
    {
        std::string_view control;
        void (frmHaupt::*click)();
    };
    static const Wiring clicks[6];

private:
    View &m_view;
    std::string m_entriesFileShown; // absolute: the working folder may be gone at the save
    double m_gameScore = 1.0;
};
