// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "systems/advice_text.h"
#include "systems/spin_report.h"
#include "tracker_test_support.h"

namespace wheelwatcher {

namespace {

TEST(AdviceText, PhrasesInTheirOrderBlankForBlank) {
  struct Case {
    AdviceInput input;
    std::string text;
  };
  const Case cases[] = {
      {{" ", "      You've just won $4", 2544, false, 3, "$", 1},
       "       You've just won $4       Your next bet is $1 on (High) $1 on (Second).    "},
      {{" ", " ", 4100, false, 4, "$", 3},
       "         Your next bet is $3 on (0) $3 on (Reds) $3 on (Left).    "},
      {{" ", " ", 344, false, 2, "$", 2}, "         Your next bet is $2 on (Odds).    "},
      {{" ", " ", 5, true, 5, "{", 12},
       "  You are using system DALQUE       Your first bet is {12 on (5).    "},
      {{" ", " ", 6644, true, 3, "}", 1},
       "  You are using system TRAVO       Your first bet is }1 on (Low) }1 on (Right).    "},
      {{" ", " ", 3236, false, 4, "$", 7},
       "         Your next bet is $7 on (36) $7 on (Blacks) $7 on (Third).    "},
      // A code without any bet: no system makes one, but it must still read sensibly.
      {{" ", " ", 44, false, 1, "$", 1}, "         Your next bet is.    "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildAdviceText(c.input), c.text) << c.input.code;
  }
}

TEST(AdviceText, CurrencyFromTheLocale) {
  struct Case {
    const char* locale;
    const char* symbol;
  };
  const Case cases[] = {{"$", "$"}, {"\xC2\xA3", "{"}, {"\xE2\x82\xAC", "}"},
                        {"", "}"},  {"US$", "}"},      {"\xA3", "}"},
                        {"kr", "}"}};
  for (const Case& c : cases) {
    EXPECT_EQ(CurrencySymbolForLocale(c.locale), c.symbol) << c.locale;
  }
}

TEST(AdviceText, PoundLocaleWritesTheBraceBeforeEveryAmount) {
  FakeTrackerWindow window;
  ScriptedRandomBytes bytes;
  bytes.Add({0, 0});
  SpinTracker tracker(window, bytes);
  tracker.Start("\xC2\xA3", "2", "");
  tracker.EnterSpin(2);
  EXPECT_EQ(window.Panel(control::kBankPanel), "BANK {-1");
  EXPECT_EQ(window.Advice(), "         Your next bet is {2 on (Reds).    ");
  bytes.Add({0});
  tracker.EnterSpin(1);
  EXPECT_EQ(tracker.State().winMessage, "      You've just won {4");
  EXPECT_EQ(window.Panel(control::kBankPanel), "BANK {1");
}

const char kWorkedReport[] =
    "\r\nYou are using system MODENT\r\n\r\nSpin History 2, 5, 0, \r\n\r\nBlack Spins 1\r\n\r\n"
    "Red Spins 1\r\n\r\nEvens Spins 1\r\n\r\nOdds Spins 1\r\n\r\nHigh Spins 0\r\n\r\n"
    "Low Spins 2\r\n\r\nMiddle Spins 2\r\n\r\nLeft Spins 0\r\n\r\nRight Spins 0\r\n\r\n"
    "First Spins 2\r\n\r\nSecond Spins 0\r\n\r\nThird Spins 0";

TEST(Export, WorkedExampleThroughTheSaveButton) {
  TrackerFixture f("2", {0, 1, 2, 3});
  f.tracker.EnterSpin(2);
  f.tracker.EnterSpin(5);
  f.tracker.EnterSpin(0);
  const TableState before = f.State();
  f.tracker.OnRegionClicked(42);
  ASSERT_EQ(f.window.savedReports.size(), 1u);
  EXPECT_EQ(f.window.savedReports[0], kWorkedReport);
  EXPECT_EQ(f.State().spins, before.spins);
  EXPECT_EQ(f.State().betCodes, before.betCodes);
  EXPECT_EQ(f.State().bank, before.bank);
}

TEST(Export, RewoundToNoSpinsStillSavesAnEmptyList) {
  TrackerFixture f("1", {3, 4});
  f.tracker.EnterSpin(9);
  f.tracker.Rewind();
  f.tracker.OnSystemButton();
  ASSERT_EQ(f.window.savedReports.size(), 1u);
  EXPECT_EQ(f.window.savedReports[0],
            "\r\nYou are using system KAVRI\r\n\r\nSpin History \r\n\r\nBlack Spins 0\r\n\r\n"
            "Red Spins 0\r\n\r\nEvens Spins 0\r\n\r\nOdds Spins 0\r\n\r\nHigh Spins 0\r\n\r\n"
            "Low Spins 0\r\n\r\nMiddle Spins 0\r\n\r\nLeft Spins 0\r\n\r\nRight Spins 0\r\n\r\n"
            "First Spins 0\r\n\r\nSecond Spins 0\r\n\r\nThird Spins 0");
}

TEST(Export, ZerosAreListedButCountedNowhere) {
  const std::vector<std::int32_t> zeros = {0, 0};
  const std::string report = BuildSpinReport(4, zeros);
  EXPECT_NE(report.find("Spin History 0, 0, \r\n"), std::string::npos);
  EXPECT_EQ(report.find("Spins 1"), std::string::npos);
  EXPECT_EQ(report.find("Spins 2"), std::string::npos);
  EXPECT_EQ(BuildSpinList(zeros), "0, 0, ");
  EXPECT_EQ(BuildSpinList(std::vector<std::int32_t>{}), "");
  EXPECT_EQ(BuildSpinList(std::vector<std::int32_t>{17, 36}), "17, 36, ");
}

// Every section holds a different count, so two sections swapped or mislabelled cannot pass.
TEST(Export, EverySectionCountsItsOwnCategory) {
  const std::vector<std::int32_t> spins = {1,  15, 17, 17, 9, 14, 17, 11, 16,
                                           16, 11, 11, 2,  0, 24, 28, 11};
  EXPECT_EQ(BuildSpinReport(2, spins),
            "\r\nYou are using system MODENT\r\n\r\n"
            "Spin History 1, 15, 17, 17, 9, 14, 17, 11, 16, 16, 11, 11, 2, 0, 24, 28, 11, "
            "\r\n\r\nBlack Spins 11\r\n\r\nRed Spins 5\r\n\r\nEvens Spins 6\r\n\r\n"
            "Odds Spins 10\r\n\r\nHigh Spins 2\r\n\r\nLow Spins 14\r\n\r\n"
            "Middle Spins 9\r\n\r\nLeft Spins 4\r\n\r\nRight Spins 3\r\n\r\n"
            "First Spins 7\r\n\r\nSecond Spins 8\r\n\r\nThird Spins 1");
}

TEST(Export, CountsPastSixteenBits) {
  std::vector<std::int32_t> spins(40000, 36);
  spins.push_back(13);
  const std::string report = BuildSpinReport(1, spins);
  EXPECT_NE(report.find("\r\n\r\nRed Spins 40000\r\n"), std::string::npos);
  EXPECT_NE(report.find("\r\n\r\nEvens Spins 40000\r\n"), std::string::npos);
  EXPECT_NE(report.find("\r\n\r\nBlack Spins 1\r\n"), std::string::npos);
  EXPECT_NE(report.find("\r\n\r\nHigh Spins 40000\r\n"), std::string::npos);
  const std::string tail = "\r\n\r\nThird Spins 40000";
  EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
}

}  // namespace

}  // namespace wheelwatcher
