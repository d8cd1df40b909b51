// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/savefailure.h"
#include "windows/view.h"

#include <windows.h>

namespace win32 {

// Tells the user why the entries could not be saved and asks whether to end anyway,
// losing them, or go back: a small modal box over owner whose default, for Enter and Esc
// alike, is "Zurück".
SaveFailureChoice askAfterSaveFailure(HWND owner, const SaveFailureMessage &message, int dpi,
                                      HFONT font);

} // namespace win32
