// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <string>

#include "engine/bet_code.h"
#include "engine/money.h"

namespace wheelwatcher {

struct SessionComparison;

// The statistics window's wording: figures as a player reads them, each sentence about chance
// in words that stay true at the edges (no "100 %" for a chance short of certain).

// An amount as a normal font shows it: the table writes pounds and euros as braces for its panel
// font ("{", "}"); here they are the signs. The sign of the amount follows the currency, as on
// the table ("$-50").
QString DisplayAmount(const std::string& currencySymbol, double amount, int decimals = 0);

// A whole amount, exactly: "$-1152921504606846975".
QString DisplayMoney(const std::string& currencySymbol, Money amount);
// A share of spins with one decimal, "48.6 %" ("-" before the first spin).
QString ShareOfSpins(std::int64_t count, std::int64_t spins);
// A fair share with one decimal, "48.6 %".
QString Percent(double share);
// "under 1 in a million", "about 1 in 2,400", "0.4 %", "62 %", "over 99 %".
QString Chance(double chance);
// The name of a run's category as a player says it: "reds", "in the 2nd dozen".
QString RunCategoryName(Category category);
// The result against the expected loss, its sign in words:
// "$12.40 better than the expected loss of $8.10: 0.6 standard deviations of the bets made (one
// is $20.00)".
QString DeviationText(const std::string& currencySymbol, double result, double expectedLoss,
                      double standardDeviation);
// Where BANK lies among the simulated sessions, and what the mean of all the system's sessions
// is: "41 % of 10,000 simulated KAVRI sessions of 300 spins at a base stake of $1 ended at or
// above $13; their median $12. Their mean is not given, as a sample's mean can show a gain: the
// mean of all KAVRI sessions is a loss, 2.70 % of what they stake".
QString ComparisonText(const std::string& currencySymbol, const SessionComparison& comparison);

}  // namespace wheelwatcher
