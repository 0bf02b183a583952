// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics against answers worked out independently: reference figures from SciPy 1.10.1
// (Debian's python3-scipy: scipy.special.gammaincc and scipy.stats.chi2.sf), run chances from a
// step-by-step dynamic programme written separately in Python and from enumerating every
// sequence, and a session followed incrementally against the same session rebuilt from scratch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "engine/category_tallies.h"
#include "engine/table_state.h"
#include "stats/chi_square.h"
#include "stats/run_chance.h"
#include "stats/session_statistics.h"
#include "stats/stake_outlook.h"
#include "tracker_test_support.h"

namespace wheelwatcher {

namespace {

TEST(ChiSquare, UpperGammaMatchesReferenceValues) {
  // (a, x, Q(a, x)) from scipy.special.gammaincc; both expansions and tiny tails are covered.
  // Judged in machine epsilons: 512, as a = 100, x = 150 loses some 250 in the exponential
  // (chi_square_oracle_test.cpp bounds the error everywhere).
  const struct {
    double a, x, expected;
  } cases[] = {
      {0.5, 0.1, 0.6547208460185768},    {1, 1, 0.36787944117144245},
      {3.5, 2, 0.779777408475716},       {18, 10, 0.9857223864029503},
      {18, 18, 0.46864766955533643},     {18, 30, 0.007270216205189685},
      {18, 60, 5.7646522304558096e-11},  {50, 20, 0.9999999875410739},
      {100, 150, 5.924540335483916e-06}, {2.5, 40, 8.391825114831597e-16},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(RegularizedUpperGamma(c.a, c.x), c.expected,
                c.expected * 512 * std::numeric_limits<double>::epsilon())
        << "a=" << c.a << " x=" << c.x;
  }
  EXPECT_EQ(RegularizedUpperGamma(18, 0), 1.0);
  EXPECT_EQ(RegularizedUpperGamma(18, std::numeric_limits<double>::infinity()), 0.0);
  EXPECT_TRUE(std::isnan(RegularizedUpperGamma(0, 1)));
  EXPECT_TRUE(std::isnan(RegularizedUpperGamma(18, -1)));
}

TEST(ChiSquare, PValueWith36DegreesOfFreedomMatchesTable) {
  // scipy.stats.chi2.sf(statistic, 36); 50.998 is the textbook 5 % critical value.
  const struct {
    double statistic, expected;
  } cases[] = {{20, 0.9857223864029503},
               {36, 0.46864766955533643},
               {50.998, 0.05000444239967348},
               {100, 6.179530653967975e-08},
               {150, 7.284865037265601e-16}};
  for (const auto& c : cases) {
    EXPECT_NEAR(ChiSquarePValue(c.statistic, 36), c.expected,
                c.expected * 512 * std::numeric_limits<double>::epsilon())
        << c.statistic;
  }
}

// For every length, the chance of a run at least that long in `spins` spins, by enumerating
// every sequence of group outcomes (category 0..m-1, or none) weighted by its probability.
std::vector<double> EnumeratedRunChances(int categories, double p, int spins) {
  const int none = categories;
  std::vector<double> longestIs(static_cast<std::size_t>(spins) + 1, 0.0);
  std::vector<int> sequence(static_cast<std::size_t>(spins), 0);
  std::function<void(int, double)> walk = [&](int position, double weight) {
    if (position == spins) {
      int run = 0;
      int longest = 0;
      for (int i = 0; i < spins; ++i) {
        const int outcome = sequence[static_cast<std::size_t>(i)];
        if (outcome == none) {
          run = 0;
        } else {
          run = (i > 0 && sequence[static_cast<std::size_t>(i - 1)] == outcome) ? run + 1 : 1;
        }
        longest = std::max(longest, run);
      }
      longestIs[static_cast<std::size_t>(longest)] += weight;
      return;
    }
    for (int outcome = 0; outcome <= none; ++outcome) {
      sequence[static_cast<std::size_t>(position)] = outcome;
      walk(position + 1, weight * (outcome == none ? 1 - categories * p : p));
    }
  };
  walk(0, 1.0);
  // At least `length`: the sum over longest runs from `length` up.
  std::vector<double> atLeast(static_cast<std::size_t>(spins) + 2, 0.0);
  for (int length = spins; length >= 0; --length) {
    atLeast[static_cast<std::size_t>(length)] =
        atLeast[static_cast<std::size_t>(length) + 1] + longestIs[static_cast<std::size_t>(length)];
  }
  return atLeast;
}

TEST(RunChance, ExactForEverySmallCase) {
  for (int categories : {2, 3}) {
    const double p = categories == 2 ? 18.0 / 37 : 12.0 / 37;
    RunChance chance(categories, p);
    for (int spins = 1; spins <= 9; ++spins) {
      const std::vector<double> enumerated = EnumeratedRunChances(categories, p, spins);
      for (int length = 1; length <= spins + 1; ++length) {
        // The enumeration sums up to 4^9 terms and carries their rounding.
        EXPECT_NEAR(chance.AtLeast(length, spins), enumerated[static_cast<std::size_t>(length)],
                    1e-11)
            << categories << " categories, run " << length << " in " << spins;
      }
      // Two closed forms: any run at all unless every spin is zero; every spin in one category.
      EXPECT_NEAR(chance.AtLeast(1, spins), 1 - std::pow(1.0 / 37, spins), 1e-15);
      EXPECT_NEAR(chance.AtLeast(spins, spins), categories * std::pow(p, spins),
                  1e-14 * categories * std::pow(p, spins));
    }
  }
}

TEST(RunChance, MatchesSeparateProgrammeForLongSessions) {
  // From a step-by-step dynamic programme over the run length, written separately in Python.
  const struct {
    int categories, length;
    std::int64_t spins;
    double expected;
  } cases[] = {{2, 7, 100, 0.48157388587136213},     {2, 10, 300, 0.20088014410072114},
               {3, 5, 300, 0.8925196326709935},      {3, 8, 1000, 0.2188442295820543},
               {2, 20, 100000, 0.05504125253733544}, {3, 12, 100000, 0.24006696553330473}};
  RunChance colours(2, 18.0 / 37);
  RunChance dozens(3, 12.0 / 37);
  for (const auto& c : cases) {
    RunChance& chance = c.categories == 2 ? colours : dozens;
    EXPECT_NEAR(chance.AtLeast(c.length, c.spins), c.expected, c.expected * 1e-9)
        << c.length << " in " << c.spins;
  }
  // A run far beyond any chance answers with a bound that small, not with a huge matrix.
  EXPECT_LT(colours.AtLeast(5000, 100000), 1e-12);
}

// A table with these spins and no bets at all.
TableState TableOfSpins(const std::vector<std::int32_t>& spins) {
  TableState table;
  table.spins = spins;
  table.betCodes.assign(spins.size() + 1, kNoNumber);
  table.bankHistory.assign(spins.size() + 1, 0);
  table.deficitHistory.assign(spins.size() + 1, 0);
  table.spinCount = static_cast<std::int64_t>(spins.size());
  return table;
}

TEST(SessionStatistics, ChiSquareOfKnownCounts) {
  // 370 spins: five numbers 16 times, five 4 times, the rest 10 times: chi-square 36 exactly.
  std::vector<std::int32_t> spins;
  for (int number = 0; number < kWheelNumbers; ++number) {
    const int count = number < 5 ? 16 : number < 10 ? 4 : 10;
    spins.insert(spins.end(), static_cast<std::size_t>(count), number);
  }
  SessionStatistics statistics;
  statistics.Sync(TableOfSpins(spins));
  EXPECT_DOUBLE_EQ(statistics.ExpectedNumberCount(), 10.0);
  EXPECT_NEAR(statistics.ChiSquare(), 36.0, 1e-9);
  EXPECT_NEAR(statistics.ChiSquarePValue(), 0.46864766955533643, 1e-12);
  EXPECT_EQ(statistics.NumberCount(0), 16);
  EXPECT_EQ(statistics.CategoryCount(Category::kFirst), 4 * 16 + 5 * 4 + 3 * 10);  // 1..12

  // Every number once: a perfect fit.
  std::vector<std::int32_t> once(kWheelNumbers);
  for (int number = 0; number < kWheelNumbers; ++number)
    once[static_cast<std::size_t>(number)] = number;
  statistics.Sync(TableOfSpins(once));
  EXPECT_EQ(statistics.Spins(), kWheelNumbers);
  EXPECT_NEAR(statistics.ChiSquare(), 0.0, 1e-9);
  EXPECT_NEAR(statistics.ChiSquarePValue(), 1.0, 1e-12);
}

TEST(SessionStatistics, PayoutVarianceOfEachKindOfBet) {
  const struct {
    BetCode code;
    double variance;  // worked out by hand over the 37 numbers, in units squared
  } cases[] = {{kNoNumber, 0.0},
               {144, 1368.0 / 1369},    // one even chance: 2 units on 18 of 37
               {17, 46656.0 / 1369},    // straight up: 36 units on 1 of 37
               {1044, 2700.0 / 1369}};  // a dozen: 3 units on 12 of 37
  for (const auto& c : cases) EXPECT_NEAR(PayoutUnitVariance(c.code), c.variance, 1e-12) << c.code;
  // Right, Low and 17 together: enumerate by hand the units on every number.
  double sum = 0, squares = 0;
  for (int n = 0; n < kWheelNumbers; ++n) {
    const double units =
        (n != 0 && n % 3 == 0 ? 3 : 0) + (n >= 1 && n <= 18 ? 2 : 0) + (n == 17 ? 36 : 0);
    EXPECT_EQ(PayoutUnitsOn(6617, n), units) << n;
    sum += units;
    squares += units * units;
  }
  EXPECT_NEAR(PayoutUnitVariance(6617), squares / 37 - (sum / 37) * (sum / 37), 1e-12);
}

TEST(SessionStatistics, MoneyOfAPlayedSession) {
  // MODENT, base stake 1: Reds, Blacks, Odds, Evens drawn in turn.
  TrackerFixture f("2", {0});
  SessionStatistics statistics;
  f.bytes.Add({1});
  f.tracker.EnterSpin(7);  // Reds wins at 1: BANK 1
  f.bytes.Add({2});
  f.tracker.EnterSpin(0);  // Blacks loses at 1: BANK 0, deficit 1
  f.bytes.Add({3});
  f.tracker.EnterSpin(20);  // Odds loses at 2: BANK -2, deficit 3
  statistics.Sync(f.State());

  EXPECT_EQ(statistics.Spins(), 3);
  EXPECT_EQ(statistics.TotalStaked(), 4);
  EXPECT_EQ(statistics.TotalStakedAfter(1), 1);
  EXPECT_EQ(statistics.TotalStakedAfter(2), 2);
  EXPECT_EQ(statistics.Result(), -2);
  EXPECT_DOUBLE_EQ(statistics.ExpectedLoss(), 4.0 / 37);
  const double deviation = std::sqrt((1 + 1 + 4) * 1368.0 / 1369);
  EXPECT_NEAR(statistics.StandardDeviation(), deviation, 1e-12);
  EXPECT_NEAR(statistics.DeviationFromExpected(), (-2 + 4.0 / 37) / deviation, 1e-12);
  EXPECT_EQ(statistics.LargestStake(), 2);
  // STAKE 4 now; each loss doubles the deficit plus one.
  EXPECT_EQ(StakesIfLosing(f.State()), (std::array<Money, 4>{4, 8, 16, 32}));

  f.tracker.Rewind();
  statistics.Sync(f.State());
  EXPECT_EQ(statistics.TotalStaked(), 2);
  EXPECT_EQ(statistics.Result(), 0);
  EXPECT_EQ(statistics.LargestStake(), 1);
  EXPECT_EQ(StakesIfLosing(f.State()), (std::array<Money, 4>{2, 4, 8, 16}));
}

TEST(SessionStatistics, StakedMoneySaturatesInsteadOfWrapping) {
  // A deficit so deep that every STAKE is near the limit: the total pins at the largest amount.
  TableState table = TableOfSpins({5, 5, 5});
  const Money huge = std::numeric_limits<Money>::max() / 2;
  table.systemNumber = 2;
  table.betCodes.assign(4, 6644);  // two chips: Right and Low
  table.deficitHistory = {0, huge, huge, huge};
  table.bankHistory = {0, -huge, std::numeric_limits<Money>::min(),
                       std::numeric_limits<Money>::min()};
  SessionStatistics statistics;
  statistics.Sync(table);
  EXPECT_EQ(statistics.TotalStakedAfter(1), 2);
  EXPECT_EQ(statistics.TotalStaked(), std::numeric_limits<Money>::max());
  EXPECT_GT(statistics.ExpectedLoss(), 0.0);
  EXPECT_NEAR(statistics.ExpectedLoss(),
              static_cast<double>(std::numeric_limits<Money>::max()) / 37, 1e3);
  EXPECT_TRUE(std::isfinite(statistics.DeviationFromExpected()));
}

// Draws from a seeded engine, so a long session needs no script.
class SeededBytes : public RandomBytes {
 public:
  std::uint8_t NextByte() override { return static_cast<std::uint8_t>(engine_() & 0xFF); }

