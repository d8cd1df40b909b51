// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace calc {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLeadingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// Power of ten of the first significant digit of a scanned number whose value does not
// fit a double: positive for an overflow, negative for an underflow. The exponent is
// saturated, so its digits can be as many as they like.
long magnitude(std::string_view mantissa, std::string_view exponent)
{
    constexpr long bound = 1'000'000;
    long exp = 0;
    for (const char c : exponent) {
        if (isDigit(c) && exp < bound)
            exp = exp * 10 + (c - '0');
    }
    if (exponent.find('-') != std::string_view::npos)
        exp = -exp;

    const auto point = static_cast<long>(std::min(mantissa.find('.'), mantissa.size()));
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        const char c = mantissa[i];
        if (c == '.' || c == '0')
            continue;
        const auto index = static_cast<long>(i);
        return (index < point ? point - index - 1 : point - index) + exp;
    }
    return exp;
}

// Where the parts of the number at the start of a text stand.
struct Scan
{
    bool negative = false;
    std::size_t mantissaStart = 0;
    std::size_t mantissaEnd = 0; // equal to mantissaStart when there is no number
    std::size_t end = 0;         // after the exponent, if there is one
};

Scan scan(std::string_view text)
{
    Scan found;
    std::size_t i = 0;
    while (i < text.size() && isLeadingSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        found.negative = text[i] == '-';
        ++i;
    }
    found.mantissaStart = i;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0) {
        found.mantissaEnd = found.end = found.mantissaStart;
        return found;
    }
    found.mantissaEnd = found.end = i;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            found.end = j;
        }
    }
    return found;
}

// A whole number as a 16-bit integer; empty outside that range, and for NaN.
std::optional<std::int16_t> narrow(double whole)
{
    if (!(whole >= std::numeric_limits<std::int16_t>::min()
          && whole <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

} // namespace

double numericPrefix(std::string_view text)
{
    const Scan found = scan(text);
    if (found.mantissaEnd == found.mantissaStart)
        return 0.0;
    // from_chars reads the unsigned part without any locale; it takes no leading sign.
    double value = 0.0;
    const char *first = text.data() + found.mantissaStart;
    const char *last = text.data() + found.end;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const std::string_view mantissa = text.substr(found.mantissaStart,
                                                      found.mantissaEnd - found.mantissaStart);
        const std::string_view exponent = text.substr(found.mantissaEnd,
                                                      found.end - found.mantissaEnd);
        // Too small for a double is zero; too large is infinite.
        value = magnitude(mantissa, exponent) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || ptr != last) {
        value = 0.0; // cannot happen for a scanned number; read as none
    }
    return found.negative ? -value : value;
}

std::size_t numericPrefixLength(std::string_view text)
{
    const Scan found = scan(text);
    return found.mantissaEnd == found.mantissaStart ? 0 : found.end;
}

std::optional<std::int16_t> entryValue(std::string_view text)
{
    // floor, not truncation: "-0.5" reads as -1.
    return narrow(std::floor(numericPrefix(text)));
}

std::int16_t clampedEntryValue(std::string_view text)
{
    const double whole = std::floor(numericPrefix(text));
    return static_cast<std::int16_t>(std::clamp(whole,
                                                double {std::numeric_limits<std::int16_t>::min()},
                                                double {std::numeric_limits<std::int16_t>::max()}));
}

std::string entryText(std::int16_t value)
{
    char buffer[8];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return {buffer, result.ptr};
}

std::optional<std::int16_t> roundResult(double x)
{
    // floor(x + 0.5): halves round up, also below zero.
    return narrow(std::floor(x + 0.5));
}

std::int16_t difference(std::int16_t a, std::int16_t b)
{
    return static_cast<std::int16_t>(a - b);
}

} // namespace calc
