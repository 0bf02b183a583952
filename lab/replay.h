// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/money.h"
#include "lab/simulation.h"
#include "lab/spin_file.h"
#include "lab/stake_tally.h"
#include "stats/summary.h"

namespace wheelwatcher {

struct ReplaySettings {
  std::vector<int> systems;
  int baseStake = 1;
  // The systems draw at random, so the same spins are played this many times, each run with
  // draws of its own.
  int runs = 100;
  std::uint64_t seed = 1;
  int threads = 1;
};

// After one spin, across the runs.
struct ReplayStep {
  double meanBank = 0;
  double p5Bank = 0;
  double p95Bank = 0;
  Money worstBank = 0;  // the lowest BANK of any run
  Money largestDeficit = 0;
  Money largestStake = 0;  // the largest STAKE any run asks for the next spin
};

struct SystemReplay {
  int systemNumber = 1;
  std::vector<ReplayStep> afterSpin;
  Summary finalBank;  // over the runs
  Money worstBank = 0;
  Money largestDeficit = 0;
  Money largestStake = 0;
  StakeTally tally;  // all runs together
};

struct ReplayResult {
  std::string file;
  std::vector<std::int32_t> spins;
  std::vector<SystemReplay> systems;
};

// The spins through every chosen system, `runs` times each. Run k of a system draws from its own
// seed, so the result does not depend on the number of threads; the system and base stake a
// journal recorded draw what it recorded instead, so every run is the session the window showed.
// `spinsDone` (may be null) counts the spins played.
ReplayResult RunReplay(const ReplaySettings& settings, std::string file,
                       std::vector<std::int32_t> spins, const std::optional<RecordedPlay>& recorded,
                       std::atomic<std::int64_t>* spinsDone);

// BANK over the spins: the mean of the runs and their 5 to 95 % band.
BankCurve ReplayCurve(const SystemReplay& replay, int runs);

}  // namespace wheelwatcher
