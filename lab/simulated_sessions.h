// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "engine/money.h"
#include "lab/lab_session.h"
#include "lab/session_random.h"

namespace wheelwatcher {

// Where a session's BANK stands among many sessions that played the same system at the same
// base stake for the same number of spins, each from a fresh table with no limit on its losses.
struct SessionDistribution {
  int systemNumber = 1;
  int baseStake = 1;
  std::int64_t spins = 0;
  std::vector<Money> banks;  // every session's BANK after `spins`, in no particular order
  double median = 0;

  std::int64_t Sessions() const { return static_cast<std::int64_t>(banks.size()); }
  // How many sessions ended with BANK at or above `bank`.
  std::int64_t AtOrAbove(Money bank) const;
};

// The median of at least one BANK; reorders them.
double MedianOf(std::vector<Money>& banks);

// A fixed set of seeded sessions of one system, played forward together: the distribution after
// n spins costs the sessions' spins up to n once, and a few earlier ones are kept, so REWIND and
// the spin after it cost nothing. The same seed gives the same figures whatever the order of
// the requests.
class SimulatedSessions {
 public:
  SimulatedSessions(int systemNumber, int baseStake, std::int64_t sessions, std::uint64_t seed);
  ~SimulatedSessions();

  int SystemNumber() const { return systemNumber_; }
  int BaseStake() const { return baseStake_; }
  // The sessions' BANK after `spins`; null when `interrupted` was raised on the way (the spins
  // played so far are kept for the next call).
  const SessionDistribution* After(std::int64_t spins, const std::atomic<bool>& interrupted);

 private:
  struct Player;
  void Restart();
  void PlayOneSpin();
  void KeepDistribution();

  int systemNumber_;
  int baseStake_;
  std::int64_t sessions_;
  std::uint64_t seed_;
  std::vector<std::unique_ptr<Player>> players_;
  std::int64_t spinsPlayed_ = 0;
  std::deque<SessionDistribution> recent_;  // the newest last
};

// How many sessions the statistics window compares a session with, and their seed: a share of
// them has a standard error of at most 0.5 percentage points.
inline constexpr std::int64_t kComparedSessions = 10000;
inline constexpr std::uint64_t kComparedSessionsSeed = 20261207;

}  // namespace wheelwatcher
