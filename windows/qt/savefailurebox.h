// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/savefailure.h"
#include "windows/view.h"

class QWidget;

namespace qt {

// Tells the user why the entries could not be saved and asks whether to end anyway,
// losing them, or go back to the window. "Zurück" is the default, so Enter and Esc both
// keep the entries.
SaveFailureChoice askAfterSaveFailure(QWidget *parent, const SaveFailureMessage &message);

} // namespace qt
