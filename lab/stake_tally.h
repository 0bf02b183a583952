// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "engine/money.h"

namespace wheelwatcher {

// Sums of money over every bet of a run: up to 10^13 bets of up to 2^63 each, which neither a
// double (exact only to 2^53) nor a Money holds.
__extension__ typedef __int128 MoneyTotal;

// The exact digits of a total: "-170141183460469231731687303715884105728".
std::string TotalDigits(MoneyTotal total);

// The money put down and won back, bet by bet, with what the standard error of the realised loss
// needs. Every bet on the wheel returns 36/37 of its stake on average whatever came before, so
// the bets' deviations from that are uncorrelated and the error is taken over bets, not sessions:
// sound even for one session, and for stakes that depend on the past.
struct StakeTally {
  MoneyTotal staked = 0;
  MoneyTotal won = 0;
  double lossSquares = 0;
  double lossTimesStaked = 0;
  double stakedSquares = 0;

  void AddBet(Money stakedOnSpin, Money wonOnSpin);
  void Add(const StakeTally& other);
  // The loss as a share of the amount staked; 0 when nothing was staked.
  double LossShare() const;
  double LossShareStandardError() const;
};

}  // namespace wheelwatcher
