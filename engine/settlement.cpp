// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settlement.h"

#include <cstdint>
#include <span>

#include "engine/category_tallies.h"

namespace wheelwatcher {

BankAndDeficit AfterStaking(BankAndDeficit before, BetCode code, Money stake) {
  const Money staked = SaturatingMultiply(ChipCount(code), stake);
  return {SaturatingSubtract(before.bank, staked), SaturatingAdd(before.deficit, staked)};
}

int PayoutUnitsOn(BetCode code, int number) {
  // The payout routines answer for the last spin of a history; here that history is the number.
  const std::int32_t spin = number;
  const std::span<const std::int32_t> lastSpin(&spin, 1);
  const BetCodeParts parts = SplitBetCode(code);
  int units = 0;
  Category category;
  if (EvenChanceCategory(parts, &category)) {
    units += static_cast<int>(CategorySpins(category, CategoryMode::kPayout, lastSpin));
  }
  if (DozenColumnCategory(parts, &category)) {
    units += static_cast<int>(CategorySpins(category, CategoryMode::kPayout, lastSpin));
  }
  return units + NumberPayout(parts.number, lastSpin);
}

Money Winnings(int units, Money stake) { return SaturatingMultiply(units, stake); }

BankAndDeficit AfterWinning(BankAndDeficit before, Money won) {
  return {SaturatingAdd(before.bank, won), won < before.deficit ? before.deficit - won : 0};
}

}  // namespace wheelwatcher
