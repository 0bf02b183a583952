// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/region_code.h"
#include "lab/replay.h"
#include "lab/spin_file.h"
#include "table/session_journal.h"
#include "table/session_recorder.h"
#include "tests/core/tracker_test_support.h"

namespace wheelwatcher {

namespace {

class JournalText : public SessionRecorder {
 public:
  void Append(const std::string& lines) override { text += lines; }
  std::string text = FormatJournalHeader();
};

// The window plays an evening with REWINDs and a CLEAR ALL and keeps its journal; the lab replays
// the journal. For the system and base stake the journal recorded, every run is the evening the
// window showed: its BANK after every spin is the window's, however many runs.
TEST(JournalReplay, TheLabsBankIsTheWindowsAfterEverySpin) {
  for (int system = 1; system <= 5; ++system) {
    SCOPED_TRACE("system " + std::to_string(system));
    FakeTrackerWindow window;
    ScriptedRandomBytes bytes;
    std::mt19937 source(static_cast<unsigned>(system));
    for (int i = 0; i < 6000; ++i) bytes.Add({static_cast<int>(source() % 256)});
    SpinTracker tracker(window, bytes);
    JournalText journal;
    tracker.SetRecorder(&journal);
    tracker.Start("$", std::to_string(system), "V 5.004");
    for (int i = 0; i < 40; ++i) tracker.EnterSpin(static_cast<int>(source() % 37));
    tracker.ClearAll();
    for (int press = 0; press < 3; ++press) tracker.OnStakeButton();  // shows 1, then 2, then 3
    for (int i = 0; i < 1500; ++i) {
      const int number = static_cast<int>(source() % 37);
      tracker.OnRegionClicked(i % 97 == 50 ? region::kRewind : number);
    }

    const SpinFile file = ReadSpinFile("evening.journal", journal.text);
    ASSERT_EQ(file.error, "");
    ASSERT_TRUE(file.recorded);
    EXPECT_EQ(file.recorded->systemNumber, system);
    EXPECT_EQ(file.recorded->baseStake, tracker.State().baseStake);
    ASSERT_EQ(file.spins, tracker.State().spins);

    ReplaySettings settings;
    settings.systems = {system, system % 5 + 1};
    settings.baseStake = file.recorded->baseStake;
    settings.runs = 3;
    const ReplayResult result =
        RunReplay(settings, "evening.journal", file.spins, file.recorded, nullptr);
    const SystemReplay& replayed = result.systems[0];
    const std::vector<Money>& banks = tracker.State().bankHistory;
    ASSERT_EQ(replayed.afterSpin.size() + 1, banks.size());
    for (std::size_t spin = 0; spin < replayed.afterSpin.size(); ++spin) {
      const ReplayStep& step = replayed.afterSpin[spin];
      ASSERT_EQ(step.meanBank, static_cast<double>(banks[spin + 1])) << spin;
      ASSERT_EQ(step.p5Bank, step.p95Bank) << spin;
    }
    // The other system has no recorded draws: its runs differ from one another.
    const SystemReplay& other = result.systems[1];
    EXPECT_NE(other.afterSpin.back().p5Bank, other.afterSpin.back().p95Bank);
  }
}

}  // namespace

}  // namespace wheelwatcher
