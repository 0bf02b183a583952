// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/bet_code.h"
#include "engine/money.h"

namespace wheelwatcher {

class RandomBytes;

inline constexpr int kFirstSystem = 1;
inline constexpr int kLastSystem = 5;

// "SY  KAVRI" (short) or "You are using system KAVRI" (long); "Error" outside 1..5.
std::string GetSystemName(int systemNumber, bool shortName);

// The recovery progression of a system: a win at the resulting stake on a bet paying
// divisor-to-one gains about the deficit plus target base stakes.
double StakeTarget(int systemNumber);
double PayoutDivisor(int systemNumber);
Money StakeForDeficit(int systemNumber, int baseStake, Money deficit);

// The last spin again after four equal spins (from the fifth spin on), else a random number.
int NumberPick(std::span<const std::int32_t> spins, RandomBytes& randomBytes);
// A category index 0..5, always drawn.
int CategoryPick(RandomBytes& randomBytes);
// The next advice of a system; draws in the order number, dozen/column, even chance.
BetCode ChooseBetCode(int systemNumber, Money bank, int baseStake,
                      std::span<const std::int32_t> spins, RandomBytes& randomBytes);

// The stored SYSTEM text as a system number: its leading integer (blanks, optional sign,
// digits), and the first system if that is not 1..5.
int SystemNumberFromStoredText(std::string_view text);

}  // namespace wheelwatcher
