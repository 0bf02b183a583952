// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/statistics_window.h"

#include "app/bank_chart.h"
#include "app/count_chart.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "engine/table_state.h"
#include "stats/chart_samples.h"
#include "stats/stake_outlook.h"
#include "systems/betting_systems.h"

namespace {

constexpr int kBankChartPoints = 512;
// A number this many standard deviations from its expected count is marked hot or cold.
constexpr double kHotColdDeviations = 2.0;

QString Percent(double share) {
  return QString::number(share * 100.0, 'f', 1) + QStringLiteral(" %");
}

QString Share(std::int64_t count, std::int64_t spins) {
  return spins == 0 ? QStringLiteral("-") : Percent(static_cast<double>(count) / spins);
}

// "under 1 in a million", "0.4 %", "62 %": a chance as a player reads it.
QString Chance(double chance) {
  if (chance < 1e-6) return QStringLiteral("under 1 in a million");
  if (chance < 0.001)
    return QStringLiteral("about 1 in %L1").arg(std::round(1.0 / chance), 0, 'f', 0);
  if (chance < 0.1) return QString::number(chance * 100.0, 'f', 1) + QStringLiteral(" %");
  return QString::number(std::round(chance * 100.0), 'f', 0) + QStringLiteral(" %");
}

// The name of a run's category as a player says it.
QString RunCategoryName(Category category) {
  switch (category) {
    case Category::kReds:
      return QStringLiteral("reds");
    case Category::kBlacks:
      return QStringLiteral("blacks");
    case Category::kFirst:
      return QStringLiteral("in the 1st dozen");
    case Category::kSecond:
      return QStringLiteral("in the 2nd dozen");
    case Category::kThird:
      return QStringLiteral("in the 3rd dozen");
    case Category::kLeft:
      return QStringLiteral("in the left column");
    case Category::kMiddle:
      return QStringLiteral("in the middle column");
    case Category::kRight:
      return QStringLiteral("in the right column");
    default:  // no run is ever in an even chance but the colours
      return QString();
  }
}

}  // namespace

CStatisticsWindow::CStatisticsWindow(const TableState& table, const GuardrailMonitor& guardrails,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), guardrails_(guardrails) {
  setObjectName(QStringLiteral("statisticsWindow"));
  setWindowTitle(tr("Wheelwatcher Statistics"));
  setAccessibleName(tr("Statistics"));

  auto* left = new QVBoxLayout;
  left->addWidget(BuildSessionBox(), 1);
  left->addWidget(BuildSystemBox());
  left->addWidget(BuildGuardrailsBox());
  auto* right = new QVBoxLayout;
  right->addWidget(BuildNumbersBox(), 1);
  right->addWidget(BuildOutsideBox());
  right->addWidget(BuildRunsBox());
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(6, 6, 6, 6);
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  resize(1010, 660);
  Refresh();
}

QLabel* CStatisticsWindow::AddFigure(QFormLayout* form, const QString& name) {
  auto* value = new QLabel;
  value->setWordWrap(true);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Read out as "name: value", so a screen reader needs no look at the layout.
  figureNames_[value] = name;
  auto* label = new QLabel(name + QLatin1Char(':'));
  label->setBuddy(value);
  form->addRow(label, value);
  return value;
}

QWidget* CStatisticsWindow::BuildSessionBox() {
  auto* box = new QGroupBox(tr("This session"));
  box->setAccessibleName(box->title());
  auto* layout = new QVBoxLayout(box);
  auto* form = new QFormLayout;
  spins_ = AddFigure(form, tr("Spins"));
  staked_ = AddFigure(form, tr("Staked"));
  result_ = AddFigure(form, tr("Result (BANK)"));
  expectedLoss_ = AddFigure(form, tr("Expected loss"));
  deviation_ = AddFigure(form, tr("Result against expectation"));
  layout->addLayout(form);

  bankChart_ = new CBankChart;
  bankChart_->setAccessibleName(tr("Chart of BANK over the session"));
  layout->addWidget(bankChart_, 1);
  return box;
}

