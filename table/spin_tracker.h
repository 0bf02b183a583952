// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/history_column.h"
#include "engine/money.h"
#include "engine/settlement.h"
#include "engine/table_state.h"

namespace wheelwatcher {

class RandomBytes;
class SessionRecorder;
class TrackerWindow;
struct JournalRecord;
struct JournalSession;

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

  // From now on every spin, REWIND and CLEAR ALL is handed to the recorder before it is shown.
  void SetRecorder(SessionRecorder* recorder) { recorder_ = recorder; }
  // Brings back a session read from a journal, in place of this table, and shows it with the
  // lead-in ahead of its advice. The records are played by the table's own rules with the draws
  // they recorded; when they do not fit those rules the table is left as it was and the answer
  // says why.
  std::string Resume(const JournalSession& session, std::string_view leadIn);

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
  void Record(const std::string& lines);
  // Plays one record on this table, silently, drawing from this table's random bytes.
  void Replay(const JournalRecord& record);
  void SetBankAndDeficit(BankAndDeficit money);

  TrackerWindow& window_;
  RandomBytes& randomBytes_;
  TableState state_;
  SessionRecorder* recorder_ = nullptr;
  std::vector<std::uint8_t> lastDraws_;      // the draws of the newest bet code
  std::vector<std::uint8_t> firstBetDraws_;  // the draws of the first bet of the table

  std::string storedSystemText_ = "1";
  std::string versionText_;
  std::string caption_;
  std::size_t historyRowCount_ = 0;
  int busyCount_ = 0;
  bool blinkPhase_ = false;  // true: the next tick of timer 1 shows the highlights
  bool stakeChangeOpen_ = false;
  bool systemChangeOpen_ = false;
};

}  // namespace wheelwatcher
