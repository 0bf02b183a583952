// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_session.h"

#include <algorithm>
#include <span>

#include "systems/betting_systems.h"

namespace wheelwatcher {

LabSession::LabSession(int systemNumber, int baseStake, RandomBytes& randomBytes)
    : systemNumber_(systemNumber),
      baseStake_(baseStake),
      randomBytes_(randomBytes),
      stake_(baseStake) {
  advice_ = ChooseBetCode(systemNumber_, money_.bank, baseStake_, {}, randomBytes_);
}

Money LabSession::AdviceCost() const { return SaturatingMultiply(ChipCount(advice_), stake_); }

void LabSession::EnterSpin(int number) {
  const BankAndDeficit staked = AfterStaking(money_, advice_, stake_);
  lastStaked_ = AdviceCost();
  lastWon_ = Winnings(PayoutUnitsOn(advice_, number), stake_);
  money_ = AfterWinning(staked, lastWon_);

  if (recentCount_ == kRecent) {
    std::shift_left(recent_.begin(), recent_.end(), 1);
    --recentCount_;
  }
  recent_[recentCount_++] = number;
  // The window keeps every spin; the four-repeat rule only asks whether there are at least five.
  advice_ =
      ChooseBetCode(systemNumber_, money_.bank, baseStake_,
                    std::span<const std::int32_t>(recent_.data(), recentCount_), randomBytes_);
  stake_ = StakeForDeficit(systemNumber_, baseStake_, money_.deficit);
}

}  // namespace wheelwatcher
