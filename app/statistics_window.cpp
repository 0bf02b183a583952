// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/statistics_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "app/bank_chart.h"
#include "app/count_chart.h"
#include "app/statistics_texts.h"
#include "engine/table_state.h"
#include "lab/simulated_sessions.h"
#include "stats/chart_samples.h"
#include "stats/stake_outlook.h"
#include "systems/betting_systems.h"

namespace {

constexpr int kBankChartPoints = 512;
// A number this many standard deviations from its expected count is marked hot or cold.
constexpr double kHotColdDeviations = 2.0;

const char* const kFigureName = "figureName";

// Sets a figure and what a screen reader reads of it ("Spins: 12") only when its text changed:
// every change is announced, and a spin changes few of them.
void SetFigure(QLabel* label, const QString& text) {
  if (label->text() == text) return;
  label->setText(text);
  label->setAccessibleName(label->property(kFigureName).toString() + QStringLiteral(": ") + text);
}

// A text a screen reader reaches with Tab and reads whole.
void MakeReadable(QLabel* label) {
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Selectable text alone takes the focus only from a click.
  label->setFocusPolicy(Qt::StrongFocus);
}

}  // namespace

CStatisticsWindow::CStatisticsWindow(const TableState& table, const GuardrailMonitor& guardrails,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window),
      table_(table),
      guardrails_(guardrails),
      comparer_([this](const SessionComparison& answer) { ShowComparison(answer); }) {
  setObjectName(QStringLiteral("statisticsWindow"));
  setWindowTitle(tr("Wheelwatcher Statistics"));
  setAccessibleName(tr("Statistics"));

  content_ = new QWidget;
  auto* left = new QVBoxLayout;
  left->addWidget(BuildSessionBox(), 1);
  left->addWidget(BuildSystemBox());
  left->addWidget(BuildGuardrailsBox());
  auto* right = new QVBoxLayout;
  right->addWidget(BuildNumbersBox(), 1);
  right->addWidget(BuildOutsideBox());
  right->addWidget(BuildRunsBox());
  auto* columns = new QHBoxLayout(content_);
  columns->setContentsMargins(6, 6, 6, 6);
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);

  // On a screen smaller than the window every figure stays within reach.
  auto* scroll = new QScrollArea;
  scroll->setWidget(content_);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* whole = new QVBoxLayout(this);
  whole->setContentsMargins(0, 0, 0, 0);
  whole->addWidget(scroll);
  Refresh();
}

QSize CStatisticsWindow::sizeHint() const { return {1000, 640}; }

QLabel* CStatisticsWindow::AddFigure(QFormLayout* form, const QString& name) {
  auto* value = new QLabel;
  MakeReadable(value);
  // Read out as "name: value", so a screen reader needs no look at the layout.
  value->setProperty(kFigureName, name);
  value->setAccessibleName(name + QLatin1Char(':'));
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
  comparison_ = AddFigure(form, tr("Against the system's own sessions"));
  layout->addLayout(form);

  bankChart_ = new CBankChart;
  bankChart_->setAccessibleName(tr("Chart of BANK over the session"));
  bankChart_->setFocusPolicy(Qt::TabFocus);
  layout->addWidget(bankChart_, 1);
  return box;
}

QWidget* CStatisticsWindow::BuildNumbersBox() {
  auto* box = new QGroupBox(tr("Numbers against a fair wheel"));
  box->setAccessibleName(box->title());
  auto* layout = new QVBoxLayout(box);

  countChart_ = new CCountChart;
  countChart_->setAccessibleName(tr("Chart of each number's count"));
  countChart_->setFocusPolicy(Qt::TabFocus);
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
    MakeReadable(controls.notice);
    controls.notice->setStyleSheet(QStringLiteral("color: #c0281e; font-weight: bold;"));
    controls.notice->setProperty(kFigureName, place.name + tr(" notice"));
    controls.notice->hide();
    connect(controls.on, &QCheckBox::toggled, this, &CStatisticsWindow::OnLimitEdited);
    connect(controls.value, &QSpinBox::valueChanged, this, &CStatisticsWindow::OnLimitEdited);
    grid->addWidget(controls.on, row, 0);
    grid->addWidget(controls.value, row, 1);
    grid->addWidget(controls.notice, row + 1, 0, 1, 2);
    row += 2;
  }
  limitsNote_ =
      new QLabel(tr("All off unless you switch them on. Reaching one tells you here, in a "
                    "message and once on the ticker; play is never stopped."));
  MakeReadable(limitsNote_);
  grid->addWidget(limitsNote_, row, 0, 1, 2);
  settingsNotice_ = new QLabel;
  MakeReadable(settingsNotice_);
  settingsNotice_->setProperty(kFigureName, tr("Settings file"));
  settingsNotice_->hide();
  grid->addWidget(settingsNotice_, row + 1, 0, 1, 2);
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
  SetFigure(label, notice);
  label->show();
}

void CStatisticsWindow::ShowSettingsNotice(const QString& notice) {
  SetFigure(settingsNotice_, notice);
  settingsNotice_->show();
}

QString CStatisticsWindow::Amount(double amount, int decimals) const {
  return DisplayAmount(table_.currencySymbol, amount, decimals);
}

void CStatisticsWindow::Refresh() {
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

void CStatisticsWindow::RefreshSession() {
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

void CStatisticsWindow::RefreshComparison() {
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
  asked_ = question;
  comparer_.Ask(question);
  // Said while the sessions are played; a spin at the table's pace is answered before it shows.
  SetFigure(comparison_,
            tr("playing %L1 sessions of %2 spins…").arg(kComparedSessions).arg(question.spins));
}

void CStatisticsWindow::ShowComparison(const SessionComparison& answer) {
  if (!asked_ || !asked_->SameQuestion(answer)) return;  // a newer question is on its way
  SetFigure(comparison_, ComparisonText(table_.currencySymbol, answer));
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
  const QString description =
      tr("BANK %1 after %2 spins; a fair share of the wheel's edge would have it at %3")
          .arg(Amount(static_cast<double>(statistics_.Result())))
          .arg(statistics_.Spins())
          .arg(Amount(-statistics_.ExpectedLoss(), 2));
  if (bankChart_->accessibleDescription() != description)
    bankChart_->setAccessibleDescription(description);
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

void CStatisticsWindow::RefreshOutside() {
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

void CStatisticsWindow::RefreshRuns() {
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

void CStatisticsWindow::RefreshSystem() {
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

void CStatisticsWindow::RefreshGuardrails() {
  // A notice stays while its guardrail counts as reached: a REWIND or CLEAR ALL past it clears it.
  for (int g = 0; g < kGuardrailCount; ++g) {
    if (!guardrails_.IsReached(static_cast<Guardrail>(g))) {
      limits_[static_cast<std::size_t>(g)].notice->hide();
    }
  }
}
