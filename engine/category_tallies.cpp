// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/category_tallies.h"

namespace wheelwatcher {

std::int64_t CategorySpins(Category category, CategoryMode mode,
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

int NumberPayout(int number, std::span<const std::int32_t> spins) {
  if (number < 0 || number > kHighestNumber || spins.empty()) return 0;
  return spins.back() == number ? 36 : 0;
}

}  // namespace wheelwatcher
