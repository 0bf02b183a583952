// SPDX-License-Identifier: GPL-3.0-or-later
// Random presses on the real window, the table checked after each one. The number of presses comes
// from WHEELWATCHER_SOAK_PRESSES; the default keeps the ordinary test run short.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QAbstractItemView>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "engine/history_column.h"
#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

constexpr long kDefaultPresses = 2000;

long PressCount() {
  const char* text = std::getenv("WHEELWATCHER_SOAK_PRESSES");
  const long count = text ? std::strtol(text, nullptr, 10) : 0;
  return count > 0 ? count : kDefaultPresses;
}

// Heap in use, large mapped blocks included; 0 where malloc is not glibc's own (sanitizers).
std::size_t HeapInUse() {
  const struct mallinfo2 heap = mallinfo2();
  return heap.uordblks + heap.hblkhd;
}

// Numbers most of the time, as at a table; the buttons often enough to meet every state.
int PickRegion(std::minstd_rand& choose) {
  const int roll = static_cast<int>(choose() % 100);
  if (roll < 55) return static_cast<int>(choose() % 37);
  if (roll < 72) return region::kRewind;
  if (roll < 75) return region::kClearAll;
  if (roll < 87) return region::kStake;
  return region::kSystem;
}

int RowsOf(CMainDialog& window, int columnId) {
  return static_cast<QAbstractItemView*>(window.Control(columnId))->model()->rowCount();
}

// Everything that must hold between two presses; returns what is broken, or nothing.
std::string BrokenInvariant(MainWindowDriver& driver) {
  const TableState& state = driver.Tracker().State();
  const std::size_t spins = state.spins.size();
  if (state.betCodes.size() != spins + 1) return "bet-code history not one longer than spins";
  if (state.bankHistory.size() != spins + 1) return "bank history not one longer than spins";
  if (state.deficitHistory.size() != spins + 1) return "deficit history not one longer than spins";
  if (state.bankHistory.back() != state.bank) return "last bank entry is not BANK";
  if (state.deficitHistory.back() != state.deficit) return "last deficit entry is not the deficit";
  if (static_cast<std::size_t>(state.spinCount) != spins) return "SPIN count is not the spins held";
  if (driver.Tracker().HistoryRowCount() != spins) return "History rows are not the spins held";
  for (int column : {control::kRedColumn, control::kZeroColumn, control::kBlackColumn}) {
    if (RowsOf(driver.Window(), column) != static_cast<int>(spins)) {
      return "a History column shows other than one row per spin";
    }
  }
  if (spins > 0) {
    const int newest = state.spins.back();
    if (driver.Tracker().HistoryCellText(0, HistoryColumnOf(newest)) != std::to_string(newest)) {
      return "the top History row is not the newest spin";
    }
  }
  for (int id : {control::kSavePicture, control::kGreyedSystem}) {
    if (driver.Window().Control(id)->isVisible() != state.started) {
      return "SAVE or greyed SYSTEM shown other than while started";
    }
  }
  return {};
}

}  // namespace

TEST(SoakTest, RandomPressesKeepTheTableWholeAndTheHeapBounded) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString target = folder.filePath(QStringLiteral("history.txt"));
  int saveAnswers = 0;
  // The export dialog is cancelled and answered in turn.
  MainWindowDriver driver([&] { return saveAnswers++ % 2 == 0 ? QString() : target; });
  ASSERT_TRUE(driver.Exposed());
  for (int code : {0, 36, region::kRewind, region::kClearAll, region::kStake, region::kSystem}) {
    ASSERT_TRUE(driver.CanPress(code)) << "no place to press region " << code;
  }

  std::minstd_rand choose(2024);
  const long presses = PressCount();
  const long warmUp = std::min(presses / 10, 300L);
  std::size_t baseline = 0;
  std::size_t mostSpinsHeld = 0;
  std::size_t worstHeap = 0;
  for (long press = 0; press < presses; ++press) {
    const int code = PickRegion(choose);
    const bool exports = code == region::kSystem && driver.Tracker().State().started;
    const int shownBefore = driver.SaveDialogsShown();
    QFile::remove(target);
    driver.Press(code);

    const std::string broken = BrokenInvariant(driver);
    ASSERT_TRUE(broken.empty()) << broken << " after press " << press << " on region " << code;
    if (exports) {
      ASSERT_EQ(driver.SaveDialogsShown(), shownBefore + 1) << "press " << press;
      // Answers alternate, starting with a cancel: an even count of answers means it was written.
      ASSERT_EQ(QFile::exists(target), saveAnswers % 2 == 0) << "press " << press;
    }
    ASSERT_EQ(driver.SaveFailures(), 0);

    mostSpinsHeld = std::max(mostSpinsHeld, driver.Tracker().State().spins.size());
    if (press == warmUp) baseline = HeapInUse();
    if (press > warmUp && code == region::kClearAll) worstHeap = std::max(worstHeap, HeapInUse());
  }

  // After CLEAR ALL only the histories' spare room may remain: 24 bytes a spin held, doubled for
  // the growth of their vectors, and some slack for Qt's caches.
  if (baseline != 0 && worstHeap != 0) {
    const std::size_t allowed = baseline + 2 * 24 * mostSpinsHeld + 512 * 1024;
    EXPECT_LE(worstHeap, allowed) << "heap grew beyond the spins held (baseline " << baseline
                                  << ", most spins held " << mostSpinsHeld << ")";
  }
}

}  // namespace wheelwatcher
