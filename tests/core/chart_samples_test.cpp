// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "stats/chart_samples.h"

namespace wheelwatcher {

namespace {

TEST(ChartSamples, EverySpinWhileFewThenPowersOfTwoAndTheLast) {
  using Samples = std::vector<std::int64_t>;
  EXPECT_EQ(ChartSampleSpins(0, 4), (Samples{0}));
  EXPECT_EQ(ChartSampleSpins(3, 4), (Samples{0, 1, 2, 3}));
  EXPECT_EQ(ChartSampleSpins(4, 4), (Samples{0, 2, 4}));
  EXPECT_EQ(ChartSampleSpins(9, 4), (Samples{0, 4, 8, 9}));
  EXPECT_EQ(ChartSampleSpins(10, 4), (Samples{0, 4, 8, 10}));
  for (std::int64_t spins : {1000LL, 65537LL, 100000LL}) {
    const Samples samples = ChartSampleSpins(spins, 500);
    EXPECT_LE(samples.size(), 501u) << spins;
    EXPECT_GE(samples.size(), 250u) << spins;
    EXPECT_EQ(samples.front(), 0);
    EXPECT_EQ(samples.back(), spins);
  }
}

}  // namespace

}  // namespace wheelwatcher
