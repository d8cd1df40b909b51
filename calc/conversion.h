// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How entry texts become 16-bit integers and back, and how a real result is rounded.
namespace calc {

// The number at the start of text, read the way BASIC's Val reads it: blanks, tabs and
// line feeds in front are skipped, then an optional sign, digits with an optional point
// and fraction, and an optional exponent (E or e, optional sign, digits). Whatever follows
// is ignored, and a text without a number at its start gives 0. The point is the decimal
// separator whatever the locale. The radix prefixes &H and &O, blanks between digits and
// D as an exponent letter are not read: "&H10" and "1 2" give 0 and 1.
// Plus or minus infinity when the number is too large for a double (1e400).
double numericPrefix(std::string_view text);

// How many characters of text that number takes, blanks in front included; 0 when the
// text does not begin with a number.
std::size_t numericPrefixLength(std::string_view text);

// The entry integer a text stands for: its numeric prefix rounded down (towards minus
// infinity). Empty when that does not fit into 16 bits.
std::optional<std::int16_t> entryValue(std::string_view text);

// The same, but a value outside 16 bits gives the nearest bound, -32768 or 32767.
std::int16_t clampedEntryValue(std::string_view text);

// Plain decimal: "-" for negatives, no plus sign, no blanks, no leading zeros.
std::string entryText(std::int16_t value);

// floor(x + 0.5), so halves always round up, also below zero. Empty when the result
// does not fit into 16 bits, or x is not a number.
std::optional<std::int16_t> roundResult(double x);

// a - b, wrapping around in 16 bits.
std::int16_t difference(std::int16_t a, std::int16_t b);

} // namespace calc
