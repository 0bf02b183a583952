// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/bet_code.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "engine/category_tallies.h"
#include "engine/history_column.h"
#include "engine/money.h"

namespace wheelwatcher {

namespace {

constexpr Category kAll[] = {Category::kReds,  Category::kBlacks, Category::kOdds,
                             Category::kEvens, Category::kHigh,   Category::kLow,
                             Category::kFirst, Category::kSecond, Category::kThird,
                             Category::kLeft,  Category::kMiddle, Category::kRight};

TEST(Categories, SetsOfTheLayout) {
  const std::vector<int> reds = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
  for (int n = 0; n <= 36; ++n) {
    const bool red = std::find(reds.begin(), reds.end(), n) != reds.end();
    EXPECT_EQ(IsInCategory(n, Category::kReds), red) << n;
    EXPECT_EQ(IsInCategory(n, Category::kBlacks), n != 0 && !red) << n;
    EXPECT_EQ(IsInCategory(n, Category::kOdds), n % 2 == 1) << n;
    EXPECT_EQ(IsInCategory(n, Category::kEvens), n != 0 && n % 2 == 0) << n;
    EXPECT_EQ(IsInCategory(n, Category::kHigh), n >= 19) << n;
    EXPECT_EQ(IsInCategory(n, Category::kLow), n >= 1 && n <= 18) << n;
    EXPECT_EQ(IsInCategory(n, Category::kFirst), n >= 1 && n <= 12) << n;
    EXPECT_EQ(IsInCategory(n, Category::kSecond), n >= 13 && n <= 24) << n;
    EXPECT_EQ(IsInCategory(n, Category::kThird), n >= 25) << n;
    EXPECT_EQ(IsInCategory(n, Category::kLeft), n != 0 && n % 3 == 1) << n;
    EXPECT_EQ(IsInCategory(n, Category::kMiddle), n != 0 && n % 3 == 2) << n;
    EXPECT_EQ(IsInCategory(n, Category::kRight), n != 0 && n % 3 == 0) << n;
  }
  for (Category c : kAll) {
    EXPECT_FALSE(IsInCategory(-1, c));
    EXPECT_FALSE(IsInCategory(37, c));
    EXPECT_FALSE(IsInCategory(kNoNumber, c));
  }
  EXPECT_EQ(HistoryColumnOf(0), HistoryColumn::kZero);
  EXPECT_EQ(HistoryColumnOf(36), HistoryColumn::kRed);
  EXPECT_EQ(HistoryColumnOf(10), HistoryColumn::kBlack);
}

TEST(BetCodes, PartsAndChips) {
  struct Case {
    BetCode code;
    int number, evenChance, dozenColumn, chips;
  };
  const Case cases[] = {
      {44, 44, 0, 0, 0},       {144, 44, 100, 0, 1},     {5317, 17, 300, 5000, 3},
      {6600, 0, 600, 6000, 3}, {6636, 36, 600, 6000, 3}, {2544, 44, 500, 2000, 2},
      {0, 0, 0, 0, 1},         {4036, 36, 0, 4000, 2},
  };
  for (const Case& c : cases) {
    const BetCodeParts parts = SplitBetCode(c.code);
    EXPECT_EQ(parts.number, c.number) << c.code;
    EXPECT_EQ(parts.evenChance, c.evenChance) << c.code;
    EXPECT_EQ(parts.dozenColumn, c.dozenColumn) << c.code;
    EXPECT_EQ(ChipCount(c.code), c.chips) << c.code;
  }
  Category category;
  ASSERT_TRUE(EvenChanceCategory(SplitBetCode(5317), &category));
  EXPECT_EQ(category, Category::kOdds);
  ASSERT_TRUE(DozenColumnCategory(SplitBetCode(5317), &category));
  EXPECT_EQ(category, Category::kMiddle);
  EXPECT_FALSE(EvenChanceCategory(SplitBetCode(744), &category));
  EXPECT_FALSE(DozenColumnCategory(SplitBetCode(7044), &category));
}

TEST(CategorySpins, TalliesCountTheWholeHistoryPayoutsTheLastSpin) {
  const std::vector<std::int32_t> spins = {1, 2, 3};
  const std::int64_t tallies[] = {2, 1, 2, 1, 0, 3, 3, 0, 0, 1, 1, 1};
  for (int i = 0; i < kCategoryCount; ++i) {
    EXPECT_EQ(CategorySpins(kAll[i], CategoryMode::kTally, spins), tallies[i]) << i;
  }
  const std::vector<std::int32_t> oneTwo = {1, 2};
  EXPECT_EQ(CategorySpins(Category::kReds, CategoryMode::kTally, oneTwo), 1);
  EXPECT_EQ(CategorySpins(Category::kReds, CategoryMode::kPayout, oneTwo), 0);
  EXPECT_EQ(CategorySpins(Category::kBlacks, CategoryMode::kPayout, oneTwo), 2);
  EXPECT_EQ(CategorySpins(Category::kThird, CategoryMode::kPayout, std::vector<std::int32_t>{25}),
            3);

  const std::vector<std::int32_t> zeros(50, 0);
  const std::vector<std::int32_t> empty;
  for (Category c : kAll) {
    EXPECT_EQ(CategorySpins(c, CategoryMode::kTally, zeros), 0);
    EXPECT_EQ(CategorySpins(c, CategoryMode::kPayout, zeros), 0);
    EXPECT_EQ(CategorySpins(c, CategoryMode::kTally, empty), 0);
    EXPECT_EQ(CategorySpins(c, CategoryMode::kPayout, empty), 0);
  }
  EXPECT_EQ(NumberPayout(0, zeros), 36);
  EXPECT_EQ(NumberPayout(kNoNumber, zeros), 0);
  EXPECT_EQ(NumberPayout(0, empty), 0);
  EXPECT_EQ(NumberPayout(-1, std::vector<std::int32_t>{-1}), 0);
}

// What one chip returns when the last spin wins and when it loses. The winning and losing numbers
// sit at the edges of their sets, so a shifted bound pays the wrong box.
TEST(CategorySpins, EveryChipPaysItsUnitsOnlyOnAWin) {
  struct Case {
    Category category;
    std::int32_t wins;
    std::int32_t loses;
    int units;
  };
  const Case cases[] = {
      {Category::kReds, 1, 2, 2},    {Category::kBlacks, 2, 1, 2},   {Category::kOdds, 35, 36, 2},
      {Category::kEvens, 36, 35, 2}, {Category::kHigh, 19, 18, 2},   {Category::kLow, 18, 19, 2},
      {Category::kFirst, 12, 13, 3}, {Category::kSecond, 13, 12, 3}, {Category::kThird, 25, 24, 3},
      {Category::kLeft, 34, 35, 3},  {Category::kMiddle, 35, 36, 3}, {Category::kRight, 36, 34, 3},
  };
  for (const Case& c : cases) {
    const auto payout = [&](std::int32_t last) {
      return CategorySpins(c.category, CategoryMode::kPayout, std::vector<std::int32_t>{7, last});
    };
    EXPECT_EQ(payout(c.wins), c.units) << static_cast<int>(c.category);
    EXPECT_EQ(payout(c.loses), 0) << static_cast<int>(c.category);
    EXPECT_EQ(PayoutUnitsPerChip(c.category), c.units) << static_cast<int>(c.category);
  }
  EXPECT_EQ(NumberPayout(17, std::vector<std::int32_t>{3, 17}), 36);
  EXPECT_EQ(NumberPayout(17, std::vector<std::int32_t>{17, 18}), 0);
}

TEST(CategorySpins, TalliesPastSixteenBits) {
  const std::vector<std::int32_t> spins(70000, 36);
  EXPECT_EQ(CategorySpins(Category::kReds, CategoryMode::kTally, spins), 70000);
  EXPECT_EQ(CategorySpins(Category::kRight, CategoryMode::kTally, spins), 70000);
}

TEST(Money, SaturatesAtTheLimits) {
  constexpr Money kMax = std::numeric_limits<Money>::max();
  constexpr Money kMin = std::numeric_limits<Money>::min();
  EXPECT_EQ(SaturatingAdd(kMax, 1), kMax);
  EXPECT_EQ(SaturatingAdd(kMin, -1), kMin);
  EXPECT_EQ(SaturatingAdd(kMin, kMax), -1);
  EXPECT_EQ(SaturatingAdd(40, 2), 42);
  EXPECT_EQ(SaturatingSubtract(kMin, 1), kMin);
  EXPECT_EQ(SaturatingSubtract(kMax, -1), kMax);
  EXPECT_EQ(SaturatingSubtract(0, kMin), kMax);
  EXPECT_EQ(SaturatingSubtract(-3, 4), -7);
  EXPECT_EQ(SaturatingMultiply(kMax, 3), kMax);
  EXPECT_EQ(SaturatingMultiply(kMax / 2, -3), kMin);
  EXPECT_EQ(SaturatingMultiply(-kMax, -2), kMax);
  EXPECT_EQ(SaturatingMultiply(41, 3), 123);
  EXPECT_EQ(SaturatingFromDouble(1e300), kMax);
  EXPECT_EQ(SaturatingFromDouble(9223372036854775808.0), kMax);
  EXPECT_EQ(SaturatingFromDouble(-1e300), kMin);
  EXPECT_EQ(SaturatingFromDouble(std::numeric_limits<double>::quiet_NaN()), kMax);
  EXPECT_EQ(SaturatingFromDouble(2.999), 2);
  EXPECT_EQ(SaturatingFromDouble(-2.999), -2);
}

}  // namespace

}  // namespace wheelwatcher
