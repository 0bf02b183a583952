// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/statistics_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "app/bank_chart.h"
#include "app/count_chart.h"
#include "app/figure_label.h"

namespace wheelwatcher {

namespace {

// A text a screen reader reaches with Tab and reads whole.
void MakeReadable(QLabel* label) {
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Selectable text alone takes the focus only from a click.
  label->setFocusPolicy(Qt::StrongFocus);
}

// The colour the style fills a box with, where no figure stands yet. A figure paints it under its
// text, so a new figure repaints the figure alone and not the whole box around it.
QColor BoxInterior() {
  QGroupBox box(QStringLiteral("x"));
  box.resize(120, 120);
  return box.grab().toImage().pixelColor(60, 80);
}

}  // namespace

StatisticsWindow::StatisticsWindow(const TableState& table, const GuardrailMonitor& guardrails,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      table_(table),
      guardrails_(guardrails),
      comparer_([this](const SessionComparison& answer) { ShowComparison(answer); }) {
  setObjectName(QStringLiteral("statisticsWindow"));
  setWindowTitle(tr("Wheelwatcher Statistics"));
  setAccessibleName(tr("Statistics"));
  boxInterior_ = BoxInterior();

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
  columns->setContentsMargins(6, 4, 6, 4);
  left->setSpacing(4);
  right->setSpacing(4);
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

// Room for every figure without scrolling, once their lines wrap, and still on a 1366 x 768
// screen; a smaller screen scrolls.
QSize StatisticsWindow::sizeHint() const { return {1060, 736}; }

QLabel* StatisticsWindow::AddFigure(QFormLayout* form, const QString& name) {
  QWidget* slot = nullptr;
  FigureLabel* value = FigureLabel::InSlot(slot);
  // Reached with Tab, and read whole; not selectable, as it paints plain text.
  value->setFocusPolicy(Qt::StrongFocus);
  QPalette background = value->palette();
  background.setColor(QPalette::Window, boxInterior_);
  value->setPalette(background);
  value->setAutoFillBackground(true);
  // Read out as "name: value", so a screen reader needs no look at the layout.
  value->setProperty(kFigureName, name);
  value->setAccessibleName(name + QLatin1Char(':'));
  auto* label = new QLabel(name + QLatin1Char(':'));
  label->setBuddy(value);
  form->addRow(label, slot);
  return value;
}

QWidget* StatisticsWindow::BuildSessionBox() {
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

  bankChart_ = new BankChart;
  bankChart_->setAccessibleName(tr("Chart of BANK over the session"));
  bankChart_->setFocusPolicy(Qt::TabFocus);
  layout->addWidget(bankChart_, 1);
  return box;
}

QWidget* StatisticsWindow::BuildNumbersBox() {
  auto* box = new QGroupBox(tr("Numbers against a fair wheel"));
  box->setAccessibleName(box->title());
  auto* layout = new QVBoxLayout(box);

  countChart_ = new CountChart;
  countChart_->setAccessibleName(tr("Chart of each number's count"));
  countChart_->setFocusPolicy(Qt::TabFocus);
  layout->addWidget(countChart_, 1);

  auto* form = new QFormLayout;
  hotCold_ = AddFigure(form, tr("Hot and cold"));
  chiSquare_ = AddFigure(form, tr("Chi-square test"));
  layout->addLayout(form);
  return box;
}

QWidget* StatisticsWindow::BuildOutsideBox() {
  auto* box = new QGroupBox(tr("Outside bets: share of spins (fair share)"));
  box->setAccessibleName(box->title());
  auto* form = new QFormLayout(box);
  const QString names[] = {tr("Red / black / zero"), tr("Odd / even"), tr("Low / high"),
                           tr("Dozens 1st / 2nd / 3rd"), tr("Columns left / middle / right")};
  for (std::size_t row = 0; row < outside_.size(); ++row)
    outside_[row] = AddFigure(form, names[row]);
  return box;
}

QWidget* StatisticsWindow::BuildRunsBox() {
  auto* box = new QGroupBox(tr("Longest runs, and the chance of one as long"));
  box->setAccessibleName(box->title());
  auto* form = new QFormLayout(box);
  runs_[static_cast<std::size_t>(RunGroup::kColour)] = AddFigure(form, tr("Same colour"));
  runs_[static_cast<std::size_t>(RunGroup::kDozen)] = AddFigure(form, tr("Same dozen"));
  runs_[static_cast<std::size_t>(RunGroup::kColumn)] = AddFigure(form, tr("Same column"));
  return box;
}

QWidget* StatisticsWindow::BuildSystemBox() {
  auto* box = new QGroupBox;
  systemBox_ = box;
  auto* form = new QFormLayout(box);
  largestStake_ = AddFigure(form, tr("Largest so far"));
  nextStakes_ = AddFigure(form, tr("Next spin, then after 1, 2, 3 losses"));
  return box;
}

QWidget* StatisticsWindow::BuildGuardrailsBox() {
  auto* box = new QGroupBox(tr("Guardrails"));
  box->setAccessibleName(box->title());
  auto* grid = new QGridLayout(box);
  const struct {
    Guardrail guardrail;
    QString text;
    QString name;
    QString prefix;
    QString suffix;
  } rows[] = {
      {Guardrail::kStopLoss,
       tr("Stop-loss: BANK at or below"),
       tr("Stop-loss"),
       QStringLiteral("−"),
       {}},
      {Guardrail::kStopWin, tr("Stop-win: BANK at or above"), tr("Stop-win"), {}, {}},
      {Guardrail::kSessionTime,
       tr("Session time since the first spin"),
       tr("Session time"),
       {},
       tr(" min")},
  };
  int row = 0;
  for (const auto& place : rows) {
    LimitControls& controls = limits_[static_cast<std::size_t>(place.guardrail)];
    const GuardrailLimit& limit = guardrails_.Limits()[place.guardrail];
    controls.on = new QCheckBox(place.text);
    controls.on->setChecked(limit.on);
    controls.on->setAccessibleName(place.name + tr(" on"));
    controls.value = new QSpinBox;
    const int largest = static_cast<int>(LargestLimit(place.guardrail));
    controls.value->setRange(1, largest);
    controls.value->setValue(static_cast<int>(std::clamp<std::int64_t>(limit.value, 1, largest)));
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
    connect(controls.on, &QCheckBox::toggled, this, &StatisticsWindow::OnLimitEdited);
    connect(controls.value, &QSpinBox::valueChanged, this, &StatisticsWindow::OnLimitEdited);
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

void StatisticsWindow::OnLimitEdited() {
  GuardrailLimits limits;
  for (int g = 0; g < kGuardrailCount; ++g) {
    const LimitControls& controls = limits_[static_cast<std::size_t>(g)];
    limits[static_cast<Guardrail>(g)] = {controls.on->isChecked(), controls.value->value()};
  }
  emit limitsChanged(limits);
}

void StatisticsWindow::ShowGuardrailNotice(Guardrail guardrail, const QString& notice) {
  QLabel* label = limits_[static_cast<std::size_t>(guardrail)].notice;
  SetFigure(label, notice);
  label->show();
}

void StatisticsWindow::ShowSettingsNotice(const QString& notice) {
  SetFigure(settingsNotice_, notice);
  settingsNotice_->show();
}

void StatisticsWindow::SetFigure(QLabel* label, const QString& text) {
  if (label->text() == text) return;
  label->setText(text);
  label->setAccessibleName(label->property(kFigureName).toString() + QStringLiteral(": ") + text);
}

}  // namespace wheelwatcher
