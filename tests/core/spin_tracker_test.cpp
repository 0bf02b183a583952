// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/spin_tracker.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/control_ids.h"
#include "engine/region_code.h"
#include "systems/advice_text.h"
#include "tracker_test_support.h"

namespace wheelwatcher {

namespace {

const std::string kFirstOn17 =
    " You are using system KAVRI       Your first bet is $1 on (17).    ";

TEST(SpinTrackerStart, ShowsTheFirstBetAndAFreshTable) {
  TrackerFixture f("1", {17});
  const TableState& s = f.State();
  EXPECT_TRUE(s.spins.empty());
  EXPECT_EQ(s.betCodes, std::vector<BetCode>{17});
  EXPECT_EQ(s.bankHistory, std::vector<Money>{0});
  EXPECT_EQ(s.deficitHistory, std::vector<Money>{0});
  EXPECT_EQ(s.spinCount, 0);
  EXPECT_EQ(s.stake, 1);
  EXPECT_EQ(s.winMessage, " ");
  EXPECT_FALSE(s.started);

  // Written out, blanks and all, so a changed constant cannot pass against itself.
  EXPECT_EQ(f.window.Advice(),
            " Welcome to Wheelwatcher, try our recommended live wheel casinos, click live wheel "
            "--> ---> ---->               " +
                kFirstOn17);
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SPIN 0");
  EXPECT_EQ(f.window.Panel(control::kBankPanel), "BANK $0");
  EXPECT_EQ(f.window.Panel(control::kNumberPanel), " ");
  EXPECT_EQ(f.window.caption, "V 5.004 Wheelwatcher  ");
  EXPECT_EQ(f.window.timers, (std::map<int, int>{{timer::kBlink, 500}}));
  EXPECT_TRUE(f.window.visible.empty());
  for (int id : {control::kFadedLiveWheel, control::kSavePicture, control::kGreyedSystem,
                 control::kRedsOverlay, control::kRightOverlay}) {
    EXPECT_NE(
        std::find(f.window.events.begin(), f.window.events.end(), "hide " + std::to_string(id)),
        f.window.events.end())
        << id;
  }
}

TEST(SpinTrackerStart, EmptyVersionCaptionStartsWithABlank) {
  FakeTrackerWindow window;
  ScriptedRandomBytes bytes;
  bytes.Add({3});
  SpinTracker tracker(window, bytes);
  tracker.Start("$", "1", "");
  EXPECT_EQ(window.caption, " Wheelwatcher  ");
}

TEST(SpinTrackerStart, StoredSystemTextSelectsTheSystemAndIsKept) {
  struct Case {
    const char* stored;
    int system;
  };
  for (const Case c : {Case{"3", 3}, Case{"abc", 1}, Case{" 4", 4}}) {
    TrackerFixture f(c.stored, {1, 2, 3});
    EXPECT_EQ(f.State().systemNumber, c.system) << c.stored;
    EXPECT_EQ(f.tracker.StoredSystemText(), c.stored);
    EXPECT_EQ(f.State().betCodes.size(), 1u);
  }
}

// Worked example: one chip on Reds at STAKE 1.
TEST(EnterSpin, WinningAndLosingSpinsMoveBankAndDeficit) {
  {
    TrackerFixture f("2", {0});
    ASSERT_EQ(f.CurrentCode(), 144);
    f.bytes.Add({1});
    f.tracker.EnterSpin(7);
    EXPECT_EQ(f.State().bank, 1);
    EXPECT_EQ(f.State().deficit, 0);
    EXPECT_EQ(f.State().winMessage, "      You've just won $2");
    EXPECT_EQ(f.State().stake, 1);
  }
  {
    TrackerFixture f("2", {0});
    f.bytes.Add({1});
    f.tracker.EnterSpin(0);
    EXPECT_EQ(f.State().bank, -1);
    EXPECT_EQ(f.State().deficit, 1);
    EXPECT_EQ(f.State().winMessage, " ");
    EXPECT_EQ(f.State().stake, 2);
    EXPECT_EQ(f.window.Panel(control::kBankPanel), "BANK $-1");
  }
}

TEST(EnterSpin, RecoveryOnTheEvenChances) {
  TrackerFixture f("2", {0});  // Reds
  f.bytes.Add({2});            // next: Odds
  f.tracker.EnterSpin(2);
  EXPECT_EQ(f.State().bank, -1);
  EXPECT_EQ(f.State().deficit, 1);
  EXPECT_EQ(f.State().stake, 2);
  EXPECT_EQ(f.window.Advice(), "         Your next bet is $2 on (Odds).    ");
  f.bytes.Add({0});
  f.tracker.EnterSpin(5);
  EXPECT_EQ(f.State().bank, 1);
  EXPECT_EQ(f.State().deficit, 0);
  EXPECT_EQ(f.State().winMessage, "      You've just won $4");
  EXPECT_EQ(f.State().stake, 1);
  EXPECT_EQ(f.State().bankHistory, (std::vector<Money>{0, -1, 1}));
  EXPECT_EQ(f.State().deficitHistory, (std::vector<Money>{0, 1, 0}));
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SPIN 2");
}

TEST(EnterSpin, NumberPlusOutsideChipsPayTogether) {
  // System 4: number 17, Left (D 4), Reds (E 1).
  TrackerFixture f("4", {17, 3, 0});
  ASSERT_EQ(f.CurrentCode(), 4117);
  f.bytes.Add({17, 3, 0});
  f.tracker.EnterSpin(1);  // red, left column
  EXPECT_EQ(f.State().bank, -3 + 5);
  f.bytes.Add({1, 1, 1});
  f.tracker.EnterSpin(17);  // black, middle column, the number
  EXPECT_EQ(f.State().bank, 2 - 3 + 36);
  EXPECT_EQ(f.State().winMessage, "      You've just won $36");
}

TEST(EnterSpin, PayoutUnitsOfAllThreeChips) {
  TrackerFixture f("3", {4, 2});  // Middle and Odds
  ASSERT_EQ(f.CurrentCode(), 5344);
  f.bytes.Add({0, 0});
  f.tracker.EnterSpin(17);
  EXPECT_EQ(f.State().bank, -2 + 5);
  // Zero loses every outside chip.
  f.bytes.Add({0, 0});
  f.tracker.EnterSpin(0);
  EXPECT_EQ(f.State().bank, 3 - 2);
  EXPECT_EQ(f.State().winMessage, " ");
}

TEST(EnterSpin, ShowsTheButtonFacesOnEverySpin) {
  TrackerFixture f("1", {5});
  f.bytes.Add({6, 7});
  f.tracker.EnterSpin(3);
  EXPECT_TRUE(f.window.IsVisible(control::kSavePicture));
  EXPECT_TRUE(f.window.IsVisible(control::kGreyedSystem));
  f.window.events.clear();
  f.tracker.EnterSpin(4);
  EXPECT_EQ(f.window.events[0], "show 1021");
  EXPECT_EQ(f.window.events[1], "show 1022");
  EXPECT_TRUE(f.State().started);
}

// Each step must see the state its predecessors left: the draw sees BANK after the win and
// the new spin but the old STAKE; the advice sees the new bank entry but not the deficit entry.
TEST(EnterSpin, StepsRunInTheirOrder) {
  TrackerFixture f("2", {0});
  struct AtDraw {
    Money bank, deficit, stake;
    std::size_t spins, bankEntries, rows;
  };
  std::vector<AtDraw> draws;
  f.bytes.onDraw = [&] {
    const TableState& s = f.State();
    draws.push_back({s.bank, s.deficit, s.stake, s.spins.size(), s.bankHistory.size(),
                     f.tracker.HistoryRowCount()});
  };
  std::vector<std::pair<std::size_t, std::size_t>> atAdvice;
  f.window.onPanelText = [&](int panel) {
    if (panel == control::kAdviceTicker) {
      atAdvice.emplace_back(f.State().bankHistory.size(), f.State().deficitHistory.size());
    }
  };
  f.bytes.Add({0});
  f.tracker.EnterSpin(2);  // loses: BANK -1, deficit 1, next STAKE 2
  f.bytes.Add({1});
  f.tracker.EnterSpin(9);  // Reds at STAKE 2 wins 4
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[1].bank, -1 - 2 + 4);
  EXPECT_EQ(draws[1].deficit, 0);
  EXPECT_EQ(draws[1].stake, 2);
  EXPECT_EQ(draws[1].spins, 2u);
  EXPECT_EQ(draws[1].bankEntries, 2u);
  EXPECT_EQ(draws[1].rows, 2u);
  EXPECT_EQ(f.State().stake, 1);
  ASSERT_EQ(atAdvice.size(), 2u);
  EXPECT_EQ(atAdvice[1], (std::pair<std::size_t, std::size_t>{3, 2}));
}

TEST(Rewind, RestoresTheStateBeforeTheLastSpin) {
  TrackerFixture f("2", {0});
  f.bytes.Add({2});
  f.tracker.EnterSpin(2);  // lose
  f.bytes.Add({3});
  f.tracker.EnterSpin(8);  // Odds loses again: deficit 3, STAKE 4
  const TableState afterSecond = f.State();
  const std::string adviceAfterSecond = f.window.Advice();
  const std::string statusAfterSecond = f.window.Panel(control::kStatusPanel);
  const std::string bankAfterSecond = f.window.Panel(control::kBankPanel);
  f.bytes.Add({5});
  f.tracker.EnterSpin(10);  // Evens wins
  ASSERT_NE(f.State().winMessage, " ");
  f.tracker.Rewind();
  const TableState& s = f.State();
  EXPECT_EQ(s.spins, afterSecond.spins);
  EXPECT_EQ(s.betCodes, afterSecond.betCodes);
  EXPECT_EQ(s.bankHistory, afterSecond.bankHistory);
  EXPECT_EQ(s.deficitHistory, afterSecond.deficitHistory);
  EXPECT_EQ(s.bank, afterSecond.bank);
  EXPECT_EQ(s.deficit, afterSecond.deficit);
  EXPECT_EQ(s.stake, afterSecond.stake);
  EXPECT_EQ(s.spinCount, afterSecond.spinCount);
  EXPECT_EQ(s.winMessage, " ");
  EXPECT_EQ(f.window.Advice(), adviceAfterSecond);
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), statusAfterSecond);
  EXPECT_EQ(f.window.Panel(control::kBankPanel), bankAfterSecond);
  EXPECT_EQ(f.tracker.HistoryRowCount(), 2u);
}

