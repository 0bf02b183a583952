// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "lab/simulated_sessions.h"

namespace wheelwatcher {

namespace {

std::vector<Money> Sorted(std::vector<Money> banks) {
  std::sort(banks.begin(), banks.end());
  return banks;
}

// The figures after n spins are the same whether the sessions got there at once, spin by spin,
// by a REWIND, by a REWIND deeper than what is kept, or after an interruption: the window asks
// in all those orders.
TEST(SimulatedSessions, SameFiguresWhateverTheOrderOfTheQuestions) {
  constexpr std::int64_t kSessions = 400;
  const std::atomic<bool> goOn = false;
  for (int system = 1; system <= 5; ++system) {
    SCOPED_TRACE(system);
    const auto fresh = [&](std::int64_t spins) {
      SimulatedSessions sessions(system, 2, kSessions, 99);
      return *sessions.After(spins, goOn);
    };
    SimulatedSessions asked(system, 2, kSessions, 99);
    std::atomic<bool> interrupted = true;
    EXPECT_EQ(asked.After(80, interrupted), nullptr);
    interrupted = false;
    for (const std::int64_t spins : {80, 81, 80, 79, 81, 20, 21, 0, 120}) {
      const SessionDistribution* got = asked.After(spins, goOn);
      ASSERT_NE(got, nullptr);
      const SessionDistribution expected = fresh(spins);
      EXPECT_EQ(got->spins, spins);
      EXPECT_EQ(got->Sessions(), kSessions);
      EXPECT_EQ(Sorted(got->banks), Sorted(expected.banks)) << spins;
      EXPECT_DOUBLE_EQ(got->median, expected.median) << spins;
    }
    // A different seed is a different sample.
    SimulatedSessions other(system, 2, kSessions, 100);
    EXPECT_NE(Sorted(other.After(120, goOn)->banks), Sorted(fresh(120).banks));
  }
}

TEST(SessionDistribution, MedianAndShareAtOrAbove) {
  const struct {
    const char* name;
    std::vector<Money> banks;
    double median;
    Money bank;
    std::int64_t atOrAbove;
  } cases[] = {
      {"odd count", {5, -3, 9}, 5, 5, 2},
      {"even count: between the middle two", {-10, 4, 0, 7}, 2, 8, 0},
      {"ties count at or above", {-1, -1, -1, 3}, -1, -1, 4},
  };
  for (const auto& c : cases) {
    SessionDistribution distribution;
    distribution.banks = c.banks;
    EXPECT_EQ(distribution.AtOrAbove(c.bank), c.atOrAbove) << c.name;
    std::vector<Money> banks = c.banks;
    EXPECT_DOUBLE_EQ(MedianOf(banks), c.median) << c.name;
  }
}

}  // namespace

}  // namespace wheelwatcher
