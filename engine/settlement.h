// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/bet_code.h"
#include "engine/money.h"

namespace wheelwatcher {

// The money of the advised bets: BANK and the deficit still to be won back. The window and the
// lab both move it with these functions only, so they cannot disagree on a payout.
struct BankAndDeficit {
  Money bank = 0;
  Money deficit = 0;
};

// Every chip of the code placed at the stake: out of BANK, into the deficit.
BankAndDeficit AfterStaking(BankAndDeficit before, BetCode code, Money stake);
// What the code's chips returned on the number, in stakes, the winning chips included: 0, 2, 3,
// 5, 36, 38, 39 or 41.
int PayoutUnitsOn(BetCode code, int number);
// The money the units return at the stake.
Money Winnings(int units, Money stake);
// The money won goes into BANK and wins back the deficit as far as it reaches.
BankAndDeficit AfterWinning(BankAndDeficit before, Money won);

}  // namespace wheelwatcher
