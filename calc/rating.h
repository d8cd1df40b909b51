// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>

// The Elo calculation after one game, and the whole run of the main window's calculation
// from the three entry texts to what its boxes show afterwards.
namespace calc {

struct NewRatings
{
    std::int16_t own;
    std::int16_t opponent;
};

// New ratings after one game; score is 1, 0.5 or 0 from the player's side.
// Empty when a new rating does not fit into 16 bits.
std::optional<NewRatings> newRatings(std::int16_t k, std::int16_t own, std::int16_t opponent,
                                     double score);

enum class Entry { K, Own, Opponent };

struct EntryTexts
{
    std::string k;
    std::string own;
    std::string opponent;
};

struct ResultTexts
{
    std::string newOwn;
    std::string ownChange;
    std::string newOpponent;
    std::string opponentChange;
};

struct Calculation
{
    // What the three entry boxes show afterwards: each entry normalised to its integer,
    // or left as typed when its integer part does not fit into 16 bits.
    EntryTexts entries;
    // The box that receives the focus: the invalid entry of the highest precedence
    // (K, then opponent, then own). Empty when all three are valid.
    std::optional<Entry> focus;
    // Empty when the entries are invalid (less than 1, or outside 16 bits) or a new
    // rating does not fit into 16 bits: the error window is shown, and the result
    // boxes keep what they held.
    std::optional<ResultTexts> results;
};

Calculation calculate(const EntryTexts &typed, double score);

} // namespace calc
