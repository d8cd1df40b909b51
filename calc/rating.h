// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

// The Elo calculation after one game.
namespace calc {

struct NewRatings
{
    std::int16_t own;
    std::int16_t opponent;
};

// Whether an entry may go into the calculation: it fits into 16 bits and is at least 1
// ("positiv und ungleich null").
constexpr bool isValidEntry(const std::optional<std::int16_t> &entry)
{
    return entry && *entry >= 1;
}

// New ratings after one game; score is 1, 0.5 or 0 from the player's side.
// Empty when a new rating does not fit into 16 bits.
std::optional<NewRatings> newRatings(std::int16_t k, std::int16_t own, std::int16_t opponent,
                                     double score);

} // namespace calc
