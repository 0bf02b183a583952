// SPDX-License-Identifier: GPL-3.0-or-later
// The longest run the statistics window names: of two equally long runs the first is named, a
// later run must be longer to replace it, and zero ends every run.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/bet_code.h"
#include "engine/category_tallies.h"
#include "engine/table_state.h"
#include "stats/session_statistics.h"

namespace wheelwatcher {

namespace {

TEST(LongestRun, TiesNameTheFirstRunAndOnlyALongerOneReplacesIt) {
  const struct {
    const char* name;
    RunGroup group;
    std::vector<std::int32_t> spins;
    int length;
    Category category;
  } rows[] = {
      {"reds, then as many blacks", RunGroup::kColour, {1, 3, 2, 4}, 2, Category::kReds},
      {"blacks, then as many reds", RunGroup::kColour, {2, 4, 1, 3}, 2, Category::kBlacks},
      {"reds, then one black more", RunGroup::kColour, {1, 3, 2, 4, 6}, 3, Category::kBlacks},
      {"zero splits the reds", RunGroup::kColour, {1, 0, 3, 5, 2, 4}, 2, Category::kReds},
      {"first dozen, then as long a second", RunGroup::kDozen, {1, 2, 13, 14}, 2, Category::kFirst},
      {"second dozen, then as long a first",
       RunGroup::kDozen,
       {13, 14, 1, 2},
       2,
       Category::kSecond},
      {"third dozen, then zero", RunGroup::kDozen, {25, 26, 0, 1}, 2, Category::kThird},
      {"left column, then as long a middle", RunGroup::kColumn, {1, 4, 2, 5}, 2, Category::kLeft},
      {"right column, then as long a left", RunGroup::kColumn, {3, 6, 1, 4}, 2, Category::kRight},
      {"middle column, then as long a left",
       RunGroup::kColumn,
       {2, 5, 8, 1, 4, 7},
       3,
       Category::kMiddle},
  };
  for (const auto& row : rows) {
    TableState table;
    table.spins = row.spins;
    table.betCodes.assign(row.spins.size() + 1, kNoNumber);
    table.bankHistory.assign(row.spins.size() + 1, 0);
    table.deficitHistory.assign(row.spins.size() + 1, 0);
    table.spinCount = static_cast<std::int64_t>(row.spins.size());
    SessionStatistics statistics;
    statistics.Sync(table);
    EXPECT_EQ(statistics.Longest(row.group).length, row.length) << row.name;
    EXPECT_EQ(statistics.Longest(row.group).category, row.category) << row.name;
  }
}

}  // namespace

}  // namespace wheelwatcher
