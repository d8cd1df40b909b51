// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

class QWidget;

// Qt's own texts (context menus, standard buttons) in German, as the program is, whatever
// the locale. False when Qt's translations are not installed.
bool installGermanQtTexts();

// Runs the program and returns its exit code: Qt set up as the program needs it (no
// command line, Qt's texts in German, the desktop id, one German line where there is no
// display, a file-size limit that fails a write instead of ending the program), then the
// main window and the event loop. onMainWindow, where given, sees the main window before
// it is shown: the start-up benchmark watches it for its first paint.
int runProgram(int argc, char *argv[], const std::function<void(QWidget &)> &onMainWindow = {});
