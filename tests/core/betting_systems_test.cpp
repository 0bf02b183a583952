// SPDX-License-Identifier: GPL-3.0-or-later
#include "systems/betting_systems.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "tracker_test_support.h"

namespace wheelwatcher {

namespace {

TEST(ComputeStake, ProgressionOfEverySystem) {
  struct Case {
    int system;
    int baseStake;
    Money deficit;
    Money stake;
  };
  const Case cases[] = {
      // Base stake 1.
      {1, 1, 0, 1},
      {1, 1, 14, 1},
      {1, 1, 15, 2},
      {1, 1, 49, 2},
      {1, 1, 50, 3},
      {1, 1, 85, 4},
      {2, 1, 0, 1},
      {2, 1, 1, 2},
      {2, 1, 5, 6},
      {2, 1, 1000, 1001},
      {3, 1, 0, 1},
      {3, 1, 3, 4},
      {3, 1, 77, 78},
      {4, 1, 0, 1},
      {4, 1, 12, 1},
      {4, 1, 13, 2},
      {4, 1, 45, 2},
      {4, 1, 46, 3},
      {5, 1, 0, 1},
      {5, 1, 11, 1},
      {5, 1, 12, 2},
      {5, 1, 43, 2},
      {5, 1, 44, 3},
      // Base stake 5.
      {1, 5, 0, 5},
      {1, 5, 58, 5},
      {1, 5, 59, 6},
      {2, 5, 0, 5},
      {2, 5, 3, 5},
      {2, 5, 4, 6},
      {2, 5, 5, 7},
      {3, 5, 3, 5},
      {3, 5, 4, 6},
      {3, 5, 5, 7},
      {4, 5, 0, 5},
      {4, 5, 48, 5},
      {4, 5, 49, 6},
      {5, 5, 0, 5},
      {5, 5, 43, 5},
      {5, 5, 44, 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StakeForDeficit(c.system, c.baseStake, c.deficit), c.stake)
        << "system " << c.system << " base " << c.baseStake << " deficit " << c.deficit;
  }
}

TEST(ComputeStake, HugeDeficitsSaturateInsteadOfOverflowing) {
  constexpr Money kMax = std::numeric_limits<Money>::max();
  for (int system = 1; system <= 5; ++system) {
    const Money stake = StakeForDeficit(system, 10, kMax);
    EXPECT_GE(stake, 10) << system;
    if (system == 2 || system == 3) {
      EXPECT_EQ(stake, kMax);
    }
  }
  // Still exact where doubles are: 2^52 + 1 on an even chance.
  EXPECT_EQ(StakeForDeficit(2, 1, Money{1} << 52), (Money{1} << 52) + 1);
}

// The names the player reads: SYSTEM's first press shows the stored system, the second the next
// one, short in the status panel and long in the advice.
TEST(SystemButton, EveryStoredSystemAndTheNextAreNamedInBothPanels) {
  const struct {
    const char* stored;
    const char* shown;
    const char* next;
    const char* nextAdvice;
  } rows[] = {
      {"1", "SY  KAVRI", "SY  MODENT", "  You are using system MODENT       Your first bet is"},
      {"2", "SY  MODENT", "SY  TRAVO", "  You are using system TRAVO       Your first bet is"},
      {"3", "SY  TRAVO", "SY  VESPIN", "  You are using system VESPIN       Your first bet is"},
      {"4", "SY  VESPIN", "SY  DALQUE", "  You are using system DALQUE       Your first bet is"},
      {"5", "SY  DALQUE", "SY  KAVRI", "  You are using system KAVRI       Your first bet is"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("stored ") + row.stored);
    TrackerFixture f(row.stored, {1, 1, 1});
    f.tracker.OnSystemButton();
    EXPECT_EQ(f.window.Panel(control::kStatusPanel), row.shown);
    f.bytes.Add({1, 1, 1});
    f.tracker.OnSystemButton();
    EXPECT_EQ(f.window.Panel(control::kStatusPanel), row.next);
    EXPECT_EQ(f.window.Advice().rfind(row.nextAdvice, 0), 0u) << f.window.Advice();
  }
}

TEST(StoredSystemText, LeadingIntegerWithinOneToFive) {
  struct Case {
    const char* text;
    int system;
  };
  const Case cases[] = {
      {"3", 3},
      {"7", 1},
      {"0", 1},
      {"-2", 1},
      {"abc", 1},
      {" 4", 4},
      {"\t\n 5", 5},
      {"+2", 2},
      {"2abc", 2},
      {"", 1},
      {"-", 1},
      {"00003", 3},
      {"- 3", 1},
      {"3.9", 3},
      {"4294967298", 1},
      {"99999999999999999999999999", 1},
      {"-99999999999999999999999995", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SystemNumberFromStoredText(c.text), c.system) << '"' << c.text << '"';
  }
}

TEST(NumberPick, FourRepeatRule) {
  struct Case {
    std::vector<std::int32_t> spins;
    bool repeats;
  };
  const Case cases[] = {
      {{7, 3, 3, 3, 3}, true},
      {{3, 3, 3, 3}, false},  // the rule needs a fifth spin
      {{3, 3, 3, 3, 8}, false},
      {{3, 3, 3, 3, 8, 8, 8, 8}, true},
      {{1, 0, 0, 0, 0}, true},
      {{0, 5, 5, 5, 4, 5}, false},
      // Three equal spins at the end are not four.
      {{7, 9, 3, 3, 3}, false},
      {{3, 9, 3, 3, 3}, false},
      {{3, 3, 3, 9, 3, 3, 3}, false},
  };
  for (const Case& c : cases) {
    ScriptedRandomBytes bytes;
    bytes.Add({20});
    const int pick = NumberPick(c.spins, bytes);
    if (c.repeats) {
      EXPECT_EQ(pick, c.spins.back());
      EXPECT_EQ(bytes.draws, 0);
    } else {
      EXPECT_EQ(pick, 20);
      EXPECT_EQ(bytes.draws, 1);
    }
  }
}

// The window draws a byte and keeps its remainder, so of the 256 bytes seven fall on each of 0 to
// 33 and six on each of 34 to 36 (and 43, 43, 43, 43, 42, 42 on the six categories): the bias a
// player's advice really has, pinned so that a rescaled or rejecting draw shows up.
TEST(Draws, EveryByteOnItsNumberAndCategory) {
  const struct {
    const char* name;
    int byte, number, category;
  } rows[] = {
      {"zero", 0, 0, 0},         {"largest without wrapping", 36, 36, 0},
      {"first wrap", 37, 0, 1},  {"second wrap's last", 73, 36, 1},
      {"last byte", 255, 33, 3}, {"last full round of categories", 251, 29, 5},
  };
  for (const auto& row : rows) {
    ScriptedRandomBytes bytes;
    bytes.Add({row.byte, row.byte});
    EXPECT_EQ(NumberPick({}, bytes), row.number) << row.name;
    EXPECT_EQ(CategoryPick(bytes), row.category) << row.name;
  }
  std::vector<int> numberCounts(37);
  std::vector<int> categoryCounts(6);
  for (int byte = 0; byte < 256; ++byte) {
    ScriptedRandomBytes bytes;
    bytes.Add({byte, byte});
    ++numberCounts[static_cast<std::size_t>(NumberPick({}, bytes))];
    ++categoryCounts[static_cast<std::size_t>(CategoryPick(bytes))];
  }
  for (int number = 0; number <= 36; ++number) {
    EXPECT_EQ(numberCounts[static_cast<std::size_t>(number)], number <= 33 ? 7 : 6) << number;
  }
  EXPECT_EQ(categoryCounts, (std::vector<int>{43, 43, 43, 43, 42, 42}));
}

TEST(ChooseBetCode, ShapeOfEachSystemsCode) {
  const std::vector<std::int32_t> none;
  struct Case {
    int system;
    std::vector<int> bytes;
    BetCode code;
  };
  const Case cases[] = {
      {1, {17}, 17},     {1, {37}, 0},          {2, {0}, 144},
      {2, {5}, 644},     {3, {1, 4}, 2544},  // the dozen/column is drawn first: Second, then High
      {3, {5, 0}, 6144}, {4, {17, 3, 0}, 4117}, {5, {0, 5, 5}, 6600},
  };
  for (const Case& c : cases) {
    ScriptedRandomBytes bytes;
    for (int b : c.bytes) bytes.bytes.push_back(static_cast<std::uint8_t>(b));
    EXPECT_EQ(ChooseBetCode(c.system, 0, 1, none, bytes), c.code) << c.system;
    EXPECT_TRUE(bytes.bytes.empty()) << c.system;
  }
}

TEST(ChooseBetCode, BankLimitsOfTheNumberSystems) {
  const std::vector<std::int32_t> none;
  struct Case {
    int system;
    int baseStake;
    Money bank;
    BetCode code;  // from the bytes 5, 1, 2: number 5, Second, Odds
  };
  const Case cases[] = {
      {4, 2, -100, 2005},
      {4, 2, -101, 5},
      {4, 2, -80, 2305},
      {4, 2, -81, 2005},
      {5, 1, -50, 2305},
      {5, 1, -51, 2005},
      {5, 1, -60, 2005},
      {5, 1, -61, 5},
      {4, 10, std::numeric_limits<Money>::min(), 5},
      {5, 10, std::numeric_limits<Money>::max(), 2305},
  };
  for (const Case& c : cases) {
    ScriptedRandomBytes bytes;
    bytes.Add({5, 1, 2});
    EXPECT_EQ(ChooseBetCode(c.system, c.bank, c.baseStake, none, bytes), c.code)
        << "system " << c.system << " bank " << c.bank;
  }
}

}  // namespace

}  // namespace wheelwatcher
