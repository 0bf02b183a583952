// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "systems/advice_text.h"
#include "tracker_test_support.h"

namespace wheelwatcher {

namespace {

class SeededRandomBytes : public RandomBytes {
 public:
  explicit SeededRandomBytes(unsigned seed) : engine_(seed) {}
  std::uint8_t NextByte() override { return static_cast<std::uint8_t>(engine_() & 0xFF); }

 private:
  std::mt19937 engine_;
};

class ConstantRandomBytes : public RandomBytes {
 public:
  std::uint8_t NextByte() override { return 0; }
};

// What the player saw after a spin: the table and the advice without its lead-in and win message.
struct Snapshot {
  TableState state;
  std::string adviceTail;
  std::string statusPanel;
  std::string bankPanel;
};

std::string AdviceTail(const std::string& advice, std::size_t leadInSize,
                       const std::string& winMessage) {
  return advice.substr(leadInSize + winMessage.size());
}

bool IsCodeOfSystem(BetCode code, int system) {
  const BetCodeParts p = SplitBetCode(code);
  const bool number = p.number >= 0 && p.number <= 36;
  const bool even = p.evenChance >= 100 && p.evenChance <= 600;
  const bool dozen = p.dozenColumn >= 1000 && p.dozenColumn <= 6000;
  switch (system) {
    case 1:
      return number && p.evenChance == 0 && p.dozenColumn == 0;
    case 2:
      return p.number == kNoNumber && even && p.dozenColumn == 0;
    case 3:
      return p.number == kNoNumber && even && dozen;
    default:  // an even chance only together with a dozen or column
      return number && (p.evenChance == 0 || even) && (p.dozenColumn == 0 || dozen) &&
             (dozen || !even);
  }
}

void ExpectInvariants(const SpinTracker& tracker, const FakeTrackerWindow& window) {
  const TableState& s = tracker.State();
  const std::size_t spins = s.spins.size();
  ASSERT_EQ(s.betCodes.size(), spins + 1);
  ASSERT_EQ(s.bankHistory.size(), spins + 1);
  ASSERT_EQ(s.deficitHistory.size(), spins + 1);
  EXPECT_EQ(s.bankHistory.back(), s.bank);
  EXPECT_EQ(s.deficitHistory.back(), s.deficit);
  EXPECT_EQ(s.spinCount, static_cast<std::int64_t>(spins));
  EXPECT_EQ(tracker.HistoryRowCount(), spins);
  EXPECT_EQ(window.rows, static_cast<long>(spins));
  EXPECT_GE(s.deficit, 0);
  EXPECT_GE(s.stake, s.baseStake);
  EXPECT_TRUE(IsCodeOfSystem(s.betCodes.back(), s.systemNumber)) << s.betCodes.back();
  EXPECT_EQ(window.Panel(control::kBankPanel), "BANK $" + std::to_string(s.bank));
  if (spins > 0) {
    const int newest = s.spins.back();
    EXPECT_EQ(tracker.HistoryCellText(0, HistoryColumnOf(newest)), std::to_string(newest));
  }
  EXPECT_TRUE(window.Advice().ends_with(".    "));
}

void RunRandomSession(int system, unsigned seed, int operations) {
  SCOPED_TRACE("system " + std::to_string(system) + " seed " + std::to_string(seed));
  FakeTrackerWindow window;
  SeededRandomBytes bytes(seed);
  SpinTracker tracker(window, bytes);
  tracker.Start("$", std::to_string(system), "V 5.004");

  std::vector<Snapshot> snapshots;
  auto takeSnapshot = [&](std::size_t leadInSize) {
    return Snapshot{tracker.State(),
                    AdviceTail(window.Advice(), leadInSize, tracker.State().winMessage),
                    window.Panel(control::kStatusPanel), window.Panel(control::kBankPanel)};
  };
  snapshots.push_back(takeSnapshot(kWelcomeLeadIn.size()));

  std::mt19937 choices(seed * 7919u + 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> number(0, 36);
  for (int op = 0; op < operations; ++op) {
    const int roll = percent(choices);
    if (roll < 65) {
      tracker.EnterSpin(number(choices));
      snapshots.push_back(takeSnapshot(1));
    } else if (roll < 92) {
      tracker.Rewind();
      if (snapshots.size() > 1) snapshots.pop_back();
      const Snapshot& expected = snapshots.back();
      const TableState& s = tracker.State();
      ASSERT_EQ(s.spins, expected.state.spins);
      ASSERT_EQ(s.betCodes, expected.state.betCodes);
      ASSERT_EQ(s.bankHistory, expected.state.bankHistory);
      ASSERT_EQ(s.deficitHistory, expected.state.deficitHistory);
      EXPECT_EQ(s.bank, expected.state.bank);
      EXPECT_EQ(s.deficit, expected.state.deficit);
      EXPECT_EQ(s.stake, expected.state.stake);
      EXPECT_EQ(s.winMessage, " ");
      EXPECT_EQ(window.Advice(), "  " + expected.adviceTail);
      EXPECT_EQ(window.Panel(control::kStatusPanel), expected.statusPanel);
      EXPECT_EQ(window.Panel(control::kBankPanel), expected.bankPanel);
    } else if (roll < 94) {
      tracker.ClearAll();
      EXPECT_FALSE(tracker.State().started);
      snapshots.assign(1, takeSnapshot(1));
    } else {
      // Buttons and timer ends; before the first spin they may change the system or stake.
      const bool started = tracker.State().started;
      const std::size_t saved = window.savedReports.size();
      switch (roll) {
        case 94:
        case 95:
          tracker.OnStakeButton();
          break;
        case 96:
          tracker.OnSystemButton();
          if (started) {
            ASSERT_EQ(window.savedReports.size(), saved + 1);
          }
          break;
        default:
          tracker.OnTimerTick(roll - 96);
          break;
      }
      if (!started) {
        // A rewind shows the advice and the SPIN count again, whatever the button showed.
        snapshots.assign(1, takeSnapshot(1));
        snapshots[0].statusPanel = "SPIN 0";
      }
    }
    ExpectInvariants(tracker, window);
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(TrackerInvariants, LongRandomSessionsOfEverySystem) {
  for (int system = 1; system <= 5; ++system) {
    for (unsigned seed : {1u, 2u, 3u}) {
      RunRandomSession(system, seed + 100u * system, 4000);
    }
  }
}

// A player entering 0 again and again against an even-chance progression: the deficit and
// STAKE double every spin and leave 32 and then 64 bits far behind.
TEST(TrackerInvariants, EndlessLossesSaturateInsteadOfWrapping) {
  FakeTrackerWindow window;
  ConstantRandomBytes bytes;  // always Reds
  SpinTracker tracker(window, bytes);
  tracker.Start("$", "2", "");
  Money previousBank = 0;
  for (int spin = 1; spin <= 100; ++spin) {
    tracker.EnterSpin(0);
    const TableState& s = tracker.State();
    ASSERT_LT(s.bank, 0) << spin;
    ASSERT_LE(s.bank, previousBank) << spin;
    ASSERT_GE(s.deficit, 0) << spin;
    ASSERT_GE(s.stake, 1) << spin;
    previousBank = s.bank;
    if (spin <= 62) {
      // Lost 1 + 2 + ... + 2^(spin-1): exact as long as it fits.
      const Money lost = (Money{1} << spin) - 1;
      ASSERT_EQ(s.bank, -lost) << spin;
      ASSERT_EQ(s.deficit, lost) << spin;
    }
    if (spin == 31) {
      EXPECT_EQ(window.Panel(control::kBankPanel), "BANK $-2147483647");
    }
    if (spin == 32) {
      EXPECT_EQ(window.Panel(control::kBankPanel), "BANK $-4294967295");
    }
  }
  EXPECT_EQ(tracker.State().bank, std::numeric_limits<Money>::min());
  EXPECT_EQ(tracker.State().stake, std::numeric_limits<Money>::max());
  EXPECT_EQ(window.Panel(control::kBankPanel), "BANK $-9223372036854775808");
  // REWIND still finds every earlier amount exactly.
  for (int spin = 100; spin > 30; --spin) tracker.Rewind();
  EXPECT_EQ(tracker.State().bank, -((Money{1} << 30) - 1));
  EXPECT_EQ(tracker.State().stake, Money{1} << 30);
}

}  // namespace

}  // namespace wheelwatcher
