// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "engine/bet_code.h"
#include "engine/money.h"
#include "engine/settlement.h"

namespace wheelwatcher {

class RandomBytes;

// One player following one system from a fresh table, spin by spin, by the window's own rules:
// the same settlement, bet choice and stake progression, in the order the window runs them. It
// keeps only what those rules read, so a spin costs no allocation and builds no text.
class LabSession {
 public:
  // Chooses the first advice, as the window does at start-up.
  LabSession(int systemNumber, int baseStake, RandomBytes& randomBytes);

  // Settles the advice at STAKE on the number, credits the win, then chooses the next advice and
  // its STAKE.
  void EnterSpin(int number);

  BetCode Advice() const { return advice_; }
  Money Stake() const { return stake_; }
  // What placing the advice takes out of BANK.
  Money AdviceCost() const;
  Money Bank() const { return money_.bank; }
  Money Deficit() const { return money_.deficit; }
  // The last spin's money: what was placed and what came back.
  Money LastStaked() const { return lastStaked_; }
  Money LastWon() const { return lastWon_; }

 private:
  int systemNumber_;
  int baseStake_;
  RandomBytes& randomBytes_;
  BankAndDeficit money_;
  BetCode advice_ = kNoNumber;
  Money stake_;
  Money lastStaked_ = 0;
  Money lastWon_ = 0;
  // The newest spins, oldest first: the systems look back at most five.
  static constexpr std::size_t kRecent = 5;
  std::array<std::int32_t, kRecent> recent_{};
  std::size_t recentCount_ = 0;
};

}  // namespace wheelwatcher