TEST(Rewind, AfterAWinTheAdviceDropsOnlyTheWinMessage) {
  TrackerFixture f("2", {0});
  f.bytes.Add({1});
  f.tracker.EnterSpin(7);  // wins $2
  f.bytes.Add({2});
  f.tracker.EnterSpin(9);  // Blacks loses
  f.tracker.Rewind();
  EXPECT_EQ(f.window.Advice(), "         Your next bet is $1 on (Blacks).    ");
}

TEST(Rewind, BackToTheStartKeepsTheFirstBetAndTheStartedFlag) {
  TrackerFixture f("1", {17});
  f.bytes.Add({20});
  f.tracker.EnterSpin(3);
  f.tracker.Rewind();
  EXPECT_EQ(f.State().betCodes, std::vector<BetCode>{17});
  EXPECT_EQ(f.State().bankHistory, std::vector<Money>{0});
  EXPECT_EQ(f.State().bank, 0);
  EXPECT_EQ(f.State().spinCount, 0);
  EXPECT_TRUE(f.State().started);
  EXPECT_EQ(f.window.Advice(), " " + kFirstOn17);
  EXPECT_TRUE(f.window.IsVisible(control::kSavePicture));
  EXPECT_TRUE(f.window.IsVisible(control::kGreyedSystem));

  // Nothing left to take back: only the advice is shown again.
  const long rowsBefore = f.window.rows;
  f.tracker.Rewind();
  EXPECT_EQ(f.State().betCodes, std::vector<BetCode>{17});
  EXPECT_EQ(f.window.rows, rowsBefore);
  EXPECT_EQ(f.tracker.HistoryRowCount(), 0u);
  EXPECT_EQ(f.window.Advice(), " " + kFirstOn17);
}

