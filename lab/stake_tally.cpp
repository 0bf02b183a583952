// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/stake_tally.h"

#include <algorithm>
#include <cmath>

void StakeTally::AddBet(Money stakedOnSpin, Money wonOnSpin) {
  const auto stake = static_cast<double>(stakedOnSpin);
  const double loss = stake - static_cast<double>(wonOnSpin);
  staked += stake;
  won += static_cast<double>(wonOnSpin);
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

double StakeTally::LossShare() const { return staked > 0 ? (staked - won) / staked : 0; }

double StakeTally::LossShareStandardError() const {
  if (staked <= 0) return 0;
  // The sum of (loss - share x stake)^2 over the bets, expanded.
  const double share = LossShare();
  const double spread = lossSquares - 2 * share * lossTimesStaked + share * share * stakedSquares;
  return std::sqrt(std::max(0.0, spread)) / staked;
}
