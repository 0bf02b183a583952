// SPDX-License-Identifier: GPL-3.0-or-later
#include "systems/advice_text.h"

#include <array>

#include "engine/control_ids.h"
#include "systems/betting_systems.h"

namespace wheelwatcher {

namespace {

constexpr std::array<const char*, kCategoryCount> kCategoryNames = {
    "Reds",  "Blacks", "Odds",  "Evens", "High",   "Low",
    "First", "Second", "Third", "Left",  "Middle", "Right",
};

constexpr std::array<int, kCategoryCount> kOverlays = {
    control::kRedsOverlay,  control::kBlacksOverlay, control::kOddsOverlay,
    control::kEvensOverlay, control::kHighOverlay,   control::kLowOverlay,
    control::kFirstOverlay, control::kSecondOverlay, control::kThirdOverlay,
    control::kLeftOverlay,  control::kMiddleOverlay, control::kRightOverlay,
};

void AppendPhrase(std::string& text, std::string_view currencySymbol, Money stake,
                  std::string_view target) {
  text += ' ';
  text += currencySymbol;
  text += std::to_string(stake);
  text += " on (";
  text += target;
  text += ')';
}

}  // namespace

std::string CurrencySymbolForLocale(std::string_view localeSymbol) {
  if (localeSymbol == "$") return "$";
  if (localeSymbol == "\xC2\xA3") return "{";
  return "}";
}

std::string FormatMoney(const std::string& currencySymbol, Money amount) {
  return currencySymbol + std::to_string(amount);
}

std::string BuildAdviceText(const AdviceInput& input) {
  std::string text;
  text.reserve(input.leadIn.size() + input.winMessage.size() + 128);
  text += input.leadIn;
  text += input.winMessage;
  if (input.firstBet) {
    text += GetSystemName(input.systemNumber, false);
    text += "       Your first bet is";
  } else {
    text += "       Your next bet is";
  }
  const BetCodeParts parts = SplitBetCode(input.code);
  if (HasNumberBet(parts)) {
    AppendPhrase(text, input.currencySymbol, input.stake, std::to_string(parts.number));
  }
  Category category;
  if (EvenChanceCategory(parts, &category)) {
    AppendPhrase(text, input.currencySymbol, input.stake,
                 kCategoryNames[static_cast<int>(category)]);
  }
  if (DozenColumnCategory(parts, &category)) {
    AppendPhrase(text, input.currencySymbol, input.stake,
                 kCategoryNames[static_cast<int>(category)]);
  }
  text += ".    ";
  return text;
}

int OverlayForCategory(Category category) { return kOverlays[static_cast<int>(category)]; }

}  // namespace wheelwatcher
