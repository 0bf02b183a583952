// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/spin_tracker.h"

#include <utility>

#include "engine/control_ids.h"
#include "engine/region_code.h"
#include "engine/settlement.h"
#include "systems/advice_text.h"
#include "systems/betting_systems.h"
#include "systems/random_bytes.h"
#include "systems/spin_report.h"
#include "table/session_journal.h"
#include "table/session_recorder.h"
#include "table/tracker_window.h"

namespace wheelwatcher {

namespace {
constexpr std::string_view kProductName = "Wheelwatcher ";

// Keeps the bytes a system draws, so that the journal can hand them back on resume.
class CapturedDraws : public RandomBytes {
 public:
  CapturedDraws(RandomBytes& source, std::vector<std::uint8_t>& into)
      : source_(source), into_(into) {}
  std::uint8_t NextByte() override { return into_.emplace_back(source_.NextByte()); }

 private:
  RandomBytes& source_;
  std::vector<std::uint8_t>& into_;
};

// Hands out one record's draws and tells whether the rules asked for exactly those.
class RecordedDraws : public RandomBytes {
 public:
  void Load(const std::vector<std::uint8_t>& draws) {
    draws_ = &draws;
    next_ = 0;
    overdrawn_ = false;
  }
  std::uint8_t NextByte() override {
    if (next_ >= draws_->size()) {
      overdrawn_ = true;
      return 0;
    }
    return (*draws_)[next_++];
  }
  bool UsedExactly() const { return !overdrawn_ && next_ == draws_->size(); }

