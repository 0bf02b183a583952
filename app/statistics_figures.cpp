// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics window's figures: brought up to the table after every change of it. The window
// and its controls are built in statistics_window.cpp.
#include <QGroupBox>
#include <QLabel>

#include <algorithm>
#include <cmath>

#include "app/bank_chart.h"
#include "app/count_chart.h"
#include "app/statistics_texts.h"
#include "app/statistics_window.h"
#include "engine/table_state.h"
#include "lab/simulated_sessions.h"
#include "stats/chart_samples.h"
#include "stats/stake_outlook.h"
#include "systems/betting_systems.h"

namespace wheelwatcher {

namespace {

constexpr int kBankChartPoints = 512;
// A number this many standard deviations from its expected count is marked hot or cold.
constexpr double kHotColdDeviations = 2.0;

}  // namespace

QString StatisticsWindow::Amount(double amount, int decimals) const {
  return DisplayAmount(table_.currencySymbol, amount, decimals);
}

void StatisticsWindow::Refresh() {
  statistics_.Sync(table_);
  RefreshSession();
  RefreshComparison();
  RefreshBankChart();
  RefreshNumbers();
  RefreshOutside();
  RefreshRuns();
  RefreshSystem();
  RefreshGuardrails();
}

void StatisticsWindow::RefreshSession() {
  SetFigure(spins_, QString::number(statistics_.Spins()));
  SetFigure(staked_, Amount(static_cast<double>(statistics_.TotalStaked())));
  SetFigure(result_, Amount(static_cast<double>(statistics_.Result())));
  SetFigure(expectedLoss_, tr("%1, 2.70\u00a0% of the amount staked: the wheel's edge on every bet")
                               .arg(Amount(statistics_.ExpectedLoss(), 2)));
  SetFigure(deviation_,
            statistics_.StandardDeviation() == 0.0
                ? tr("no bet settled yet")
                : DeviationText(table_.currencySymbol, static_cast<double>(statistics_.Result()),
                                statistics_.ExpectedLoss(), statistics_.StandardDeviation()));
}

void StatisticsWindow::RefreshComparison() {
  SessionComparison question;
  question.systemNumber = table_.systemNumber;
  question.baseStake = table_.baseStake;
  question.spins = statistics_.Spins();
  question.bank = statistics_.Result();
  if (question.spins == 0) {
    asked_.reset();
    SetFigure(comparison_, tr("no spin yet"));
    return;
  }
  if (asked_ && asked_->SameQuestion(question)) return;
  // The last answer names its own spins and BANK, so it stays true, and stays up, until the next
  // one comes; only a long wait (opening on a long session, another system) says so.
  const bool answerUp = asked_ && !comparison_->text().startsWith(tr("playing")) &&
                        asked_->systemNumber == question.systemNumber &&
                        asked_->baseStake == question.baseStake;
  asked_ = question;
  comparer_.Ask(question);
  if (!answerUp) {
    SetFigure(comparison_,
              tr("playing %L1 sessions of %2 spins…").arg(kComparedSessions).arg(question.spins));
  }
}

void StatisticsWindow::ShowComparison(const SessionComparison& answer) {
  if (!asked_ || !asked_->SameQuestion(answer)) return;  // a newer question is on its way
  SetFigure(comparison_, ComparisonText(table_.currencySymbol, answer));
}

void StatisticsWindow::RefreshBankChart() {
  const std::vector<std::int64_t> samples = ChartSampleSpins(statistics_.Spins(), kBankChartPoints);
  QList<QPointF> bank;
  QList<QPointF> expected;
  bank.reserve(static_cast<qsizetype>(samples.size()));
  expected.reserve(static_cast<qsizetype>(samples.size()));
  for (std::int64_t spin : samples) {
    const auto index = static_cast<std::size_t>(spin);
    const double bankThen =
        index < table_.bankHistory.size() ? static_cast<double>(table_.bankHistory[index]) : 0.0;
    const double expectedThen =
        -static_cast<double>(statistics_.TotalStakedAfter(spin)) * kHouseEdge;
    bank.append(QPointF(static_cast<double>(spin), bankThen));
    expected.append(QPointF(static_cast<double>(spin), expectedThen));
  }
  bankChart_->SetLines(std::move(bank), std::move(expected));
  const QString description =
      tr("BANK %1 after %2 spins; a fair share of the wheel's edge would have it at %3")
          .arg(Amount(static_cast<double>(statistics_.Result())))
          .arg(statistics_.Spins())
          .arg(Amount(-statistics_.ExpectedLoss(), 2));
  if (bankChart_->accessibleDescription() != description)
    bankChart_->setAccessibleDescription(description);
}

void StatisticsWindow::RefreshNumbers() {
  QStringList hot;
  QStringList cold;
  NumberCounts counts;
  NumberMarks marks;
  // Below five expected hits a count's spread is no normal curve: one early hit would be "hot".
  const bool canMark = statistics_.Spins() >= kSpinsForChiSquare;
  for (int number = 0; number < kWheelNumbers; ++number) {
    const std::int64_t count = statistics_.NumberCount(number);
    const double deviation = statistics_.NumberDeviation(number);
    CountMark mark = CountMark::kWithinChance;
    if (canMark && deviation >= kHotColdDeviations) {
      mark = CountMark::kHot;
      hot << QStringLiteral("%1 (%2)").arg(number).arg(count);
    } else if (canMark && deviation <= -kHotColdDeviations) {
      mark = CountMark::kCold;
      cold << QStringLiteral("%1 (%2)").arg(number).arg(count);
    }
    counts[static_cast<std::size_t>(number)] = count;
    marks[static_cast<std::size_t>(number)] = mark;
  }
  const double expected = statistics_.ExpectedNumberCount();
  countChart_->SetCounts(counts, marks, expected);

  const QString expectedText = QString::number(expected, 'f', 1);
  const QString hotText = hot.isEmpty() ? tr("none") : hot.join(QStringLiteral(", "));
  const QString coldText = cold.isEmpty() ? tr("none") : cold.join(QStringLiteral(", "));
  const auto least = std::min_element(counts.begin(), counts.end());
  const auto most = std::max_element(counts.begin(), counts.end());
  const QString description =
      tr("%1 spins: each number expected %2 times; counts from %3 (number %4) to %5 (number %6); "
         "hot %7; cold %8")
          .arg(statistics_.Spins())
          .arg(expectedText)
          .arg(*least)
          .arg(least - counts.begin())
          .arg(*most)
          .arg(most - counts.begin())
          .arg(hotText, coldText);
  if (countChart_->accessibleDescription() != description)
    countChart_->setAccessibleDescription(description);

  if (!canMark) {
    SetFigure(
        hotCold_,
        tr("none can be called yet: each number is expected %1 times so far").arg(expectedText));
  } else if (hot.isEmpty() && cold.isEmpty()) {
    SetFigure(hotCold_,
              tr("no number lies two standard deviations from the expected %1").arg(expectedText));
  } else {
    SetFigure(hotCold_, tr("hot %1; cold %2 (two standard deviations from the expected %3; about "
                           "2 of the 37 numbers lie that far by chance alone)")
                            .arg(hotText, coldText, expectedText));
  }

  if (statistics_.Spins() < kSpinsForChiSquare) {
    SetFigure(chiSquare_, tr("cannot tell yet: the test needs every number expected at least 5 "
                             "times, that is %1 spins (%2 so far).")
                              .arg(kSpinsForChiSquare)
                              .arg(statistics_.Spins()));
    return;
  }
  const double pValue = statistics_.ChiSquarePValue();
  QString verdict;
  if (pValue < 0.01) {
    verdict =
        tr("a fair wheel gives counts this uneven less than 1 time in 100: worth a look "
           "at the wheel");
  } else if (pValue < 0.05) {
    verdict = tr("uneven, but a fair wheel does this 1 time in 20");
  } else {
    verdict = tr("nothing a fair wheel would not do: the hot and cold numbers are chance");
  }
  SetFigure(chiSquare_,
            tr("%1 with %2 degrees of freedom, p = %3: %4")
                .arg(statistics_.ChiSquare(), 0, 'f', 1)
                .arg(kChiSquareDegreesOfFreedom)
                .arg(pValue < 0.0001 ? tr("under 0.0001") : QString::number(pValue, 'f', 4))
                .arg(verdict));
}

void StatisticsWindow::RefreshOutside() {
  const std::int64_t spins = statistics_.Spins();
  const auto shares = [this, spins](std::initializer_list<Category> categories, bool withZero) {
    QStringList counts;
    QStringList parts;
    for (Category category : categories) {
      const std::int64_t count = statistics_.CategoryCount(category);
      counts << QString::number(count);
      parts << ShareOfSpins(count, spins);
    }
    if (withZero) {
      counts << QString::number(statistics_.NumberCount(0));
      parts << ShareOfSpins(statistics_.NumberCount(0), spins);
    }
    return counts.join(QStringLiteral(" / ")) + QStringLiteral(": ") +
           parts.join(QStringLiteral(" / "));
  };
  const QString evenFair = Percent(18.0 / kWheelNumbers);
  const QString dozenFair = Percent(12.0 / kWheelNumbers);
  const QString zeroFair = Percent(1.0 / kWheelNumbers);
  SetFigure(outside_[0], shares({Category::kReds, Category::kBlacks}, true) +
                             QStringLiteral(" (%1 / %1 / %2)").arg(evenFair, zeroFair));
  SetFigure(outside_[1], shares({Category::kOdds, Category::kEvens}, false) +
                             QStringLiteral(" (%1 each)").arg(evenFair));
  SetFigure(outside_[2], shares({Category::kLow, Category::kHigh}, false) +
                             QStringLiteral(" (%1 each)").arg(evenFair));
  SetFigure(outside_[3], shares({Category::kFirst, Category::kSecond, Category::kThird}, false) +
                             QStringLiteral(" (%1 each)").arg(dozenFair));
  SetFigure(outside_[4], shares({Category::kLeft, Category::kMiddle, Category::kRight}, false) +
                             QStringLiteral(" (%1 each)").arg(dozenFair));
}

void StatisticsWindow::RefreshRuns() {
  for (int g = 0; g < kRunGroupCount; ++g) {
    const auto group = static_cast<RunGroup>(g);
    const LongestRun longest = statistics_.Longest(group);
    QLabel* label = runs_[static_cast<std::size_t>(g)];
    if (longest.length == 0) {
      SetFigure(label, tr("none yet"));
      continue;
    }
    SetFigure(label, tr("%1 %2; chance of a run this long in %3 spins: %4")
                         .arg(longest.length)
                         .arg(RunCategoryName(longest.category))
                         .arg(statistics_.Spins())
                         .arg(Chance(statistics_.ChanceOfLongest(group))));
  }
}

void StatisticsWindow::RefreshSystem() {
  const QString system = QString::fromStdString(GetSystemName(table_.systemNumber, false))
                             .section(QLatin1Char(' '), -1);
  const QString title = tr("Stakes of system %1 (a chip)").arg(system);
  if (systemBox_->title() != title) {
    systemBox_->setTitle(title);
    systemBox_->setAccessibleName(title);
  }
  SetFigure(largestStake_, statistics_.LargestStake() == 0
                               ? tr("none yet")
                               : Amount(static_cast<double>(statistics_.LargestStake())));
  const std::array<Money, 4> stakes = StakesIfLosing(table_);
  SetFigure(
      nextStakes_,
      tr("%1, then %2, %3, %4")
          .arg(Amount(static_cast<double>(stakes[0])), Amount(static_cast<double>(stakes[1])),
               Amount(static_cast<double>(stakes[2])), Amount(static_cast<double>(stakes[3]))));
}

void StatisticsWindow::RefreshGuardrails() {
  // A notice stays while its guardrail counts as reached: a REWIND or CLEAR ALL past it clears it.
  for (int g = 0; g < kGuardrailCount; ++g) {
    if (!guardrails_.IsReached(static_cast<Guardrail>(g))) {
      limits_[static_cast<std::size_t>(g)].notice->hide();
    }
  }
}

}  // namespace wheelwatcher
