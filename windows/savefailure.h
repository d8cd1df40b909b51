// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "storage/safefile.h"

#include <string>
#include <string_view>

// Why the entries could not be saved, in the program's German words, for every front end.
struct SaveFailureMessage
{
    std::string path;   // the entries file, UTF-8, as the system writes paths
    std::string reason; // the cause, and the system's reason in brackets where it has one

    // The first sentence, naming the path as the box shows it (wrapped, perhaps).
    std::string heading(std::string_view shownPath) const;
    // The reason, then what each of the two buttons does.
    std::string details() const;
};

SaveFailureMessage saveFailureMessage(std::string path, const storage::SaveError &failure);
