// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <array>
#include <map>
#include <string>

#include "stats/guardrails.h"
#include "stats/session_statistics.h"

class CBankChart;
class CCountChart;
class QCheckBox;
class QGroupBox;
class QLabel;
class QSpinBox;
struct TableState;

// An amount as a normal font shows it: the table writes pounds and euros as braces for its panel
// font ("{", "}"); here they are the signs. The sign of the amount follows the currency, as on
// the table ("$-50").
QString DisplayAmount(const std::string& currencySymbol, double amount, int decimals = 0);

// The honest side of the table, beside the main window: what the session cost against what
// the wheel's edge predicts, the counts of the numbers against a fair wheel, runs and their
// chances, where the system's stakes are heading, and the player's guardrails.
class CStatisticsWindow : public QWidget {
  Q_OBJECT
 public:
  // The table and the monitor belong to the main window, which outlives this window.
  CStatisticsWindow(const TableState& table, const GuardrailMonitor& guardrails,
                    QWidget* parent = nullptr);

  // After every change of the table: spins, REWIND, CLEAR ALL, STAKE and SYSTEM.
  void Refresh();
  // A guardrail just reached, in the words of the message the player was shown.
  void ShowGuardrailNotice(Guardrail guardrail, const QString& notice);

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
  QLabel* AddFigure(class QFormLayout* form, const QString& name);

  void RefreshSession();
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

  std::map<QLabel*, QString> figureNames_;
  QLabel* spins_ = nullptr;
  QLabel* staked_ = nullptr;
  QLabel* result_ = nullptr;
  QLabel* expectedLoss_ = nullptr;
  QLabel* deviation_ = nullptr;
  CBankChart* bankChart_ = nullptr;

  CCountChart* countChart_ = nullptr;
  QLabel* hotCold_ = nullptr;
  QLabel* chiSquare_ = nullptr;

  std::array<QLabel*, 5> outside_{};
  std::array<QLabel*, kRunGroupCount> runs_{};
  QGroupBox* systemBox_ = nullptr;
  QLabel* largestStake_ = nullptr;
  QLabel* nextStakes_ = nullptr;

  std::array<LimitControls, kGuardrailCount> limits_{};
};
