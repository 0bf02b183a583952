// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "engine/bet_code.h"
#include "engine/money.h"

namespace wheelwatcher {

// Lead-in of the first advice after start-up.
inline constexpr std::string_view kWelcomeLeadIn =
    " Welcome to Wheelwatcher, try our recommended live wheel casinos, click live wheel --> ---> "
    "---->               ";

// The program's currency character for the locale's symbol (UTF-8): "$" stays, the pound sign
// becomes "{" and anything else, an empty (failed) query included, "}"; the panel font draws the
// braces as pound and euro.
std::string CurrencySymbolForLocale(std::string_view localeSymbol);

// The currency symbol directly followed by the amount's decimal digits.
std::string FormatMoney(const std::string& currencySymbol, Money amount);

struct AdviceInput {
  std::string_view leadIn;
  std::string_view winMessage;
  BetCode code;
  bool firstBet;  // no spin since start-up or CLEAR ALL: the head names the system
  int systemNumber;
  std::string_view currencySymbol;
  Money stake;
};

// The ticker line: lead-in, win message, head, one phrase per chip, then ".    ".
std::string BuildAdviceText(const AdviceInput& input);

// The overlay control that lights up the box of a category.
int OverlayForCategory(Category category);

}  // namespace wheelwatcher