TEST(ClearAll, StartsAFreshTableKeepingSystemAndBaseStake) {
  TrackerFixture f("2", {0});
  f.tracker.OnStakeButton();
  f.tracker.OnStakeButton();  // base stake 2
  f.tracker.OnTimerTick(timer::kStakeWindow);
  f.bytes.Add({1, 2});
  f.tracker.EnterSpin(2);
  f.tracker.EnterSpin(4);
  f.bytes.Add({5});
  f.tracker.ClearAll();
  const TableState& s = f.State();
  EXPECT_TRUE(s.spins.empty());
  EXPECT_EQ(s.betCodes, std::vector<BetCode>{644});
  EXPECT_EQ(s.bankHistory, std::vector<Money>{0});
  EXPECT_EQ(s.deficitHistory, std::vector<Money>{0});
  EXPECT_EQ(s.bank, 0);
  EXPECT_EQ(s.deficit, 0);
  EXPECT_EQ(s.stake, 2);
  EXPECT_EQ(s.baseStake, 2);
  EXPECT_EQ(s.systemNumber, 2);
  EXPECT_FALSE(s.started);
  EXPECT_EQ(f.tracker.HistoryRowCount(), 0u);
  EXPECT_EQ(f.window.rows, 0);
  EXPECT_FALSE(f.window.IsVisible(control::kSavePicture));
  EXPECT_FALSE(f.window.IsVisible(control::kGreyedSystem));
  EXPECT_EQ(f.window.Advice(),
            "  You are using system MODENT       Your first bet is $2 on (Low).    ");
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SPIN 0");
  // The buttons work again.
  f.tracker.OnStakeButton();
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "STAKE $2");
}

