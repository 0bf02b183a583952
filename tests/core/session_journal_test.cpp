// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/session_journal.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/control_ids.h"
#include "engine/region_code.h"
#include "table/session_recorder.h"
#include "tracker_test_support.h"

namespace wheelwatcher {

namespace {

class JournalLines : public SessionRecorder {
 public:
  void Append(const std::string& lines) override { text += lines; }
  std::string text = FormatJournalHeader();
};

// A table played by the scripted presses, its journal kept as it goes.
struct PlayedTable {
  explicit PlayedTable(const std::string& storedSystem, unsigned seed) : tracker(window, bytes) {
    std::mt19937 draws(seed);
    for (int i = 0; i < 4000; ++i) bytes.bytes.push_back(static_cast<std::uint8_t>(draws()));
    tracker.SetRecorder(&journal);
    tracker.Start("$", storedSystem, "V 5.004");
  }
  FakeTrackerWindow window;
  ScriptedRandomBytes bytes;
  JournalLines journal;
  SpinTracker tracker;
};

// A fresh window that resumes the journal, as a new run of the program does.
struct ResumedTable {
  ResumedTable() : tracker(window, bytes) {
    bytes.Add({9, 9, 9});  // its own first bet, which the resume replaces
    window.refilledRows = [this] { return static_cast<long>(tracker.HistoryRowCount()); };
    tracker.Start("$", "1", "V 5.004");
  }
  FakeTrackerWindow window;
  ScriptedRandomBytes bytes;
  SpinTracker tracker;
};

constexpr int kStake = 1000;   // a press of STAKE
constexpr int kSystem = 1001;  // a press of SYSTEM
constexpr int kCloseWindows = 1002;

void Press(SpinTracker& tracker, int what) {
  switch (what) {
    case kStake:
      tracker.OnRegionClicked(region::kStake);
      break;
    case kSystem:
      tracker.OnRegionClicked(region::kSystem);
      break;
    case kCloseWindows:
      tracker.OnTimerTick(timer::kStakeWindow);
      tracker.OnTimerTick(timer::kSystemWindow);
      break;
    default:
      tracker.OnRegionClicked(what);
  }
}

void ExpectSameTable(const SpinTracker& resumed, const FakeTrackerWindow& resumedWindow,
                     const SpinTracker& played, const FakeTrackerWindow& playedWindow) {
  const TableState& r = resumed.State();
  const TableState& p = played.State();
  EXPECT_EQ(r.spins, p.spins);
  EXPECT_EQ(r.betCodes, p.betCodes);
  EXPECT_EQ(r.bankHistory, p.bankHistory);
  EXPECT_EQ(r.deficitHistory, p.deficitHistory);
  EXPECT_EQ(r.spinCount, p.spinCount);
  EXPECT_EQ(r.baseStake, p.baseStake);
  EXPECT_EQ(r.bank, p.bank);
  EXPECT_EQ(r.stake, p.stake);
  EXPECT_EQ(r.systemNumber, p.systemNumber);
  EXPECT_EQ(r.deficit, p.deficit);
  EXPECT_EQ(r.winMessage, p.winMessage);
  EXPECT_EQ(r.started, p.started);
  ASSERT_EQ(resumed.HistoryRowCount(), played.HistoryRowCount());
  EXPECT_EQ(resumedWindow.rows, playedWindow.rows);
  for (std::size_t row = 0; row < played.HistoryRowCount(); ++row) {
    for (HistoryColumn column :
         {HistoryColumn::kRed, HistoryColumn::kZero, HistoryColumn::kBlack}) {
      EXPECT_EQ(resumed.HistoryCellText(row, column), played.HistoryCellText(row, column)) << row;
    }
  }
  for (int id : {control::kStatusPanel, control::kBankPanel}) {
    EXPECT_EQ(resumedWindow.Panel(id), playedWindow.Panel(id)) << id;
  }
  for (int id : {control::kSavePicture, control::kGreyedSystem}) {
    EXPECT_EQ(resumedWindow.IsVisible(id), playedWindow.IsVisible(id)) << id;
  }
}

// Whatever was pressed, a resumed table is the table that was left: money, History, panels, the
// advice (after the resume's own lead-in), what blinks next, and the advice after the next spin.
TEST(SessionJournal, ResumeBringsBackTheTableThatWasLeft) {
  struct Case {
    const char* name;
    const char* storedSystem;
    std::vector<int> presses;
    std::size_t spinsKept;
  };
  std::vector<int> longLosing;
  for (int i = 0; i < 300; ++i) longLosing.push_back((i * 7) % 37);
  const Case cases[] = {
      {"KAVRI, plain spins", "1", {17, 4, 0, 33, 17, 21}, 6},
      {"VESPIN at base stake 3, deep and long", "4",
       [&] {
         std::vector<int> presses = {kStake, kStake, kStake, kCloseWindows};
         presses.insert(presses.end(), longLosing.begin(), longLosing.end());
         return presses;
       }(),
       300},
      {"SYSTEM pressed to TRAVO before the first spin",
       "1",
       {kSystem, kSystem, kSystem, kCloseWindows, 5, 12, 30},
       3},
      {"ends with REWIND after a win", "2", {1, 2, 3, 4, 5, 6, 7, region::kRewind}, 6},
      {"rewound to no spin and played again",
       "5",
       {8, 9, region::kRewind, region::kRewind, 10, 11},
       2},
      {"CLEAR ALL, then a new system and session",
       "3",
       {1, 2, 3, region::kClearAll, kSystem, kSystem, kCloseWindows, 20, 21},
       2},
      {"four repeats: numbers without a draw", "1", {3, 3, 3, 3, 3, 3}, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlayedTable played(c.storedSystem, 42);
    for (int press : c.presses) Press(played.tracker, press);

    const JournalReading reading = ReadJournal(played.journal.text);
    ASSERT_EQ(reading.problem, "");
    ASSERT_TRUE(reading.session);
    EXPECT_EQ(reading.session->spins, c.spinsKept);

    ResumedTable resumed;
    const std::string leadIn = " Session resumed.     ";
    ASSERT_EQ(resumed.tracker.Resume(*reading.session, leadIn), "");
    ExpectSameTable(resumed.tracker, resumed.window, played.tracker, played.window);
    // The player's advice was shown with the lead-in " ".
    EXPECT_EQ(resumed.window.Advice(), leadIn + played.window.Advice().substr(1));

    // The blinking boxes: the next showing phase lights what it lit before.
    for (FakeTrackerWindow* window : {&resumed.window, &played.window}) window->visible.clear();
    resumed.tracker.ShowHighlights();
    played.tracker.ShowHighlights();
    EXPECT_EQ(resumed.window.visible, played.window.visible);
    EXPECT_EQ(resumed.window.Panel(control::kNumberPanel),
              played.window.Panel(control::kNumberPanel));

    // Play goes on identically: the same next draws give the same next advice.
    for (std::uint8_t byte : {0x51, 0x0c, 0xe7}) {
      resumed.bytes.bytes.push_front(byte);
      played.bytes.bytes.push_front(byte);
    }
    resumed.tracker.EnterSpin(26);
    played.tracker.EnterSpin(26);
    EXPECT_EQ(resumed.window.Advice(), played.window.Advice());
    ExpectSameTable(resumed.tracker, resumed.window, played.tracker, played.window);
  }
}

TEST(SessionJournal, RecordsEachChangeBeforeItsAdviceIsShown) {
  PlayedTable played("4", 7);
  std::vector<std::string> adviceAtEachAppend;
  struct Spy : SessionRecorder {
    std::function<void()> onAppend;
    void Append(const std::string&) override { onAppend(); }
  } spy;
  spy.onAppend = [&] { adviceAtEachAppend.push_back(played.window.Advice()); };
  played.tracker.SetRecorder(&spy);
  const std::string welcome = played.window.Advice();
  played.tracker.EnterSpin(12);
  const std::string afterSpin = played.window.Advice();
  played.tracker.Rewind();
  const std::string afterRewind = played.window.Advice();
  played.tracker.ClearAll();
  EXPECT_EQ(adviceAtEachAppend, (std::vector<std::string>{welcome, afterSpin, afterRewind}));
}

// Journals as a crash, a disk or a person may leave them. Nothing misread: either the session the
// complete lines hold, or none at all with a reason.
TEST(SessionJournal, DamagedJournalsAreRecognised) {
  PlayedTable played("1", 3);
  for (int number : {5, 6, 7}) played.tracker.EnterSpin(number);
  const std::string whole = played.journal.text;
  const std::size_t lastLineStart = whole.rfind('\n', whole.size() - 2) + 1;
  const std::string header = FormatJournalHeader();
  std::string flipped = whole;
  flipped[header.size() + 8] ^= 0x01;  // a byte inside the begin line

  struct Case {
    const char* name;
    std::string text;
    std::size_t spins;  // 0: no session
    const char* problem;
    bool torn;
  };
  const Case cases[] = {
      {"whole", whole, 3, "", false},
      {"torn inside the last line", whole.substr(0, whole.size() - 5), 2, "", true},
      {"torn before the last line end", whole.substr(0, whole.size() - 1), 2, "", true},
      {"last line overwritten with zeros",
       whole.substr(0, lastLineStart) + std::string(12, '\0') + "\n", 2, "", true},
      {"a byte changed in an earlier line", flipped, 0, "line 2 is damaged", false},
      {"newer version",
       "wheelwatcher-journal 2 *" +
           [] {
             char crc[9];
             std::snprintf(crc, sizeof crc, "%08x", JournalChecksum("wheelwatcher-journal 2"));
             return std::string(crc);
           }() +
           "\n" + whole.substr(header.size()),
       0, "it was written by a newer version of Wheelwatcher", false},
      {"garbage",
       "\x7f"
       "ELF\x02\x01\x01 binary\n\n",
       0, "it is not a Wheelwatcher journal", false},
      {"empty", "", 0, "it is empty", false},
      {"only a torn header", header.substr(0, 10), 0, "it is empty", true},
      {"huge", std::string(kJournalMaxBytes + 1, '\n'), 0, "it is too large", false},
      {"ended by CLEAR ALL", whole + FormatJournalRecord(JournalRecord::Clear()), 0, "", false},
      {"a spin out of range, checksum and all",
       whole + FormatJournalRecord(JournalRecord::Spin(37, {})), 0, "line 6 is damaged", false},
      {"four draws for one bet", whole + FormatJournalRecord(JournalRecord::Spin(1, {1, 2, 3, 4})),
       0, "line 6 is damaged", false},
      {"a spin before any session", header + FormatJournalRecord(JournalRecord::Spin(1, {1})), 0,
       "line 2 comes before the session begins", false},
      {"CR LF line ends",
       [&] {
         std::string crlf;
         for (char c : whole) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
         return crlf;
       }(),
       0, "it is not a Wheelwatcher journal", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const JournalReading reading = ReadJournal(c.text);
    EXPECT_EQ(reading.problem, c.problem);
    EXPECT_EQ(reading.tornLastLineDropped, c.torn);
    EXPECT_EQ(reading.session ? reading.session->spins : 0u, c.spins);
  }
}

// A journal that reads well but does not fit the rules (edited by hand, checksums recomputed)
// leaves the fresh table untouched.
TEST(SessionJournal, AResumeThatDoesNotFitLeavesTheTableAlone) {
  struct Case {
    const char* name;
    std::vector<JournalRecord> records;
  };
  const Case cases[] = {
      {"KAVRI's first bet with two draws",
       {JournalRecord::Begin(1, 1, {1, 2}), JournalRecord::Spin(4, {5})}},
      {"a spin's bet without its draw",
       {JournalRecord::Begin(2, 1, {1}), JournalRecord::Spin(4, {})}},
      {"a second begin", {JournalRecord::Begin(1, 1, {1}), JournalRecord::Begin(1, 1, {1})}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResumedTable table;
    const TableState before = table.tracker.State();
    const std::string adviceBefore = table.window.Advice();
    JournalSession session{c.records, 1};
    EXPECT_NE(table.tracker.Resume(session, " Resumed "), "");
    EXPECT_EQ(table.tracker.State().betCodes, before.betCodes);
    EXPECT_EQ(table.tracker.State().systemNumber, before.systemNumber);
    EXPECT_TRUE(table.tracker.State().spins.empty());
    EXPECT_EQ(table.window.Advice(), adviceBefore);
  }
}

}  // namespace

}  // namespace wheelwatcher
