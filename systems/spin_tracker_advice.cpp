// The betting-system side of SpinTracker: choosing the bet, the stake, the advice and status
// texts, the highlights, the STAKE and SYSTEM buttons and the export.
#include "engine/control_ids.h"
#include "engine/spin_tracker.h"
#include "engine/tracker_window.h"
#include "systems/advice_text.h"
#include "systems/betting_systems.h"
#include "systems/spin_report.h"

void SpinTracker::ChooseNextBet() {
  state_.betCodes.push_back(ChooseBetCode(state_.systemNumber, state_.bank, state_.baseStake,
                                          state_.spins, randomBytes_));
}

void SpinTracker::ComputeStake() {
  state_.stake = StakeForDeficit(state_.systemNumber, state_.baseStake, state_.deficit);
}

void SpinTracker::ShowAdvice(std::string_view leadIn) {
  if (state_.betCodes.empty()) return;
  const std::string text = BuildAdviceText({
      .leadIn = leadIn,
      .winMessage = state_.winMessage,
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