TEST(HistoryColumns, RowsFollowSpinsRewindAndClear) {
  TrackerFixture f("1", {1});
  f.bytes.Add({1, 1, 1});
  f.tracker.EnterSpin(32);
  f.tracker.EnterSpin(15);
  f.tracker.EnterSpin(0);
  ASSERT_EQ(f.tracker.HistoryRowCount(), 3u);
  struct Row {
    const char *red, *zero, *black;
  };
  const Row expected[] = {{"", "0", ""}, {"", "", "15"}, {"32", "", ""}};
  for (std::size_t r = 0; r < 3; ++r) {
    EXPECT_EQ(f.tracker.HistoryCellText(r, HistoryColumn::kRed), expected[r].red) << r;
    EXPECT_EQ(f.tracker.HistoryCellText(r, HistoryColumn::kZero), expected[r].zero) << r;
    EXPECT_EQ(f.tracker.HistoryCellText(r, HistoryColumn::kBlack), expected[r].black) << r;
  }
  EXPECT_EQ(f.tracker.HistoryCellText(3, HistoryColumn::kRed), "");

  f.tracker.Rewind();
  EXPECT_EQ(f.tracker.HistoryRowCount(), 2u);
  EXPECT_EQ(f.tracker.HistoryCellText(0, HistoryColumn::kBlack), "15");

  f.bytes.Add({1});
  f.tracker.ClearAll();
  EXPECT_EQ(f.tracker.HistoryRowCount(), 0u);
  f.bytes.Add({1});
  f.tracker.EnterSpin(9);
  EXPECT_EQ(f.tracker.HistoryRowCount(), 1u);
  EXPECT_EQ(f.window.rows, 1);
  EXPECT_EQ(f.tracker.HistoryCellText(0, HistoryColumn::kRed), "9");
}

TEST(StakeButton, StepsTheBaseStakeWhileItsWindowIsOpen) {
  TrackerFixture f("2", {0});
  for (int i = 0; i < 8; ++i) f.tracker.OnStakeButton();  // 1, 2, ..., 8
  EXPECT_EQ(f.State().baseStake, 8);
  const char* shown[] = {"STAKE $9", "STAKE $10", "STAKE $1", "STAKE $2", "STAKE $3"};
  for (const char* text : shown) {
    f.tracker.OnStakeButton();
    EXPECT_EQ(f.window.Panel(control::kStatusPanel), text);
    EXPECT_EQ(f.window.timers[timer::kStakeWindow], 2000);
  }
  EXPECT_EQ(f.State().stake, 3);
  EXPECT_TRUE(f.tracker.StakeChangeWindowOpen());
  // The ticker keeps its advice until the window closes.
  EXPECT_EQ(f.window.panelWrites[control::kAdviceTicker], 1);

  f.tracker.OnTimerTick(timer::kStakeWindow);
  EXPECT_FALSE(f.tracker.StakeChangeWindowOpen());
  EXPECT_EQ(f.window.timers.count(timer::kStakeWindow), 0u);
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SPIN 0");
  EXPECT_EQ(f.window.Advice(),
            "  You are using system MODENT       Your first bet is $3 on (Reds).    ");
  // A fresh window shows the stake before stepping it.
  f.tracker.OnStakeButton();
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "STAKE $3");
}