QWidget* CStatisticsWindow::BuildNumbersBox() {
  auto* box = new QGroupBox(tr("Numbers against a fair wheel"));
  box->setAccessibleName(box->title());
  auto* layout = new QVBoxLayout(box);

  countChart_ = new CCountChart;
  countChart_->setAccessibleName(tr("Chart of each number's count"));
  layout->addWidget(countChart_, 1);

  auto* form = new QFormLayout;
  hotCold_ = AddFigure(form, tr("Hot and cold"));
  chiSquare_ = AddFigure(form, tr("Chi-square test"));
  layout->addLayout(form);
  return box;
}

QWidget* CStatisticsWindow::BuildOutsideBox() {
  auto* box = new QGroupBox(tr("Outside bets: share of spins (fair share)"));
  box->setAccessibleName(box->title());
  auto* form = new QFormLayout(box);
  const QString names[] = {tr("Red / black / zero"), tr("Odd / even"), tr("Low / high"),
                           tr("Dozens 1st / 2nd / 3rd"), tr("Columns left / middle / right")};
  for (std::size_t row = 0; row < outside_.size(); ++row)
    outside_[row] = AddFigure(form, names[row]);
  return box;
}

QWidget* CStatisticsWindow::BuildRunsBox() {
  auto* box = new QGroupBox(tr("Longest runs, and the chance of one as long"));
  box->setAccessibleName(box->title());
  auto* form = new QFormLayout(box);
  runs_[static_cast<std::size_t>(RunGroup::kColour)] = AddFigure(form, tr("Same colour"));
  runs_[static_cast<std::size_t>(RunGroup::kDozen)] = AddFigure(form, tr("Same dozen"));
  runs_[static_cast<std::size_t>(RunGroup::kColumn)] = AddFigure(form, tr("Same column"));
  return box;
}

QWidget* CStatisticsWindow::BuildSystemBox() {
  auto* box = new QGroupBox;
  systemBox_ = box;
  auto* form = new QFormLayout(box);
  largestStake_ = AddFigure(form, tr("Largest so far"));
  nextStakes_ = AddFigure(form, tr("Next spin, then after 1, 2, 3 losses"));
  return box;
}

QWidget* CStatisticsWindow::BuildGuardrailsBox() {
  auto* box = new QGroupBox(tr("Guardrails"));
  box->setAccessibleName(box->title());
  auto* grid = new QGridLayout(box);
  const struct {
    Guardrail guardrail;
    QString text;
    QString name;
    QString prefix;
    QString suffix;
    int maximum;
  } rows[] = {
      {Guardrail::kStopLoss,
       tr("Stop-loss: BANK at or below"),
       tr("Stop-loss"),
       QStringLiteral("−"),
       {},
       1000000000},
      {Guardrail::kStopWin, tr("Stop-win: BANK at or above"), tr("Stop-win"), {}, {}, 1000000000},
      {Guardrail::kSessionTime,
       tr("Session time since the first spin"),
       tr("Session time"),
       {},
       tr(" min"),
       24 * 60},
  };
  int row = 0;
  for (const auto& place : rows) {
    LimitControls& controls = limits_[static_cast<std::size_t>(place.guardrail)];
    const GuardrailLimit& limit = guardrails_.Limits()[place.guardrail];
    controls.on = new QCheckBox(place.text);
    controls.on->setChecked(limit.on);
    controls.on->setAccessibleName(place.name + tr(" on"));
    controls.value = new QSpinBox;
    controls.value->setRange(1, place.maximum);
    controls.value->setValue(
        static_cast<int>(std::clamp<std::int64_t>(limit.value, 1, place.maximum)));
    controls.value->setPrefix(place.prefix);
    controls.value->setSuffix(place.suffix);
    // Only a finished entry counts: typing "50" must not pass through a limit of 5 on the way.
    controls.value->setKeyboardTracking(false);
    controls.value->setAccessibleName(place.name + tr(" limit"));
    controls.notice = new QLabel;
    controls.notice->setWordWrap(true);
    controls.notice->setStyleSheet(QStringLiteral("color: #c0281e; font-weight: bold;"));
    controls.notice->setAccessibleName(place.name + tr(" notice"));
    controls.notice->hide();
    connect(controls.on, &QCheckBox::toggled, this, &CStatisticsWindow::OnLimitEdited);
    connect(controls.value, &QSpinBox::valueChanged, this, &CStatisticsWindow::OnLimitEdited);
    grid->addWidget(controls.on, row, 0);
    grid->addWidget(controls.value, row, 1);
    grid->addWidget(controls.notice, row + 1, 0, 1, 2);
    row += 2;
  }
  auto* note =
      new QLabel(tr("All off unless you switch them on. Reaching one tells you here, in a "
                    "message and once on the ticker; play is never stopped."));
  note->setWordWrap(true);
  grid->addWidget(note, row, 0, 1, 2);
  return box;
}

