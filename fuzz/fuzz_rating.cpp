// SPDX-License-Identifier: GPL-3.0-or-later
// The whole calculation on arbitrary entry texts and game scores: it must neither crash
// nor hit undefined behaviour, and what it reports must hang together.
#include "calc/conversion.h"
#include "calc/rating.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first eight bytes are the score, the rest three texts split at NUL bytes.
    if (size < sizeof(double))
        return -1;
    double score = 0;
    std::memcpy(&score, data, sizeof score);
    const std::string_view rest(reinterpret_cast<const char *>(data) + sizeof score,
                                size - sizeof score);
    std::string texts[3];
    std::size_t part = 0;
    for (const char c : rest) {
        if (c == '\0' && part < 2)
            ++part;
        else
            texts[part] += c;
    }

    const calc::Calculation c = calc::calculate({texts[0], texts[1], texts[2]}, score);
    const auto k = calc::entryValue(texts[0]);
    const auto own = calc::entryValue(texts[1]);
    const auto opponent = calc::entryValue(texts[2]);
    const bool valid = k && own && opponent && *k >= 1 && *own >= 1 && *opponent >= 1;
    if (c.focus.has_value() == valid)
        std::abort(); // the focus moves exactly when an entry is invalid
    if (c.results && !valid)
        std::abort();
    // Each box normalised, or left as typed when beyond 16 bits.
    const auto shown = [](const std::optional<std::int16_t> &value, const std::string &typed) {
        return value ? calc::entryText(*value) : typed;
    };
    if (c.entries.k != shown(k, texts[0]) || c.entries.own != shown(own, texts[1])
        || c.entries.opponent != shown(opponent, texts[2]))
        std::abort();
    if (c.results && score >= 0.0 && score <= 1.0) {
        // With a score between 0 and 1 each change lies between -K and K.
        const int change = std::atoi(c.results->ownChange.c_str());
        const int opponentChange = std::atoi(c.results->opponentChange.c_str());
        if (change < -*k || change > *k || opponentChange < -*k || opponentChange > *k)
            std::abort();
    }
    return 0;
}