TEST(StakeButton, ASpinInsideTheWindowUsesTheNewStake) {
  TrackerFixture f("2", {0});
  f.tracker.OnStakeButton();
  f.tracker.OnStakeButton();
  f.tracker.OnStakeButton();  // base 3
  f.bytes.Add({0});
  f.tracker.EnterSpin(2);
  EXPECT_EQ(f.State().bank, -3);
  f.tracker.OnTimerTick(timer::kStakeWindow);
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SPIN 1");
  EXPECT_EQ(f.window.Advice(), "         Your next bet is $4 on (Reds).    ");
}

TEST(StakeButton, DoesNothingOnceStarted) {
  TrackerFixture f("1", {1});
  f.bytes.Add({2});
  f.tracker.EnterSpin(5);
  f.tracker.Rewind();  // still started
  const auto events = f.window.events.size();
  f.tracker.OnStakeButton();
  EXPECT_EQ(f.window.events.size(), events);
  EXPECT_EQ(f.State().baseStake, 1);
}

TEST(SystemButton, CyclesSystemsAndStoresTheChoice) {
  TrackerFixture f("5", {9, 1, 2});
  EXPECT_EQ(f.tracker.StoredSystemText(), "5");
  f.tracker.OnSystemButton();
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SY  DALQUE");
  EXPECT_EQ(f.window.timers[timer::kSystemWindow], 2000);
  EXPECT_EQ(f.State().betCodes.size(), 1u);
  EXPECT_EQ(f.tracker.StoredSystemText(), "5");

  f.bytes.Add({30});
  f.tracker.OnSystemButton();
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SY  KAVRI");
  EXPECT_EQ(f.State().betCodes, std::vector<BetCode>{30});
  EXPECT_EQ(f.window.Advice(),
            "  You are using system KAVRI       Your first bet is $1 on (30).    ");

  f.bytes.Add({4});
  f.tracker.OnSystemButton();
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SY  MODENT");
  EXPECT_EQ(f.window.Panel(control::kBankPanel), "BANK $0");
  EXPECT_EQ(f.State().betCodes, std::vector<BetCode>{544});
  EXPECT_EQ(f.tracker.StoredSystemText(), "2");

  f.tracker.OnTimerTick(timer::kSystemWindow);
  EXPECT_FALSE(f.tracker.SystemChangeWindowOpen());
  EXPECT_EQ(f.window.timers.count(timer::kSystemWindow), 0u);
  EXPECT_EQ(f.window.Panel(control::kStatusPanel), "SPIN 0");
}

TEST(SystemButton, OnePressStoresTheUnchangedSystem) {
  TrackerFixture f("abc", {3});
  f.tracker.OnSystemButton();
  EXPECT_EQ(f.State().systemNumber, 1);
  EXPECT_EQ(f.tracker.StoredSystemText(), "1");
}

TEST(SystemButton, ExportsOnceStarted) {
  TrackerFixture f("2", {0});
  f.bytes.Add({0});
  f.tracker.EnterSpin(2);
  f.tracker.OnSystemButton();
  ASSERT_EQ(f.window.savedReports.size(), 1u);
  EXPECT_EQ(f.State().systemNumber, 2);
  EXPECT_EQ(f.window.timers.count(timer::kSystemWindow), 0u);
  EXPECT_EQ(f.tracker.StoredSystemText(), "2");
}

TEST(TimerTicks, BlinkHidesThenShowsTheAdvisedBoxes) {
  TrackerFixture f("3", {1, 3});  // Second and Evens
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_TRUE(f.window.visible.empty());
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_EQ(f.window.visible, (std::set<int>{control::kFadedLiveWheel, control::kSecondOverlay,
                                             control::kEvensOverlay}));
  EXPECT_EQ(f.window.Panel(control::kNumberPanel), " ");
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_TRUE(f.window.visible.empty());

  // After a spin the LIVE WHEEL face stops blinking; a straight-up number shows in its panel.
  f.bytes.Add({0, 0});
  f.tracker.EnterSpin(13);
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_EQ(f.window.visible, (std::set<int>{control::kSavePicture, control::kGreyedSystem,
                                             control::kFirstOverlay, control::kRedsOverlay}));
}

TEST(TimerTicks, NumberPanelShowsTheStraightUpNumber) {
  TrackerFixture f("1", {0});
  f.tracker.OnTimerTick(timer::kBlink);
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_EQ(f.window.Panel(control::kNumberPanel), "0");
  EXPECT_EQ(f.window.visible, std::set<int>{control::kFadedLiveWheel});
}