void CStatisticsWindow::OnLimitEdited() {
  GuardrailLimits limits;
  for (int g = 0; g < kGuardrailCount; ++g) {
    const LimitControls& controls = limits_[static_cast<std::size_t>(g)];
    limits[static_cast<Guardrail>(g)] = {controls.on->isChecked(), controls.value->value()};
  }
  emit limitsChanged(limits);
}

void CStatisticsWindow::ShowGuardrailNotice(Guardrail guardrail, const QString& notice) {
  QLabel* label = limits_[static_cast<std::size_t>(guardrail)].notice;
  label->setText(notice);
  label->show();
}

QString DisplayAmount(const std::string& currencySymbol, double amount, int decimals) {
  QString symbol = QString::fromStdString(currencySymbol);
  if (symbol == QLatin1String("{")) symbol = QStringLiteral("£");
  if (symbol == QLatin1String("}")) symbol = QStringLiteral("€");
  return symbol + QString::number(amount, 'f', decimals);
}

QString CStatisticsWindow::Amount(double amount, int decimals) const {
  return DisplayAmount(table_.currencySymbol, amount, decimals);
}

void CStatisticsWindow::Refresh() {
  statistics_.Sync(table_);
  RefreshSession();
  RefreshBankChart();
  RefreshNumbers();
  RefreshOutside();
  RefreshRuns();
  RefreshSystem();
  RefreshGuardrails();
  for (const auto& [label, name] : figureNames_) {
    label->setAccessibleName(name + QStringLiteral(": ") + label->text());
  }
}

void CStatisticsWindow::RefreshSession() {
  spins_->setText(QString::number(statistics_.Spins()));
  staked_->setText(Amount(static_cast<double>(statistics_.TotalStaked())));
  result_->setText(Amount(static_cast<double>(statistics_.Result())));
  expectedLoss_->setText(tr("%1, 2.70 % of the amount staked: the wheel's edge on every bet")
                             .arg(Amount(statistics_.ExpectedLoss(), 2)));
  if (statistics_.StandardDeviation() == 0.0) {
    deviation_->setText(tr("no bet settled yet"));
    return;
  }
  const double deviations = statistics_.DeviationFromExpected();
  const QString verdict = std::fabs(deviations) < 2.0
                              ? tr("ordinary luck")
                              : tr("unusual luck: fewer than 1 session in 20 lies this far out");
  deviation_->setText(tr("%1 standard deviations (one is %2): %3")
                          .arg(deviations, 0, 'f', 1)
                          .arg(Amount(statistics_.StandardDeviation(), 2), verdict));
}

void CStatisticsWindow::RefreshBankChart() {
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
  bankChart_->setAccessibleDescription(
      tr("BANK %1 after %2 spins; a fair share of the wheel's edge would have it at %3")
          .arg(Amount(static_cast<double>(statistics_.Result())))
          .arg(statistics_.Spins())
          .arg(Amount(-statistics_.ExpectedLoss(), 2)));
}