 private:
  std::minstd_rand engine_{99};
};

// The longest run of a group straight from the spins, the way a person would count it.
int LongestRunByScan(const std::vector<std::int32_t>& spins, const std::vector<Category>& group) {
  int longest = 0, run = 0, previous = -1;
  for (std::int32_t number : spins) {
    int current = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (IsInCategory(number, group[i])) current = static_cast<int>(i);
    }
    run = current < 0 ? 0 : (current == previous ? run + 1 : 1);
    previous = current;
    longest = std::max(longest, run);
  }
  return longest;
}

TEST(SessionStatistics, FollowsSpinsRewindsAndClearsLikeARebuild) {
  for (int system = 1; system <= 5; ++system) {
    FakeTrackerWindow window;
    SeededBytes bytes;
    SpinTracker tracker(window, bytes);
    tracker.Start("$", std::to_string(system), "");
    SessionStatistics live;
    std::minstd_rand actions(system);
    for (int step = 0; step < 3000; ++step) {
      const unsigned action = actions() % 100;
      if (action < 20) {
        tracker.Rewind();
      } else if (action == 20) {
        tracker.ClearAll();
      } else {
        tracker.EnterSpin(static_cast<int>(actions() % 37));
      }
      live.Sync(tracker.State());
      if (step % 97 != 0) continue;

      SessionStatistics rebuilt;
      rebuilt.Sync(tracker.State());
      const TableState& table = tracker.State();
      ASSERT_EQ(live.Spins(), static_cast<std::int64_t>(table.spins.size()));
      EXPECT_EQ(live.Result(), table.bank);
      EXPECT_EQ(live.TotalStaked(), rebuilt.TotalStaked());
      EXPECT_EQ(live.LargestStake(), rebuilt.LargestStake());
      EXPECT_NEAR(live.StandardDeviation(), rebuilt.StandardDeviation(), 1e-6);
      EXPECT_NEAR(live.ChiSquare(), rebuilt.ChiSquare(), 1e-6);
      for (int number = 0; number < kWheelNumbers; ++number) {
        EXPECT_EQ(live.NumberCount(number),
                  std::count(table.spins.begin(), table.spins.end(), number));
      }
      EXPECT_EQ(live.CategoryCount(Category::kReds),
                CategorySpins(Category::kReds, CategoryMode::kTally, table.spins));
      EXPECT_EQ(live.Longest(RunGroup::kColour).length,
                LongestRunByScan(table.spins, {Category::kReds, Category::kBlacks}));
      EXPECT_EQ(
          live.Longest(RunGroup::kDozen).length,
          LongestRunByScan(table.spins, {Category::kFirst, Category::kSecond, Category::kThird}));
      EXPECT_EQ(
          live.Longest(RunGroup::kColumn).length,
          LongestRunByScan(table.spins, {Category::kLeft, Category::kMiddle, Category::kRight}));
    }
  }
}

TEST(SessionStatistics, LongestRunNamesItsCategoryAndItsChance) {
  SessionStatistics statistics;
  statistics.Sync(TableOfSpins({2, 4, 0, 1, 3, 5, 7, 28}));
  EXPECT_EQ(statistics.Longest(RunGroup::kColour).length, 4);  // 1, 3, 5, 7 are red
  EXPECT_EQ(statistics.Longest(RunGroup::kColour).category, Category::kReds);
  EXPECT_EQ(statistics.Longest(RunGroup::kDozen).length, 4);
  EXPECT_EQ(statistics.Longest(RunGroup::kColumn).length, 2);  // 4 and 1: left column
  EXPECT_EQ(statistics.Longest(RunGroup::kColumn).category, Category::kLeft);
  EXPECT_NEAR(statistics.ChanceOfLongest(RunGroup::kColour),
              EnumeratedRunChances(2, 18.0 / 37, 8)[4], 1e-11);
}

}  // namespace

}  // namespace wheelwatcher