TEST(TimerTicks, CaptionShowsTheUpdateCheck) {
  TrackerFixture f("1", {0});
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_EQ(f.window.caption, "V 5.004 Wheelwatcher  ");
  f.tracker.OnUpdateCheckStarted();
  f.tracker.OnTimerTick(timer::kBlink);  // showing phase
  EXPECT_EQ(f.window.caption, "Updating.. ");
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_EQ(f.window.caption, "Updating ");
  f.tracker.OnUpdateCheckFinished();
  f.tracker.OnUpdateCheckFinished();  // never below zero
  EXPECT_EQ(f.tracker.BusyCount(), 0);
  f.tracker.OnTimerTick(timer::kBlink);
  EXPECT_EQ(f.window.caption, "V 5.004 Wheelwatcher  ");
  f.tracker.OnUpdateCheckStarted();
  EXPECT_EQ(f.tracker.BusyCount(), 1);
}

TEST(TimerTicks, UnknownTimerDoesNothing) {
  TrackerFixture f("1", {0});
  const auto events = f.window.events.size();
  f.tracker.OnTimerTick(7);
  EXPECT_EQ(f.window.events.size(), events);
}

TEST(RegionClick, SoundFirstThenTheAction) {
  TrackerFixture f("1", {0});
  struct Case {
    int code;
    std::vector<std::string> firstEvents;
    bool nothingElse;
  };
  const Case cases[] = {
      {region::kLiveWheel, {"click", "live wheel"}, true},
      {region::kHelp, {"click", "help"}, true},
      {region::kStake, {"click", "start timer 2 2000"}, false},
      {region::kSystem, {"click", "start timer 3 2000"}, false},
      {45, {"click"}, true},
      {region::kNone, {}, true},
      {12345, {}, true},
      {-1, {}, true},
  };
  for (const Case& c : cases) {
    f.window.events.clear();
    f.tracker.OnRegionClicked(c.code);
    const auto& events = f.window.events;
    ASSERT_GE(events.size(), c.firstEvents.size()) << c.code;
    EXPECT_TRUE(std::equal(c.firstEvents.begin(), c.firstEvents.end(), events.begin())) << c.code;
    if (c.nothingElse) {
      EXPECT_EQ(events.size(), c.firstEvents.size()) << c.code;
    }
  }
}

TEST(RegionClick, NumbersRewindAndClearAll) {
  TrackerFixture f("1", {0});
  f.bytes.Add({1, 2});
  f.window.events.clear();
  f.tracker.OnRegionClicked(17);
  EXPECT_EQ(f.window.events.front(), "click");
  EXPECT_EQ(f.State().spins, std::vector<std::int32_t>{17});
  f.tracker.OnRegionClicked(0);
  EXPECT_EQ(f.State().spins, (std::vector<std::int32_t>{17, 0}));
  f.tracker.OnRegionClicked(region::kRewind);
  EXPECT_EQ(f.State().spins, std::vector<std::int32_t>{17});
  f.bytes.Add({3});
  f.tracker.OnRegionClicked(region::kClearAll);
  EXPECT_TRUE(f.State().spins.empty());
  EXPECT_FALSE(f.State().started);
}

}  // namespace

// A line that falls due by the clock (a guardrail's time) comes long after the last spin: it
// goes ahead of the advice without that spin's win, which the advice after a spin repeats.
TEST(ShowAdvice, LeavesTheLastWinOutOfALineThatComesLater) {
  TrackerFixture f("2", {0});
  f.bytes.Add({1});
  f.tracker.EnterSpin(7);
  ASSERT_NE(f.window.Advice().find("You've just won $2"), std::string::npos) << f.window.Advice();
  f.tracker.ShowAdvice(" TIME LIMIT REACHED: 1 MINUTE     ", false);
  EXPECT_EQ(f.window.Advice().find("You've just won"), std::string::npos) << f.window.Advice();
  EXPECT_EQ(f.window.Advice().rfind(" TIME LIMIT REACHED: 1 MINUTE", 0), 0u) << f.window.Advice();
  EXPECT_EQ(f.State().winMessage, "      You've just won $2");  // the table keeps it
}

}  // namespace wheelwatcher
