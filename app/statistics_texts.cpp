// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/statistics_texts.h"

#include <QCoreApplication>

#include <cmath>

#include "app/session_comparison.h"
#include "systems/betting_systems.h"

namespace wheelwatcher {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("StatisticsTexts", text); }

// A share rounded to a whole percent, never to 0 or 100 unless it is exactly that: "under 1 %",
// "over 99 %". The blank before "%" does not break, so a wrapped line keeps a value whole.
QString WholePercent(double share) {
  const double percent = std::round(share * 100.0);
  if (share > 0.0 && percent < 1.0) return Tr("under 1") + QStringLiteral("\u00a0%");
  if (share < 1.0 && percent > 99.0) return Tr("over 99") + QStringLiteral("\u00a0%");
  return QString::number(percent, 'f', 0) + QStringLiteral("\u00a0%");
}

}  // namespace

namespace {
QString CurrencySign(const std::string& currencySymbol) {
  if (currencySymbol == "{") return QStringLiteral("£");
  if (currencySymbol == "}") return QStringLiteral("€");
  return QString::fromStdString(currencySymbol);
}
}  // namespace

QString DisplayAmount(const std::string& currencySymbol, double amount, int decimals) {
  return CurrencySign(currencySymbol) + QString::number(amount, 'f', decimals);
}

QString Percent(double share) {
  return QString::number(share * 100.0, 'f', 1) + QStringLiteral("\u00a0%");
}

QString DisplayMoney(const std::string& currencySymbol, Money amount) {
  return CurrencySign(currencySymbol) + QString::number(amount);
}

QString ShareOfSpins(std::int64_t count, std::int64_t spins) {
  return spins == 0 ? QStringLiteral("-") : Percent(static_cast<double>(count) / spins);
}

QString Chance(double chance) {
  if (chance < 1e-6) return Tr("under 1 in a million");
  if (chance < 0.001) return Tr("about 1 in %L1").arg(std::round(1.0 / chance), 0, 'f', 0);
  if (chance < 0.1) return Percent(chance);
  return WholePercent(chance);
}

QString RunCategoryName(Category category) {
  switch (category) {
    case Category::kReds:
      return Tr("reds");
    case Category::kBlacks:
      return Tr("blacks");
    case Category::kFirst:
      return Tr("in the 1st dozen");
    case Category::kSecond:
      return Tr("in the 2nd dozen");
    case Category::kThird:
      return Tr("in the 3rd dozen");
    case Category::kLeft:
      return Tr("in the left column");
    case Category::kMiddle:
      return Tr("in the middle column");
    case Category::kRight:
      return Tr("in the right column");
    default:  // no run is ever in an even chance but the colours
      return QString();
  }
}

QString DeviationText(const std::string& currencySymbol, double result, double expectedLoss,
                      double standardDeviation) {
  const double difference = result + expectedLoss;
  const QString away = DisplayAmount(currencySymbol, std::fabs(difference), 2);
  const QString expected = DisplayAmount(currencySymbol, expectedLoss, 2);
  QString side;
  if (std::fabs(difference) < 0.005) {
    side = Tr("exactly the expected loss of %1").arg(expected);
  } else if (difference > 0) {
    side = Tr("%1 better than the expected loss of %2").arg(away, expected);
  } else {
    side = Tr("%1 worse than the expected loss of %2").arg(away, expected);
  }
  return Tr("%1: %2 standard deviations of the bets made (one is %3)")
      .arg(side)
      .arg(std::fabs(difference) / standardDeviation, 0, 'f', 1)
      .arg(DisplayAmount(currencySymbol, standardDeviation, 2));
}

QString ComparisonText(const std::string& currencySymbol, const SessionComparison& comparison) {
  const QString system = QString::fromStdString(GetSystemName(comparison.systemNumber, false))
                             .section(QLatin1Char(' '), -1);
  const QString sessions = QStringLiteral("%L1").arg(comparison.sessions);
  QString share;
  if (comparison.atOrAbove == 0) {
    share = Tr("none of %1").arg(sessions);
  } else if (comparison.atOrAbove == comparison.sessions) {
    share = Tr("all %1").arg(sessions);
  } else {
    share = Tr("%1 of %2")
                .arg(WholePercent(static_cast<double>(comparison.atOrAbove) /
                                  static_cast<double>(comparison.sessions)),
                     sessions);
  }
  const QString median = DisplayAmount(currencySymbol, comparison.median,
                                       comparison.median == std::floor(comparison.median) ? 0 : 1);
  // No sample's mean is given: every system raises its stakes after losses, so the mean of its
  // sessions rests on long losing runs that a sample mostly lacks. Past a few hundred spins the
  // mean of these sessions is a gain at most spin counts, though the true mean is a loss.
  return Tr("%1 simulated %2 sessions of %3 spins at a base stake of %4 ended at or above %5; "
            "their median %6. Their mean is not given, as a sample's mean can show a gain: the "
            "mean of all %2 sessions is a loss, 2.70\u00a0% of what they stake")
      .arg(share, system)
      .arg(comparison.spins)
      .arg(DisplayMoney(currencySymbol, comparison.baseStake),
           DisplayMoney(currencySymbol, comparison.bank), median);
}

}  // namespace wheelwatcher
