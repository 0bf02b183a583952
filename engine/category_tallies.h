// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "engine/bet_code.h"

namespace wheelwatcher {

enum class CategoryMode {
  kPayout,  // what one chip on the category returned on the last spin
  kTally,   // how many spins of the whole history fell into the category
};

// Tallies are wide: a long session must not wrap past 32,767 spins. Defined here, as the
// payout below: every simulated spin settles its bet with them.
inline std::int64_t CategorySpins(Category category, CategoryMode mode,
                                  std::span<const std::int32_t> spins) {
  if (spins.empty()) return 0;
  if (mode == CategoryMode::kPayout) {
    return IsInCategory(spins.back(), category) ? PayoutUnitsPerChip(category) : 0;
  }
  std::int64_t tally = 0;
  for (std::int32_t spin : spins) {
    if (IsInCategory(spin, category)) ++tally;
  }
  return tally;
}

// 36 when a straight-up chip on the number won on the last spin, else 0.
inline int NumberPayout(int number, std::span<const std::int32_t> spins) {
  if (number < 0 || number > kHighestNumber || spins.empty()) return 0;
  return spins.back() == number ? 36 : 0;
}

}  // namespace wheelwatcher
