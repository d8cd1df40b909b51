// SPDX-License-Identifier: GPL-3.0-or-later
// Differential fuzzing of the entry conversion against a deliberately simple reference:
// a regular expression finds the number at the start, and strtod in the C locale reads it.
#include "calc/conversion.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

namespace {

struct Reference
{
    std::size_t length;
    std::optional<std::int16_t> value;
};

Reference reference(const std::string &text)
{
    static const std::regex number(R"(^[ \t\n]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
    std::smatch match;
    if (!std::regex_search(text, match, number))
        return {0, std::int16_t {0}};
    const std::string prefix = match.str(0);
    const double whole = std::floor(std::strtod(prefix.c_str(), nullptr));
    if (whole < -32768.0 || whole > 32767.0)
        return {prefix.size(), std::nullopt};
    return {prefix.size(), static_cast<std::int16_t>(whole)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 512)
        return -1; // the regular expression recurses per character
    const std::string text(reinterpret_cast<const char *>(data), size);
    const Reference expected = reference(text);
    const auto value = calc::entryValue(text);
    const std::size_t length = calc::numericPrefixLength(text);
    if (value != expected.value || length != expected.length) {
        std::fprintf(
            stderr,
            "mismatch for \"%s\": value %d/%d (reference %d/%d), length %zu (reference %zu)\n",
            text.c_str(), value.has_value(), value.value_or(0), expected.value.has_value(),
            expected.value.value_or(0), length, expected.length);
        std::abort();
    }
    if (value && calc::entryValue(calc::entryText(*value)) != value)
        std::abort(); // the entry text reads back as the same value
    return 0;
}
