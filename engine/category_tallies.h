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

// Tallies are wide: a long session must not wrap past 32,767 spins.
std::int64_t CategorySpins(Category category, CategoryMode mode,
                           std::span<const std::int32_t> spins);
// 36 when a straight-up chip on the number won on the last spin, else 0.
int NumberPayout(int number, std::span<const std::int32_t> spins);

}  // namespace wheelwatcher
