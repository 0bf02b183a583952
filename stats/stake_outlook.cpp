// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/stake_outlook.h"

#include "engine/bet_code.h"
#include "engine/table_state.h"
#include "systems/betting_systems.h"
#include "systems/random_bytes.h"

namespace wheelwatcher {

namespace {
// Which number or category a system draws does not change how many chips it bets, which
// depends on BANK alone; any fixed draw will do.
class FixedRandomBytes : public RandomBytes {
 public:
  std::uint8_t NextByte() override { return 0; }
};
}  // namespace

std::array<Money, 4> StakesIfLosing(const TableState& table) {
  FixedRandomBytes draws;
  std::array<Money, 4> stakes{};
  Money stake = table.stake;
  Money bank = table.bank;
  Money deficit = table.deficit;
  BetCode code = table.betCodes.empty() ? kNoNumber : table.betCodes.back();
  for (Money& next : stakes) {
    next = stake;
    // The system's own rules: everything staked is lost, then the next bet and its stake.
    const Money lost = SaturatingMultiply(ChipCount(code), stake);
    bank = SaturatingSubtract(bank, lost);
    deficit = SaturatingAdd(deficit, lost);
    code = ChooseBetCode(table.systemNumber, bank, table.baseStake, {}, draws);
    stake = StakeForDeficit(table.systemNumber, table.baseStake, deficit);
  }
  return stakes;
}

}  // namespace wheelwatcher