 private:
  const std::vector<std::uint8_t>* draws_ = nullptr;
  std::size_t next_ = 0;
  bool overdrawn_ = false;
};

// The window of a table being rebuilt from its journal: nothing is shown until it is whole.
class QuietWindow : public TrackerWindow {
 public:
  void ShowControl(int) override {}
  void HideControl(int) override {}
  void SetPanelText(int, const std::string&) override {}
  void HistoryRowAdded() override {}
  void NewestHistoryRowRemoved() override {}
  void HistoryColumnsCleared() override {}
  void HistoryColumnsRefilled() override {}
  void StartTimer(int, int) override {}
  void StopTimer(int) override {}
  void SetCaption(const std::string&) override {}
  void PlayClickSound() override {}
  void OpenLiveWheelLinks() override {}
  void OpenHelpDocument() override {}
  void SaveSpinHistory(const std::string&) override {}
};

}  // namespace

SpinTracker::SpinTracker(TrackerWindow& window, RandomBytes& randomBytes)
    : window_(window), randomBytes_(randomBytes) {}

void SpinTracker::Start(std::string_view localeCurrencySymbol, std::string storedSystemText,
                        std::string versionText) {
  versionText_ = std::move(versionText);
  ShowVersionCaption();

  HideHighlights();
  window_.HideControl(control::kSavePicture);
  window_.HideControl(control::kGreyedSystem);
  state_.currencySymbol = CurrencySymbolForLocale(localeCurrencySymbol);
  window_.StartTimer(timer::kBlink, timer::kBlinkPeriodMs);

  state_.stake = state_.baseStake;
  state_.bankHistory.push_back(state_.bank);
  state_.deficitHistory.push_back(state_.deficit);
  storedSystemText_ = std::move(storedSystemText);
  state_.systemNumber = SystemNumberFromStoredText(storedSystemText_);
  ChooseNextBet();
  ShowAdvice(kWelcomeLeadIn);
}

void SpinTracker::OnRegionClicked(int regionCode) {
  if (regionCode < 0 || regionCode >= region::kNone) return;
  window_.PlayClickSound();
  if (regionCode <= kHighestNumber) {
    EnterSpin(regionCode);
    return;
  }
  switch (regionCode) {
    case region::kLiveWheel:
      window_.OpenLiveWheelLinks();
      break;
    case region::kHelp:
      window_.OpenHelpDocument();
      break;
    case region::kSystem:
      OnSystemButton();
      break;
    case region::kStake:
      OnStakeButton();
      break;
    case region::kRewind:
      Rewind();
      break;
    case region::kClearAll:
      ClearAll();
      break;
    default:
      break;
  }
}

void SpinTracker::OnTimerTick(int timerId) {
  switch (timerId) {
    case timer::kBlink:
      if (busyCount_ != 0) {
        PrependCaption(blinkPhase_ ? "Updating.." : "Updating", false);
      } else {
        ShowVersionCaption();
      }
      if (blinkPhase_) {
        ShowHighlights();
      } else {
        HideHighlights();
      }
      blinkPhase_ = !blinkPhase_;
      break;
    case timer::kStakeWindow:
      stakeChangeOpen_ = false;
      ShowAdvice(" ");
      window_.StopTimer(timer::kStakeWindow);
      break;
    case timer::kSystemWindow:
      systemChangeOpen_ = false;
      ShowAdvice(" ");
      window_.StopTimer(timer::kSystemWindow);
      break;
    default:
      break;
  }
}

void SpinTracker::OnUpdateCheckStarted() { ++busyCount_; }

void SpinTracker::OnUpdateCheckFinished() {
  if (busyCount_ > 0) --busyCount_;
}

void SpinTracker::EnterSpin(int number) {
  const bool firstOfSession = !state_.started;
  SettleBets();
  ++state_.spinCount;
  state_.started = true;
  window_.ShowControl(control::kSavePicture);
  window_.ShowControl(control::kGreyedSystem);
  state_.spins.push_back(number);
  AddHistoryRow(number);
  CreditWin(PayoutUnits());
  // The next advice sees BANK after the win, the stake the deficit after it.
  ChooseNextBet();
  ComputeStake();
  state_.bankHistory.push_back(state_.bank);
  if (recorder_ != nullptr) {
    // A session's first spin brings the table it was played on: system, base stake, first bet.
    std::string lines;
    if (firstOfSession) {
      lines = FormatJournalRecord(
          JournalRecord::Begin(state_.systemNumber, state_.baseStake, firstBetDraws_));
    }
    lines += FormatJournalRecord(JournalRecord::Spin(number, lastDraws_));
    Record(lines);
  }
  ShowAdvice(" ");
  state_.deficitHistory.push_back(state_.deficit);
}

void SpinTracker::Record(const std::string& lines) {
  if (recorder_ != nullptr) recorder_->Append(lines);
}

std::string SpinTracker::Resume(const JournalSession& session, std::string_view leadIn) {
  QuietWindow quiet;
  RecordedDraws draws;
  SpinTracker replayed(quiet, draws);
  replayed.state_.currencySymbol = state_.currencySymbol;
  if (session.records.empty()) return "it holds no session";
  for (std::size_t i = 0; i < session.records.size(); ++i) {
    const JournalRecord& record = session.records[i];
    if ((record.kind == JournalRecordKind::kBegin) != (i == 0) ||
        record.kind == JournalRecordKind::kClear) {
      return "its records do not make one session";
    }
    draws.Load(record.draws);
    replayed.Replay(record);
    if (!draws.UsedExactly()) return "its random draws do not fit the system's rules";
  }

  state_ = std::move(replayed.state_);
  historyRowCount_ = state_.spins.size();
  firstBetDraws_ = std::move(replayed.firstBetDraws_);
  lastDraws_ = std::move(replayed.lastDraws_);
  // A STAKE or SYSTEM window opened on the fresh table has nothing left to choose.
  stakeChangeOpen_ = false;
  systemChangeOpen_ = false;
  window_.StopTimer(timer::kStakeWindow);
  window_.StopTimer(timer::kSystemWindow);
  window_.HistoryColumnsRefilled();
  HideHighlights();
  if (state_.started) {
    window_.ShowControl(control::kSavePicture);
    window_.ShowControl(control::kGreyedSystem);
  }
  ShowAdvice(leadIn);
  return {};
}

void SpinTracker::Replay(const JournalRecord& record) {
  switch (record.kind) {
    case JournalRecordKind::kBegin:
      state_.systemNumber = record.systemNumber;
      state_.baseStake = record.baseStake;
      state_.stake = record.baseStake;
      state_.bankHistory.push_back(state_.bank);
      state_.deficitHistory.push_back(state_.deficit);
      ChooseNextBet();
      break;
    case JournalRecordKind::kSpin:
      EnterSpin(record.number);
      break;
    case JournalRecordKind::kRewind:
      Rewind();
      break;
    case JournalRecordKind::kClear:
      ClearAll();
      break;
  }
}

void SpinTracker::SettleBets() {
  if (state_.betCodes.empty()) return;
  SetBankAndDeficit(AfterStaking(CurrentBankAndDeficit(), state_.betCodes.back(), state_.stake));
}

int SpinTracker::PayoutUnits() const {
  if (state_.betCodes.empty() || state_.spins.empty()) return 0;
  return PayoutUnitsOn(state_.betCodes.back(), state_.spins.back());
}

void SpinTracker::CreditWin(int units) {
  state_.winMessage = " ";
  if (units == 0) return;
  const Money won = Winnings(units, state_.stake);
  SetBankAndDeficit(AfterWinning(CurrentBankAndDeficit(), won));
  state_.winMessage = "      You've just won " + FormatMoney(state_.currencySymbol, won);
}

BankAndDeficit SpinTracker::CurrentBankAndDeficit() const { return {state_.bank, state_.deficit}; }

void SpinTracker::SetBankAndDeficit(BankAndDeficit money) {
  state_.bank = money.bank;
  state_.deficit = money.deficit;
}

void SpinTracker::Rewind() {
  if (state_.started) Record(FormatJournalRecord(JournalRecord::Rewind()));
  if (!state_.spins.empty()) state_.spins.pop_back();
  if (state_.betCodes.size() > 1) state_.betCodes.pop_back();
  if (state_.bankHistory.size() > 1) {
    state_.bankHistory.pop_back();
    state_.bank = state_.bankHistory.back();
  }
  if (state_.deficitHistory.size() > 1) {
    state_.deficitHistory.pop_back();
    state_.deficit = state_.deficitHistory.back();
  }
  RemoveNewestHistoryRow();
  if (state_.spinCount != 0) --state_.spinCount;
  state_.winMessage = " ";
  // The system and base stake cannot change while started, so this is the STAKE of before.
  ComputeStake();
  ShowAdvice(" ");
}

void SpinTracker::ClearAll() {
  if (state_.started) Record(FormatJournalRecord(JournalRecord::Clear()));
  state_.betCodes.clear();
  state_.spins.clear();
  state_.bankHistory.clear();
  state_.deficitHistory.clear();
  state_.bank = 0;
  ClearHistoryColumns();
  state_.bankHistory.push_back(state_.bank);
  ChooseNextBet();
  state_.spinCount = 0;
  state_.stake = state_.baseStake;
  state_.deficit = 0;
  state_.winMessage = " ";
  state_.deficitHistory.push_back(state_.deficit);
  ShowAdvice(" ");
  state_.started = false;
  window_.HideControl(control::kSavePicture);
  window_.HideControl(control::kGreyedSystem);
}

void SpinTracker::PrependCaption(std::string_view text, bool keepOld) {
  std::string caption(text);
  caption += ' ';
  if (keepOld) caption += caption_;
  caption_ = std::move(caption);
  window_.SetCaption(caption_);
}

void SpinTracker::ShowVersionCaption() {
  // The version before the product name, set in one go: two steps would show the product name
  // alone for a moment on every tick.
  PrependCaption(versionText_ + ' ' + std::string(kProductName), false);
}

void SpinTracker::AddHistoryRow(int /*number*/) {
  // The columns read their cells from the spin history, which already holds the number.
  ++historyRowCount_;
  window_.HistoryRowAdded();
}

void SpinTracker::RemoveNewestHistoryRow() {
  if (historyRowCount_ == 0) return;
  --historyRowCount_;
  window_.NewestHistoryRowRemoved();
}

void SpinTracker::ClearHistoryColumns() {
  historyRowCount_ = 0;
  window_.HistoryColumnsCleared();
}

std::string SpinTracker::HistoryCellText(std::size_t row, HistoryColumn column) const {
  if (row >= historyRowCount_ || row >= state_.spins.size()) return "";
  const int number = state_.spins[state_.spins.size() - 1 - row];
  return HistoryColumnOf(number) == column ? std::to_string(number) : "";
}

// The betting-system side: choosing the bet, the stake, the advice and status texts, the
// highlights, the STAKE and SYSTEM buttons and the export.

void SpinTracker::ChooseNextBet() {
  lastDraws_.clear();
  CapturedDraws captured(randomBytes_, lastDraws_);
  state_.betCodes.push_back(
      ChooseBetCode(state_.systemNumber, state_.bank, state_.baseStake, state_.spins, captured));
  if (state_.betCodes.size() == 1) firstBetDraws_ = lastDraws_;
}

void SpinTracker::ComputeStake() {
  state_.stake = StakeForDeficit(state_.systemNumber, state_.baseStake, state_.deficit);
}

void SpinTracker::ShowAdvice(std::string_view leadIn, bool withWinMessage) {
  if (state_.betCodes.empty()) return;
  const std::string text = BuildAdviceText({
      .leadIn = leadIn,
      .winMessage = withWinMessage ? std::string_view(state_.winMessage) : std::string_view(" "),
      .code = state_.betCodes.back(),
      .firstBet = state_.betCodes.size() == 1,
      .systemNumber = state_.systemNumber,
      .currencySymbol = state_.currencySymbol,
      .stake = state_.stake,
  });
  ShowStatus(text, state_.spinCount, state_.bank, StatusMode::kSpin);
}

void SpinTracker::ShowStatus(std::string_view text, std::int64_t value, Money bankAmount,
                             StatusMode mode) {
  switch (mode) {
    case StatusMode::kStake:
      window_.SetPanelText(control::kStatusPanel,
                           "STAKE " + FormatMoney(state_.currencySymbol, value));
      break;
    case StatusMode::kSystem:
      window_.SetPanelText(control::kStatusPanel, GetSystemName(state_.systemNumber, true));
      break;
    case StatusMode::kSpin:
      window_.SetPanelText(control::kStatusPanel, "SPIN " + std::to_string(value));
      break;
  }
  window_.SetPanelText(control::kBankPanel,
                       "BANK " + FormatMoney(state_.currencySymbol, bankAmount));
  if (!text.empty()) window_.SetPanelText(control::kAdviceTicker, std::string(text));
}

void SpinTracker::ShowHighlights() {
  if (state_.betCodes.empty()) return;
  // The LIVE WHEEL button blinks until the first spin.
  if (state_.betCodes.size() == 1) window_.ShowControl(control::kFadedLiveWheel);
  const BetCodeParts parts = SplitBetCode(state_.betCodes.back());
  Category category;
  if (EvenChanceCategory(parts, &category)) window_.ShowControl(OverlayForCategory(category));
  if (DozenColumnCategory(parts, &category)) window_.ShowControl(OverlayForCategory(category));
  window_.SetPanelText(control::kNumberPanel,
                       HasNumberBet(parts) ? std::to_string(parts.number) : " ");
}

void SpinTracker::HideHighlights() {
  for (int id :
       {control::kFadedLiveWheel, control::kBlacksOverlay, control::kRedsOverlay,
        control::kFirstOverlay, control::kSecondOverlay, control::kThirdOverlay,
        control::kOddsOverlay, control::kEvensOverlay, control::kLowOverlay, control::kHighOverlay,
        control::kLeftOverlay, control::kMiddleOverlay, control::kRightOverlay}) {
    window_.HideControl(id);
  }
  window_.SetPanelText(control::kNumberPanel, " ");
}

void SpinTracker::OnStakeButton() {
  if (state_.started) return;
  window_.StartTimer(timer::kStakeWindow, timer::kSelectionWindowMs);
  if (stakeChangeOpen_) {
    state_.baseStake = state_.baseStake >= 10 ? 1 : state_.baseStake + 1;
  } else {
    stakeChangeOpen_ = true;
  }
  ShowStatus("", state_.baseStake, state_.bank, StatusMode::kStake);
  state_.stake = state_.baseStake;
}

void SpinTracker::OnSystemButton() {
  if (state_.started) {
    ExportSpinHistory();
    return;
  }
  window_.StartTimer(timer::kSystemWindow, timer::kSelectionWindowMs);
  if (systemChangeOpen_) {
    state_.systemNumber =
        state_.systemNumber >= kLastSystem ? kFirstSystem : state_.systemNumber + 1;
    // The pending first bet belongs to the old system: draw it anew.
    if (!state_.betCodes.empty()) state_.betCodes.pop_back();
    ChooseNextBet();
    ShowAdvice(" ");
  } else {
    systemChangeOpen_ = true;
  }
  ShowStatus("", 0, state_.bank, StatusMode::kSystem);
  storedSystemText_ = std::to_string(state_.systemNumber);
}

void SpinTracker::ExportSpinHistory() {
  window_.SaveSpinHistory(BuildSpinReport(state_.systemNumber, state_.spins));
}

}  // namespace wheelwatcher
