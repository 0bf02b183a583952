// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace wheelwatcher {

// The twelve outside-bet categories. Their order is the order of the bet-code parts: the
// even chances are E = 1..6, the dozens and columns D = 1..6.
enum class Category {
  kReds,
  kBlacks,
  kOdds,
  kEvens,
  kHigh,
  kLow,
  kFirst,
  kSecond,
  kThird,
  kLeft,
  kMiddle,
  kRight,
};

inline constexpr int kCategoryCount = 12;
inline constexpr int kHighestNumber = 36;
// Number part of a bet code that carries no straight-up bet.
inline constexpr int kNoNumber = 44;

bool IsInCategory(int number, Category category);
// Payout units per chip, the chip included: 2 for an even chance, 3 for a dozen or column.
int PayoutUnitsPerChip(Category category);

// A bet code is 1000 * D + 100 * E + N: one chip each on the number N (below 37), the even
// chance E (1..6) and the dozen or column D (1..6); 0 in E or D, and N of 37 or more, mean no bet.
using BetCode = std::int32_t;

struct BetCodeParts {
  int number;       // N
  int evenChance;   // E x 100: 0, 100..600
  int dozenColumn;  // D x 1000: 0, 1000..6000
};

BetCodeParts SplitBetCode(BetCode code);
bool HasNumberBet(const BetCodeParts& parts);
// The category named by a part, or false when the part holds no bet (or an unknown value).
bool EvenChanceCategory(const BetCodeParts& parts, Category* category);
bool DozenColumnCategory(const BetCodeParts& parts, Category* category);
int ChipCount(BetCode code);

}  // namespace wheelwatcher
