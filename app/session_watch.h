// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <string>

#include "stats/guardrails.h"

class QMessageBox;
class QWidget;

namespace wheelwatcher {

class StatisticsWindow;
class SettingsStore;
class SpinTracker;

// Follows the table for the statistics window and the player's guardrails. The main window tells
// it after every operation; it brings the statistics window up to date (while one is open) and
// reports a guardrail the moment it is reached: in that window, in a message that leaves play
// alone, and once on the ticker, ahead of the advice.
class SessionWatch : public QObject {
  Q_OBJECT
 public:
  // `afterOperation` false: the line falls due by the clock, long after the last spin.
  using ShowTickerLine = std::function<void(const std::string& line, bool afterOperation)>;
  using Now = std::function<GuardrailMonitor::Clock::time_point()>;

  SessionWatch(const SpinTracker& tracker, SettingsStore& settings, QWidget& mainWindow,
               ShowTickerLine showTickerLine, Now now = GuardrailMonitor::Clock::now);
  ~SessionWatch() override;

  // After every operation that may have changed the table.
  void OnTableChanged();
  // After a session was brought back from its journal: the guardrails it had reached stay reached
  // without a word, and the session time counts from now.
  void OnSessionResumed();
  // Opens the statistics window beside the main window, or brings the open one forward.
  void ShowStatisticsWindow();

  StatisticsWindow* OpenedWindow() const;
  QMessageBox* GuardrailMessage() const;

 private:
  void CheckGuardrails(bool afterOperation);
  void OnLimitsChanged(const GuardrailLimits& limits);
  void Report(Guardrail guardrail);
  void ShowMessage(const QString& text);

  const SpinTracker& tracker_;
  SettingsStore& settings_;
  QWidget& mainWindow_;
  ShowTickerLine showTickerLine_;
  Now now_;
  QString ignoredSettings_;  // said in the window: what the settings file held that was not used
  GuardrailMonitor guardrails_;
  QTimer sessionTimer_;                           // wakes the check when the session time falls due
  std::array<QString, kGuardrailCount> notices_;  // the last notice of each, for a new window
  QPointer<StatisticsWindow> window_;
  QPointer<QMessageBox> message_;
};

}  // namespace wheelwatcher
