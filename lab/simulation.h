// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/money.h"
#include "lab/stake_tally.h"
#include "stats/intervals.h"
#include "stats/summary.h"

namespace wheelwatcher {

struct SimulationSettings {
  std::vector<int> systems;
  int baseStake = 1;
  std::int64_t spinsPerSession = 1000;
  std::int64_t sessions = 10000;
  // A session is ruined when its next advice would take BANK below -bankroll.
  Money bankroll = 1000;
  // A session ends once BANK reaches it.
  std::optional<Money> stopWin;
  std::uint64_t seed = 1;
  int threads = 1;
  // Whether to keep BANK over the spins for a plot.
  bool bankCurves = false;
};

// BANK at chosen spins across sessions (or runs): the middle and the 5 to 95 % band.
struct BankCurve {
  std::vector<std::int64_t> spins;  // the first point is spin 0, before any bet
  std::vector<double> centre;       // the median of sessions, the mean of replay runs
  std::vector<double> mean;         // of sessions (empty for replay runs, whose centre it is)
  std::vector<double> p5;
  std::vector<double> p95;
  // The share of all sessions not yet ruined at each spin (empty for replay runs).
  std::vector<double> playing;
  // How many sessions the band was taken from.
  std::int64_t sampleCount = 0;
};

struct SystemSimulation {
  int systemNumber = 1;
  std::int64_t sessions = 0;
  std::int64_t ruined = 0;
  std::int64_t reachedStopWin = 0;
  std::int64_t spinsPlayed = 0;
  Interval riskOfRuin;  // 95 %
  Summary finalBank;
  Money worstBank = 0;
  Money largestStake = 0;
  StakeTally tally;
  Interval realisedLoss;  // 95 %, as a share of the amount staked
  BankCurve curve;
};

struct SimulationResult {
  SimulationSettings settings;
  std::vector<SystemSimulation> systems;
};

// The sessions of every system on a fair wheel. Session k of every system meets the same wheel
// numbers; each session's draws come from its own seed, so the result does not depend on the
// number of threads. `spinsDone` (may be null) counts the spins planned for finished sessions.
SimulationResult RunSimulation(const SimulationSettings& settings,
                               std::atomic<std::int64_t>* spinsDone);

// How many sessions, and at most how many points, a bank curve is drawn from.
inline constexpr std::int64_t kCurveSessions = 10000;
inline constexpr std::int64_t kCurvePoints = 400;
// The spins at which a curve samples BANK: 0, then up to kCurvePoints evenly up to `spins`.
std::vector<std::int64_t> CurveSpins(std::int64_t spins);

}  // namespace wheelwatcher
