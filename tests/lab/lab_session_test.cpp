// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "lab/simulation.h"
#include "tests/core/tracker_test_support.h"

namespace wheelwatcher {

namespace {

// Spins with the shapes the rules care about: runs of five or more equal numbers (the
// four-repeat rule), and a long stretch of mostly zeros, where every outside chip loses and
// BANK falls below the limits of systems 4 and 5.
std::vector<int> EveningOfSpins(unsigned seed, int count) {
  std::mt19937 random(seed);
  std::vector<int> spins;
  while (static_cast<int>(spins.size()) < count) {
    const int number = static_cast<int>(random() % 37);
    if (spins.size() >= 1000 && spins.size() < 1300) {
      spins.insert(spins.end(), {0, 0, 0, number});
      continue;
    }
    const int repeat = random() % 50 == 0 ? 5 + static_cast<int>(random() % 3) : 1;
    spins.insert(spins.end(), static_cast<std::size_t>(repeat), number);
  }
  spins.resize(static_cast<std::size_t>(count));
  return spins;
}

// The window's tracker and the lab's session get the same spins and the same random bytes; BANK,
// deficit, STAKE and the advice must agree after every spin.
TEST(LabSession, AgreesWithTheWindowSpinBySpin) {
  constexpr int kSpins = 3000;
  for (int system = 1; system <= 5; ++system) {
    for (const int baseStake : {1, 4}) {
      SCOPED_TRACE("system " + std::to_string(system) + ", base stake " +
                   std::to_string(baseStake));
      std::mt19937 byteSource(static_cast<unsigned>(system * 100 + baseStake));
      std::vector<int> bytes(kSpins * 3 + 3);
      for (int& b : bytes) b = static_cast<int>(byteSource() % 256);

      FakeTrackerWindow window;
      ScriptedRandomBytes trackerBytes;
      for (int b : bytes) trackerBytes.Add({b});
      SpinTracker tracker(window, trackerBytes);
      tracker.Start("$", std::to_string(system), "V 5.004");
      // The base stake is chosen with the STAKE button, as a player does.
      for (int press = 0; press < baseStake; ++press) tracker.OnStakeButton();
      ASSERT_EQ(tracker.State().baseStake, baseStake);

      ScriptedRandomBytes labBytes;
      for (int b : bytes) labBytes.Add({b});
      LabSession session(system, baseStake, labBytes);
      ASSERT_EQ(session.Advice(), tracker.State().betCodes.back());

      Money lowestBank = 0;
      const std::vector<int> spins = EveningOfSpins(static_cast<unsigned>(system), kSpins);
      for (std::size_t i = 0; i < spins.size(); ++i) {
        tracker.EnterSpin(spins[i]);
        session.EnterSpin(spins[i]);
        const TableState& state = tracker.State();
        ASSERT_EQ(session.Bank(), state.bank) << "after spin " << i + 1;
        ASSERT_EQ(session.Deficit(), state.deficit) << "after spin " << i + 1;
        ASSERT_EQ(session.Stake(), state.stake) << "after spin " << i + 1;
        ASSERT_EQ(session.Advice(), state.betCodes.back()) << "after spin " << i + 1;
        ASSERT_EQ(labBytes.draws, trackerBytes.draws) << "after spin " << i + 1;
        lowestBank = std::min(lowestBank, session.Bank());
      }
      // The evening reached the BANK where systems 4 and 5 drop their outside chips.
      EXPECT_LT(lowestBank, -60 * baseStake);
    }
  }
}

// Every bet returns 36/37 of its stake on average, whatever the system; over ten million spins a
// wrong payout or settlement shows as a realised edge far from 1/37.
TEST(Simulation, RealisedEdgeIsTheHouseEdge) {
  SimulationSettings settings;
  settings.systems = {1, 2, 3, 4, 5};
  // Short sessions and a bankroll keep the stakes, and so the spread of the loss, bounded;
  // enough sessions that even TRAVO, most often ruined, plays ten million spins.
  settings.spinsPerSession = 100;
  settings.sessions = 135000;
  settings.bankroll = 1000;
  settings.seed = 20261207;
  settings.threads = 2;
  const SimulationResult result = RunSimulation(settings, nullptr);
  for (const SystemSimulation& system : result.systems) {
    SCOPED_TRACE("system " + std::to_string(system.systemNumber));
    EXPECT_GE(system.spinsPlayed, 10000000);
    const double error = system.tally.LossShareStandardError();
    ASSERT_GT(error, 0);
    EXPECT_LT(std::fabs(system.tally.LossShare() - 1.0 / 37), 4 * error)
        << "realised " << system.tally.LossShare() << ", standard error " << error;
    // The interval is narrow enough to tell a fault: a payout one unit short costs a straight-up
    // bet another 1/37.
    EXPECT_LT(4 * error, 1.0 / 37);
  }
}

}  // namespace

}  // namespace wheelwatcher
