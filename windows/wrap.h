// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>
#include <string_view>

// Breaking a text into lines no wider than a width, measured by the front end's own face.

// The width of a UTF-8 text on one line, in the same unit as the width wrapped to.
using Measure = std::function<int(std::string_view)>;

// Broken only at blanks, never after a hyphen ("ELO-|Scores"), as the windows were designed:
// a blank becomes a line feed, so the text keeps every other character it had. A line feed
// in the text stays; a blank at a line's end takes no room; a word wider than a line
// stands on a line of its own.
std::string wrappedAtBlanks(std::string_view text, const Measure &measure, int width);

// Broken wherever a line would overflow, for a name that may hold no blank (a path), but
// never inside a character.
std::string wrappedAnywhere(std::string_view text, const Measure &measure, int width);
