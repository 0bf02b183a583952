// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/history_column.h"
#include "engine/money.h"
#include "engine/settlement.h"
#include "engine/table_state.h"

class RandomBytes;
class TrackerWindow;

// What the status panel shows besides "BANK": the SPIN count, the STAKE or the system's name.
enum class StatusMode { kSpin, kStake, kSystem };

// The table and everything that changes it: spins, REWIND, CLEAR ALL, the STAKE and SYSTEM
// buttons, the timer ticks and the click dispatch. It tells the window what to show.
class SpinTracker {
 public:
  SpinTracker(TrackerWindow& window, RandomBytes& randomBytes);

  // The table's share of the window's start-up: caption, hidden overlays and button faces,
  // currency, timer 1, the first entries of the bank and deficit histories, the stored system,
  // the first bet and the welcome advice.
  void Start(std::string_view localeCurrencySymbol, std::string storedSystemText,
             std::string versionText);

  // A click after the hit test: the click sound for every region, then its action.
  void OnRegionClicked(int regionCode);
  void OnTimerTick(int timerId);
  void OnUpdateCheckStarted();
  void OnUpdateCheckFinished();

  // Entering a spin and its money steps, in the order EnterSpin runs them.
  void EnterSpin(int number);
  void SettleBets();
  int PayoutUnits() const;
  void CreditWin(int units);

  void Rewind();
  void ClearAll();
  void OnStakeButton();
  void OnSystemButton();
  void ExportSpinHistory();

  void ChooseNextBet();
  void ComputeStake();
  // `withWinMessage` false leaves out the last spin's win, for a line that comes long after it.
  void ShowAdvice(std::string_view leadIn, bool withWinMessage = true);
  void ShowStatus(std::string_view text, std::int64_t value, Money bankAmount, StatusMode mode);
  void ShowHighlights();
  void HideHighlights();
  void PrependCaption(std::string_view text, bool keepOld);

  void AddHistoryRow(int number);
  void RemoveNewestHistoryRow();
  void ClearHistoryColumns();

  const TableState& State() const { return state_; }
  // Written back to the settings at close: as read at start-up unless SYSTEM replaced it.
  const std::string& StoredSystemText() const { return storedSystemText_; }
  std::size_t HistoryRowCount() const { return historyRowCount_; }
  // Row 0 is the newest spin; the number stands in the cell of its colour, the others are empty.
  std::string HistoryCellText(std::size_t row, HistoryColumn column) const;
  const std::string& Caption() const { return caption_; }
  int BusyCount() const { return busyCount_; }
  bool StakeChangeWindowOpen() const { return stakeChangeOpen_; }
  bool SystemChangeWindowOpen() const { return systemChangeOpen_; }

 private:
  void ShowVersionCaption();
  BankAndDeficit CurrentBankAndDeficit() const;
  void SetBankAndDeficit(BankAndDeficit money);

  TrackerWindow& window_;
  RandomBytes& randomBytes_;
  TableState state_;

  std::string storedSystemText_ = "1";
  std::string versionText_;
  std::string caption_;
  std::size_t historyRowCount_ = 0;
  int busyCount_ = 0;
  bool blinkPhase_ = false;  // true: the next tick of timer 1 shows the highlights
  bool stakeChangeOpen_ = false;
  bool systemChangeOpen_ = false;
};
