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

} // namespace calc
