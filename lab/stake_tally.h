// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/money.h"

// The money put down and won back, bet by bet, with what the standard error of the realised loss
// needs. Every bet on the wheel returns 36/37 of its stake on average whatever came before, so
// the bets' deviations from that are uncorrelated and the error is taken over bets, not sessions:
// sound even for one session, and for stakes that depend on the past.
struct StakeTally {
  double staked = 0;
  double won = 0;
  double lossSquares = 0;
  double lossTimesStaked = 0;
  double stakedSquares = 0;

  void AddBet(Money stakedOnSpin, Money wonOnSpin);
  void Add(const StakeTally& other);
  // The loss as a share of the amount staked; 0 when nothing was staked.
  double LossShare() const;
  double LossShareStandardError() const;
};
