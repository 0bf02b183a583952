// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/stake_tally.h"

#include <algorithm>
#include <cmath>

namespace wheelwatcher {

std::string TotalDigits(MoneyTotal total) {
  // Digit by digit from the lowest; the remainders stay negative for a negative total, so even
  // the lowest value needs no negation.
  const bool negative = total < 0;
  std::string digits;
  do {
    const int remainder = static_cast<int>(total % 10);
    digits += static_cast<char>('0' + (remainder < 0 ? -remainder : remainder));
    total /= 10;
  } while (total != 0);
  if (negative) digits += '-';
  return std::string(digits.rbegin(), digits.rend());
}

void StakeTally::AddBet(Money stakedOnSpin, Money wonOnSpin) {
  const auto stake = static_cast<double>(stakedOnSpin);
  const double loss = stake - static_cast<double>(wonOnSpin);
  staked += stakedOnSpin;
  won += wonOnSpin;
  lossSquares += loss * loss;
  lossTimesStaked += loss * stake;
  stakedSquares += stake * stake;
}

void StakeTally::Add(const StakeTally& other) {
  staked += other.staked;
  won += other.won;
  lossSquares += other.lossSquares;
  lossTimesStaked += other.lossTimesStaked;
  stakedSquares += other.stakedSquares;
}

double StakeTally::LossShare() const {
  return staked > 0 ? static_cast<double>(staked - won) / static_cast<double>(staked) : 0;
}

double StakeTally::LossShareStandardError() const {
  if (staked <= 0) return 0;
  // The sum of (loss - share x stake)^2 over the bets, expanded.
  const double share = LossShare();
  const double spread = lossSquares - 2 * share * lossTimesStaked + share * share * stakedSquares;
  return std::sqrt(std::max(0.0, spread)) / static_cast<double>(staked);
}

}  // namespace wheelwatcher
