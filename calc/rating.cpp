// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/rating.h"

#include "calc/conversion.h"

#include <cmath>

namespace calc {
namespace {

// One side of the formula, in this exact order of double operations:
// E = 1 / (10^((other - self) / 400) + 1), x = (result - E) * K + self.
std::optional<std::int16_t> newRating(std::int16_t k, std::int16_t self, std::int16_t other,
                                      double result)
{
    const auto d = static_cast<double>(other - self);
    const double q = std::pow(10.0, d / 400.0);
    const double expected = 1.0 / (q + 1.0);
    const double x = (result - expected) * k + self;
    return roundResult(x);
}

bool isValid(const std::optional<std::int16_t> &entry)
{
    return entry && *entry >= 1;
}

} // namespace

std::optional<NewRatings> newRatings(std::int16_t k, std::int16_t own, std::int16_t opponent,
                                     double score)
{
    const auto newOwn = newRating(k, own, opponent, score);
    const auto newOpponent = newRating(k, opponent, own, 1.0 - score);
    if (!newOwn || !newOpponent)
        return std::nullopt;
    return NewRatings {*newOwn, *newOpponent};
}

Calculation calculate(const EntryTexts &typed, double score)
{
    Calculation calculation {typed, std::nullopt, std::nullopt};
    const auto k = entryValue(typed.k);
    const auto own = entryValue(typed.own);
    const auto opponent = entryValue(typed.opponent);
    if (k)
        calculation.entries.k = entryText(*k);
    if (own)
        calculation.entries.own = entryText(*own);
    if (opponent)
        calculation.entries.opponent = entryText(*opponent);

    // Three separate tests: the last one that applies wins.
    if (!isValid(own))
        calculation.focus = Entry::Own;
    if (!isValid(opponent))
        calculation.focus = Entry::Opponent;
    if (!isValid(k))
        calculation.focus = Entry::K;
    if (calculation.focus)
        return calculation;

    const auto ratings = newRatings(*k, *own, *opponent, score);
    if (!ratings)
        return calculation;
    calculation.results = ResultTexts {
        entryText(ratings->own),
        entryText(difference(ratings->own, *own)),
        entryText(ratings->opponent),
        entryText(difference(ratings->opponent, *opponent)),
    };
    return calculation;
}

} // namespace calc
