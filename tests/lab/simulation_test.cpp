// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lab/lab_report.h"
#include "lab/replay.h"

namespace wheelwatcher {

namespace {

SimulationSettings SmallSimulation() {
  SimulationSettings settings;
  settings.systems = {1, 2, 3, 4, 5};
  settings.spinsPerSession = 300;
  settings.sessions = 500;
  settings.bankroll = 200;
  settings.seed = 7;
  settings.bankCurves = true;
  return settings;
}

// Each session owns its seed: the threads change nothing, the seed changes everything.
TEST(Simulation, SameSeedSameResultWhateverTheThreads) {
  SimulationSettings settings = SmallSimulation();
  settings.threads = 1;
  const SimulationResult one = RunSimulation(settings, nullptr);
  settings.threads = 3;
  const SimulationResult three = RunSimulation(settings, nullptr);
  EXPECT_EQ(SimulationJson(one), SimulationJson(three));
  EXPECT_EQ(SimulationCsv(one), SimulationCsv(three));
  for (std::size_t s = 0; s < one.systems.size(); ++s) {
    EXPECT_EQ(one.systems[s].curve.centre, three.systems[s].curve.centre);
    EXPECT_EQ(one.systems[s].curve.p5, three.systems[s].curve.p5);
  }
  settings.seed = 8;
  EXPECT_NE(SimulationJson(RunSimulation(settings, nullptr)), SimulationJson(one));
}

TEST(Simulation, RuinStopsABetTheBankrollCannotCover) {
  const SimulationSettings settings = SmallSimulation();
  std::atomic<std::int64_t> spinsDone{0};
  const SimulationResult result = RunSimulation(settings, &spinsDone);
  EXPECT_EQ(spinsDone, 5 * settings.sessions * settings.spinsPerSession);
  for (const SystemSimulation& system : result.systems) {
    SCOPED_TRACE(system.systemNumber);
    EXPECT_GT(system.ruined, 0);
    EXPECT_GE(system.worstBank, -settings.bankroll);
    EXPECT_GE(system.finalBank.min, -static_cast<double>(settings.bankroll));
    EXPECT_LT(system.spinsPlayed, settings.sessions * settings.spinsPerSession);
    EXPECT_LE(system.riskOfRuin.low, static_cast<double>(system.ruined) / settings.sessions);
    EXPECT_GE(system.riskOfRuin.high, static_cast<double>(system.ruined) / settings.sessions);
    // The band holds the median, and a stopped session keeps its BANK to the end of the curve.
    const BankCurve& curve = system.curve;
    ASSERT_EQ(curve.spins.size(), 301u);
    EXPECT_EQ(curve.spins.back(), 300);
    EXPECT_EQ(curve.centre.front(), 0);
    for (std::size_t i = 0; i < curve.spins.size(); ++i) {
      EXPECT_LE(curve.p5[i], curve.centre[i]);
      EXPECT_LE(curve.centre[i], curve.p95[i]);
    }
    // The share still playing starts whole, never grows, and ends at the share not ruined; the
    // mean line ends at the final BANK's mean.
    ASSERT_EQ(curve.playing.size(), curve.spins.size());
    EXPECT_EQ(curve.playing.front(), 1.0);
    EXPECT_TRUE(std::is_sorted(curve.playing.rbegin(), curve.playing.rend()));
    EXPECT_DOUBLE_EQ(curve.playing.back(), 1.0 - static_cast<double>(system.ruined) /
                                                     static_cast<double>(settings.sessions));
    ASSERT_EQ(curve.mean.size(), curve.spins.size());
    EXPECT_NEAR(curve.mean.back(), system.finalBank.mean, 1e-9);
  }
}

// The bankroll covers a bet that takes BANK to exactly -bankroll, and none beyond it: every
// system's worst BANK is the edge itself.
TEST(Simulation, RuinEdgeIsExactlyMinusTheBankroll) {
  for (const int system : {1, 2, 3, 4, 5}) {
    SCOPED_TRACE(system);
    SimulationSettings settings = SmallSimulation();
    settings.systems = {system};
    settings.bankroll = 10;
    settings.sessions = 2000;
    const SystemSimulation result = RunSimulation(settings, nullptr).systems[0];
    EXPECT_GT(result.ruined, 0);
    EXPECT_EQ(result.worstBank, -10);
  }
}

TEST(Simulation, StopWinEndsSessionsAtTheTarget) {
  SimulationSettings settings = SmallSimulation();
  settings.systems = {2};
  settings.stopWin = 5;
  const SimulationResult result = RunSimulation(settings, nullptr);
  const SystemSimulation& system = result.systems[0];
  EXPECT_GT(system.reachedStopWin, 0);
  // MODENT wins back its deficit plus a quarter stake on each win, so a winning session stops at
  // exactly 5 or 6.
  EXPECT_LE(system.finalBank.max, 6);
  // The others play every spin.
  EXPECT_GE(system.spinsPlayed,
            (settings.sessions - system.reachedStopWin - system.ruined) * settings.spinsPerSession);
}

TEST(Replay, RunsOwnTheirSeedsAndTheBandLiesAboveTheWorst) {
  ReplaySettings settings;
  settings.systems = {1, 4};
  settings.runs = 40;
  settings.seed = 3;
  const std::vector<std::int32_t> spins = {17, 0, 3, 3, 3, 3, 3, 21, 36, 1, 2, 14};
  settings.threads = 1;
  const ReplayResult one = RunReplay(settings, "evening.txt", spins, std::nullopt, nullptr);
  settings.threads = 2;
  std::atomic<std::int64_t> spinsDone{0};
  const ReplayResult two = RunReplay(settings, "evening.txt", spins, std::nullopt, &spinsDone);
  EXPECT_EQ(spinsDone, 2 * 40 * 12);
  EXPECT_EQ(ReplayJson(settings, {one}), ReplayJson(settings, {two}));
  for (const SystemReplay& system : one.systems) {
    ASSERT_EQ(system.afterSpin.size(), spins.size());
    for (const ReplayStep& step : system.afterSpin) {
      EXPECT_LE(static_cast<double>(step.worstBank), step.p5Bank);
      EXPECT_LE(step.p5Bank, step.p95Bank);
      EXPECT_GE(step.meanBank, static_cast<double>(step.worstBank));
    }
    // After four 3s in a row every run bets on 3 for the fifth, and wins 36 stakes on it.
    EXPECT_GT(system.afterSpin[6].meanBank, system.afterSpin[5].meanBank + 30);
    EXPECT_DOUBLE_EQ(system.finalBank.mean, system.afterSpin.back().meanBank);
  }
}

}  // namespace

}  // namespace wheelwatcher
