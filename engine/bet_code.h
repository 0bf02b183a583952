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
inline int PayoutUnitsPerChip(Category category) {
  return static_cast<int>(category) < static_cast<int>(Category::kFirst) ? 2 : 3;
}

// A bet code is 1000 * D + 100 * E + N: one chip each on the number N (below 37), the even
// chance E (1..6) and the dozen or column D (1..6); 0 in E or D, and N of 37 or more, mean no bet.
using BetCode = std::int32_t;

struct BetCodeParts {
  int number;       // N
  int evenChance;   // E x 100: 0, 100..600
  int dozenColumn;  // D x 1000: 0, 1000..6000
};

// The decoders are defined here, not out of line: every simulated spin runs them several times.
inline BetCodeParts SplitBetCode(BetCode code) {
  const int number = code % 100;
  return {number, code % 1000 - number, code % 10000 - code % 1000};
}

inline bool HasNumberBet(const BetCodeParts& parts) {
  return parts.number >= 0 && parts.number <= kHighestNumber;
}

// The category named by a part, or false when the part holds no bet (or an unknown value).
inline bool EvenChanceCategory(const BetCodeParts& parts, Category* category) {
  const int index = parts.evenChance / 100;
  if (parts.evenChance % 100 != 0 || index < 1 || index > 6) return false;
  *category = static_cast<Category>(index - 1);
  return true;
}

inline bool DozenColumnCategory(const BetCodeParts& parts, Category* category) {
  const int index = parts.dozenColumn / 1000;
  if (parts.dozenColumn % 1000 != 0 || index < 1 || index > 6) return false;
  *category = static_cast<Category>(static_cast<int>(Category::kFirst) + index - 1);
  return true;
}

inline int ChipCount(BetCode code) {
  const BetCodeParts parts = SplitBetCode(code);
  return (HasNumberBet(parts) ? 1 : 0) + (parts.evenChance != 0 ? 1 : 0) +
         (parts.dozenColumn != 0 ? 1 : 0);
}

}  // namespace wheelwatcher
