// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/wrap.h"

#include <cstddef>

std::string wrappedAtBlanks(std::string_view text, const Measure &measure, int width)
{
    const auto fits = [&](std::string_view line) {
        const std::size_t end = line.find_last_not_of(' ');
        return measure(line.substr(0, end == std::string_view::npos ? 0 : end + 1)) <= width;
    };
    std::string wrapped(text);
    std::size_t lineStart = 0;
    std::size_t lastBlank = std::string::npos; // the last blank of the line so far
    for (std::size_t i = 0; i <= wrapped.size(); ++i) {
        const bool lineEnds = i == wrapped.size() || wrapped[i] == '\n';
        if (!lineEnds && wrapped[i] != ' ')
            continue;
        // A word ends at i: break at the blank before it where the line no longer fits.
        if (lastBlank != std::string::npos
            && !fits(std::string_view(wrapped).substr(lineStart, i - lineStart))) {
            wrapped[lastBlank] = '\n';
            lineStart = lastBlank + 1;
        }
        lastBlank = lineEnds ? std::string::npos : i;
        if (lineEnds)
            lineStart = i + 1;
    }
    return wrapped;
}

std::string wrappedAnywhere(std::string_view text, const Measure &measure, int width)
{
    std::string wrapped;
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        // One character: a lead byte and its continuation bytes.
        std::size_t end = i + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        const std::string_view character = text.substr(i, end - i);
        if (!line.empty() && measure(line + std::string(character)) > width) {
            wrapped += line + '\n';
            line.clear();
        }
        line += character;
        i = end;
    }
    return wrapped + line;
}
