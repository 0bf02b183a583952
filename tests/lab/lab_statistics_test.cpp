// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "lab/progress.h"
#include "lab/session_random.h"
#include "stats/intervals.h"
#include "stats/summary.h"

namespace wheelwatcher {

namespace {

TEST(WilsonInterval, KnownValuesAndTheEdges) {
  struct Case {
    std::int64_t successes, trials;
    double low, high;
  };
  const Case cases[] = {
      {5, 10, 0.236593, 0.763407},
      {0, 10, 0.0, 0.277533},
      {10, 10, 0.722467, 1.0},
      {1, 1000, 0.000177, 0.005643},
  };
  for (const Case& c : cases) {
    const Interval interval = WilsonInterval(c.successes, c.trials);
    EXPECT_NEAR(interval.low, c.low, 1e-6) << c.successes << " of " << c.trials;
    EXPECT_NEAR(interval.high, c.high, 1e-6) << c.successes << " of " << c.trials;
  }
  EXPECT_EQ(WilsonInterval(0, 10).low, 0.0);
  EXPECT_EQ(WilsonInterval(10, 10).high, 1.0);
}

TEST(Summarise, MeanMedianAndInterpolatedPercentiles) {
  std::vector<double> values = {10, 1, 4, 3, 2, 9, 8, 7, 6, 5, 0};
  const Summary summary = Summarise(values);
  EXPECT_DOUBLE_EQ(summary.mean, 5);
  EXPECT_DOUBLE_EQ(summary.median, 5);
  EXPECT_DOUBLE_EQ(summary.p5, 0.5);
  EXPECT_DOUBLE_EQ(summary.p95, 9.5);
  EXPECT_DOUBLE_EQ(summary.min, 0);
  EXPECT_DOUBLE_EQ(summary.max, 10);
  std::vector<double> one = {-7};
  EXPECT_DOUBLE_EQ(Summarise(one).p95, -7);
  std::vector<double> none;
  EXPECT_DOUBLE_EQ(Summarise(none).median, 0);
}

// Every number of the wheel as often as the others, within five standard deviations.
TEST(SessionRandom, WheelIsFair) {
  SessionRandom random(StreamSeed(1, 2, kWheelStream));
  constexpr int kDraws = 370000;
  std::vector<int> counts(37);
  for (int i = 0; i < kDraws; ++i) {
    const int number = random.NextWheelNumber();
    ASSERT_GE(number, 0);
    ASSERT_LE(number, 36);
    ++counts[static_cast<std::size_t>(number)];
  }
  for (int count : counts) EXPECT_NEAR(count, 10000, 5 * 98.6);
  // Neighbouring sessions and streams draw differently.
  EXPECT_NE(SessionRandom(StreamSeed(1, 2, 0)).NextWord(),
            SessionRandom(StreamSeed(1, 3, 0)).NextWord());
  EXPECT_NE(SessionRandom(StreamSeed(1, 2, 0)).NextWord(),
            SessionRandom(StreamSeed(1, 2, 1)).NextWord());
}

TEST(ProgressLine, BarShareRateAndTimeLeft) {
  EXPECT_EQ(ProgressLine(0, 100, 0), "[                              ]   0 %");
  EXPECT_EQ(ProgressLine(5000000, 20000000, 1),
            "[#######                       ]  25 %   5.0 M spins/s   3 s left");
  EXPECT_EQ(ProgressLine(20000000, 20000000, 2),
            "[##############################] 100 %   10.0 M spins/s   0 s left");
}

}  // namespace

}  // namespace wheelwatcher
