// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "storage/entriesfile.h"

class QString;
class QWidget;

enum class SaveFailureChoice { Back, EndAnyway };

// Tells the user why the entries file at filePath could not be saved and asks whether to
// end anyway, losing the entries, or go back to the window. "Zurück" is the default, so
// Enter and Esc both keep the entries.
SaveFailureChoice askAfterSaveFailure(QWidget *parent, const QString &filePath,
                                      const storage::SaveError &failure);
