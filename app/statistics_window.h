// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

#include <array>
#include <optional>

#include "app/session_comparison.h"
#include "stats/guardrails.h"
#include "stats/session_statistics.h"

class QCheckBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QSpinBox;

namespace wheelwatcher {

class BankChart;
class CountChart;
struct TableState;

// The honest side of the table, beside the main window: what the session cost against what
// the wheel's edge predicts and against sessions of the same system, the counts of the numbers
// against a fair wheel, runs and their chances, where the system's stakes are heading, and the
// player's guardrails. Its figures sit in a scroll area, so a small screen shows every one.
class StatisticsWindow : public QWidget {
  Q_OBJECT
 public:
  // The table and the monitor belong to the main window, which outlives this window.
  StatisticsWindow(const TableState& table, const GuardrailMonitor& guardrails,
                   QWidget* parent = nullptr);

  // After every change of the table: spins, REWIND, CLEAR ALL, STAKE and SYSTEM. Only figures
  // whose text changed are set, and only they are announced to a screen reader.
  void Refresh();
  // A guardrail just reached, in the words of the message the player was shown.
  void ShowGuardrailNotice(Guardrail guardrail, const QString& notice);
  // What the settings file asked for but could not be used, said where the limits are set.
  void ShowSettingsNotice(const QString& notice);
  // The size the whole window asks for, frame excluded.
  QSize sizeHint() const override;

 signals:
  void limitsChanged(const GuardrailLimits& limits);

 private:
  struct LimitControls {
    QCheckBox* on;
    QSpinBox* value;
    QLabel* notice;
  };

  QWidget* BuildSessionBox();
  QWidget* BuildNumbersBox();
  QWidget* BuildOutsideBox();
  QWidget* BuildRunsBox();
  QWidget* BuildSystemBox();
  QWidget* BuildGuardrailsBox();
  QLabel* AddFigure(QFormLayout* form, const QString& name);
  // Sets a figure and what a screen reader reads of it ("Spins: 12") only when its text changed:
  // every change is announced, and a spin changes few of them.
  static void SetFigure(QLabel* label, const QString& text);
  // The property that holds a figure's name.
  static constexpr char kFigureName[] = "figureName";

  // statistics_figures.cpp
  void RefreshSession();
  void RefreshComparison();
  void ShowComparison(const SessionComparison& answer);
  void RefreshBankChart();
  void RefreshNumbers();
  void RefreshOutside();
  void RefreshRuns();
  void RefreshSystem();
  void RefreshGuardrails();
  void OnLimitEdited();
  QString Amount(double amount, int decimals = 0) const;

  const TableState& table_;
  const GuardrailMonitor& guardrails_;
  SessionStatistics statistics_;
  SessionComparer comparer_;
  std::optional<SessionComparison> asked_;  // the question the comparison figure waits for

  QColor boxInterior_;  // under every figure
  QWidget* content_ = nullptr;
  QLabel* spins_ = nullptr;
  QLabel* staked_ = nullptr;
  QLabel* result_ = nullptr;
  QLabel* expectedLoss_ = nullptr;
  QLabel* deviation_ = nullptr;
  QLabel* comparison_ = nullptr;
  BankChart* bankChart_ = nullptr;

  CountChart* countChart_ = nullptr;
  QLabel* hotCold_ = nullptr;
  QLabel* chiSquare_ = nullptr;

  std::array<QLabel*, 5> outside_{};
  std::array<QLabel*, kRunGroupCount> runs_{};
  QGroupBox* systemBox_ = nullptr;
  QLabel* largestStake_ = nullptr;
  QLabel* nextStakes_ = nullptr;

  std::array<LimitControls, kGuardrailCount> limits_{};
  QLabel* limitsNote_ = nullptr;
  QLabel* settingsNotice_ = nullptr;
};

}  // namespace wheelwatcher