void CStatisticsWindow::RefreshNumbers() {
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
  if (!canMark) {
    hotCold_->setText(
        tr("none can be called yet: each number is expected %1 times so far").arg(expectedText));
  } else if (hot.isEmpty() && cold.isEmpty()) {
    hotCold_->setText(
        tr("no number lies two standard deviations from the expected %1").arg(expectedText));
  } else {
    hotCold_->setText(tr("hot %1; cold %2 (two standard deviations from the expected %3; about 2 "
                         "of the 37 numbers lie that far by chance alone)")
                          .arg(hot.isEmpty() ? tr("none") : hot.join(QStringLiteral(", ")),
                               cold.isEmpty() ? tr("none") : cold.join(QStringLiteral(", ")),
                               expectedText));
  }

  if (statistics_.Spins() < kSpinsForChiSquare) {
    chiSquare_->setText(tr("cannot tell yet: the test needs every number expected at least 5 "
                           "times, that is %1 spins (%2 so far). Until then hot and cold numbers "
                           "say nothing.")
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
  chiSquare_->setText(
      tr("%1 with %2 degrees of freedom, p = %3: %4")
          .arg(statistics_.ChiSquare(), 0, 'f', 1)
          .arg(kChiSquareDegreesOfFreedom)
          .arg(pValue < 0.0001 ? tr("under 0.0001") : QString::number(pValue, 'f', 4))
          .arg(verdict));
}

void CStatisticsWindow::RefreshOutside() {
  const std::int64_t spins = statistics_.Spins();
  const auto shares = [this, spins](std::initializer_list<Category> categories, bool withZero) {
    QStringList counts;
    QStringList parts;
    for (Category category : categories) {
      const std::int64_t count = statistics_.CategoryCount(category);
      counts << QString::number(count);
      parts << Share(count, spins);
    }
    if (withZero) {
      counts << QString::number(statistics_.NumberCount(0));
      parts << Share(statistics_.NumberCount(0), spins);
    }
    return counts.join(QStringLiteral(" / ")) + QStringLiteral(": ") +
           parts.join(QStringLiteral(" / "));
  };
  const QString evenFair = Percent(18.0 / kWheelNumbers);
  const QString dozenFair = Percent(12.0 / kWheelNumbers);
  const QString zeroFair = Percent(1.0 / kWheelNumbers);
  outside_[0]->setText(shares({Category::kReds, Category::kBlacks}, true) +
                       QStringLiteral(" (%1 / %1 / %2)").arg(evenFair, zeroFair));
  outside_[1]->setText(shares({Category::kOdds, Category::kEvens}, false) +
                       QStringLiteral(" (%1 each)").arg(evenFair));
  outside_[2]->setText(shares({Category::kLow, Category::kHigh}, false) +
                       QStringLiteral(" (%1 each)").arg(evenFair));
  outside_[3]->setText(shares({Category::kFirst, Category::kSecond, Category::kThird}, false) +
                       QStringLiteral(" (%1 each)").arg(dozenFair));
  outside_[4]->setText(shares({Category::kLeft, Category::kMiddle, Category::kRight}, false) +
                       QStringLiteral(" (%1 each)").arg(dozenFair));
}

void CStatisticsWindow::RefreshRuns() {
  for (int g = 0; g < kRunGroupCount; ++g) {
    const auto group = static_cast<RunGroup>(g);
    const LongestRun longest = statistics_.Longest(group);
    QLabel* label = runs_[static_cast<std::size_t>(g)];
    if (longest.length == 0) {
      label->setText(tr("none yet"));
      continue;
    }
    label->setText(tr("%1 %2; chance of a run this long in %3 spins: %4")
                       .arg(longest.length)
                       .arg(RunCategoryName(longest.category))
                       .arg(statistics_.Spins())
                       .arg(Chance(statistics_.ChanceOfLongest(group))));
  }
}

void CStatisticsWindow::RefreshSystem() {
  const QString system = QString::fromStdString(GetSystemName(table_.systemNumber, false))
                             .section(QLatin1Char(' '), -1);
  systemBox_->setTitle(tr("Stakes of system %1 (a chip)").arg(system));
  systemBox_->setAccessibleName(systemBox_->title());
  largestStake_->setText(statistics_.LargestStake() == 0
                             ? tr("none yet")
                             : Amount(static_cast<double>(statistics_.LargestStake())));
  const std::array<Money, 4> stakes = StakesIfLosing(table_);
  nextStakes_->setText(
      tr("%1, then %2, %3, %4")
          .arg(Amount(static_cast<double>(stakes[0])), Amount(static_cast<double>(stakes[1])),
               Amount(static_cast<double>(stakes[2])), Amount(static_cast<double>(stakes[3]))));
}

void CStatisticsWindow::RefreshGuardrails() {
  // A notice stays while its guardrail counts as reached: a REWIND or CLEAR ALL past it clears it.
  for (int g = 0; g < kGuardrailCount; ++g) {
    if (!guardrails_.IsReached(static_cast<Guardrail>(g))) {
      limits_[static_cast<std::size_t>(g)].notice->hide();
    }
  }
}
