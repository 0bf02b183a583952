// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/bet_code.h"
#include "engine/money.h"

namespace wheelwatcher {

// Everything known about the game in progress. Between operations: the bet-code, bank and
// deficit histories are one longer than the spin history and end with the current advice,
// BANK and deficit.
struct TableState {
  std::vector<std::int32_t> spins;  // oldest first
  std::vector<BetCode> betCodes;    // element k is the bet advised for spin k; last = current
  std::vector<Money> bankHistory;   // element 0 = BANK before the first spin
  std::vector<Money> deficitHistory;

  std::int64_t spinCount = 0;
  int baseStake = 1;
  Money bank = 0;
  Money stake = 1;
  int systemNumber = 1;
  Money deficit = 0;
  std::string currencySymbol;
  std::string winMessage = " ";
  bool started = false;
};

}  // namespace wheelwatcher
