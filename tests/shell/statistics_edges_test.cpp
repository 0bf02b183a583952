// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics window and the guardrails at their exact edges: the notices and messages
// compared whole at the spin that reaches a limit, hot and cold numbers from exactly five expected
// hits a number, and every limit at its largest value kept in the settings file and read back.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>

#include <string>
#include <vector>

#include "app/count_chart.h"
#include "app/session_watch.h"
#include "app/statistics_window.h"
#include "platform/settings_store.h"
#include "tests/core/tracker_test_support.h"

namespace {

// A table on KAVRI at STAKE 1 whose advised number is always 0, with its statistics watch.
struct WatchedTable {
  WatchedTable() : tracker(tableWindow, bytes) {
    for (int i = 0; i < 400; ++i) bytes.Add({0});
    tracker.Start("$", "1", "");
    mainWindow.resize(280, 560);
    mainWindow.show();
  }
  void Spin(int number) {
    tracker.EnterSpin(number);
    watch.OnTableChanged();
  }
  // The figure read out as "name: text".
  QLabel* Labelled(const QString& name) const {
    for (QLabel* label : watch.StatisticsWindow()->findChildren<QLabel*>()) {
      if (label->accessibleName().startsWith(name + ": ")) return label;
    }
    return nullptr;
  }

  FakeTrackerWindow tableWindow;
  ScriptedRandomBytes bytes;
  SpinTracker tracker;
  QWidget mainWindow;
  SettingsStore store;
  std::vector<std::string> tickerLines;
  SessionWatch watch{tracker, store, mainWindow,
                     [this](const std::string& line, bool) { tickerLines.push_back(line); }};
};

void StoreGuardrails(const QByteArray& lines) {
  QSettings("KORMEL", "Wheelwatcher").clear();
  const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       "/KORMEL/Wheelwatcher.conf";
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("[Guardrails]\n" + lines);
}

TEST(GuardrailNotice, WholeTextsAtTheSpinThatReachesTheLimit) {
  const struct {
    const char* name;
    QByteArray stored;
    std::vector<int> spins;  // the last one reaches the limit, the others do not
    const char* noticeName;
    QString notice;
    std::string tickerLine;
  } rows[] = {
      {"stop-loss at exactly minus the limit",
       "StopLossOn=true\nStopLoss=3\n",
       {5, 5, 5},
       "Stop-loss notice",
       "Stop-loss reached after 3 spins: BANK $-3, your limit is $-3.",
       "STOP-LOSS REACHED: BANK $-3"},
      {"stop-win at exactly the limit",
       "StopWinOn=true\nStopWin=34\n",
       {5, 0},
       "Stop-win notice",
       "Stop-win reached after 2 spins: BANK $34, your limit is $34.",
       "STOP-WIN REACHED: BANK $34"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    StoreGuardrails(row.stored);
    WatchedTable table;
    table.watch.ShowStatisticsWindow();
    for (std::size_t i = 0; i + 1 < row.spins.size(); ++i) table.Spin(row.spins[i]);
    EXPECT_EQ(table.watch.GuardrailMessage(), nullptr);
    EXPECT_TRUE(table.tickerLines.empty());
    table.Spin(row.spins.back());

    EXPECT_EQ(table.tickerLines, std::vector<std::string>{row.tickerLine});
    QLabel* notice = table.Labelled(row.noticeName);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(), row.notice);
    ASSERT_NE(table.watch.GuardrailMessage(), nullptr);
    EXPECT_EQ(table.watch.GuardrailMessage()->text(),
              row.notice + " Nothing has been stopped: playing on is your call.");
  }
}

// Hot and cold need every number expected five times: 185 spins. Number 17 has come up 20 times,
// far beyond two standard deviations, but is marked only from the 185th spin on.
TEST(HotAndCold, MarkedFromExactlyFiveExpectedHitsANumber) {
  QSettings("KORMEL", "Wheelwatcher").clear();
  WatchedTable table;
  table.watch.ShowStatisticsWindow();
  std::vector<int> spins(20, 17);
  for (int round = 0; round < 4; ++round) {
    for (int number = 0; number < kWheelNumbers; ++number) {
      if (number != 17) spins.push_back(number);
    }
  }
  for (int number = 0; number <= 20; ++number) {
    if (number != 17) spins.push_back(number);
  }
  ASSERT_EQ(spins.size(), 184u);
  for (int number : spins) table.Spin(number);
  const auto* chart = table.watch.StatisticsWindow()->findChild<CCountChart*>();
  ASSERT_NE(chart, nullptr);

  const struct {
    const char* name;
    bool seventeenHot;
  } rows[] = {{"184 spins, one short", false}, {"185 spins", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.seventeenHot) table.Spin(36);
    for (int number = 0; number < kWheelNumbers; ++number) {
      const CountMark expected =
          number == 17 && row.seventeenHot ? CountMark::kHot : CountMark::kWithinChance;
      EXPECT_EQ(chart->Marks()[static_cast<std::size_t>(number)], expected) << number;
    }
  }
}

// A limit set to the largest value its box allows is written, read back by the next start and
// shown again, never swapped for the default.
TEST(GuardrailSettings, EveryLimitAtItsLargestValueComesBack) {
  QSettings("KORMEL", "Wheelwatcher").clear();
  GuardrailLimits largest;
  {
    WatchedTable table;
    table.watch.ShowStatisticsWindow();
    const QList<QSpinBox*> boxes = table.watch.StatisticsWindow()->findChildren<QSpinBox*>();
    ASSERT_EQ(boxes.size(), kGuardrailCount);
    for (QCheckBox* on : table.watch.StatisticsWindow()->findChildren<QCheckBox*>()) {
      on->setChecked(true);
    }
    for (QSpinBox* box : boxes) box->setValue(box->maximum());
    largest = SettingsStore().ReadGuardrailLimits();
    for (QSpinBox* box : boxes) {
      const Guardrail guardrail = box->accessibleName() == "Stop-loss limit" ? Guardrail::kStopLoss
                                  : box->accessibleName() == "Stop-win limit"
                                      ? Guardrail::kStopWin
                                      : Guardrail::kSessionTime;
      EXPECT_EQ(largest[guardrail], (GuardrailLimit{true, box->maximum()}))
          << box->accessibleName().toStdString();
    }
  }
  WatchedTable nextStart;
  nextStart.watch.ShowStatisticsWindow();
  for (QSpinBox* box : nextStart.watch.StatisticsWindow()->findChildren<QSpinBox*>()) {
    EXPECT_EQ(box->value(), box->maximum()) << box->accessibleName().toStdString();
  }
}

// Values written by hand: the edges of each range are kept, one step beyond gives the default.
TEST(GuardrailSettings, HandWrittenValuesAtAndBeyondTheEdges) {
  const struct {
    const char* name;
    QByteArray stored;
    GuardrailLimits expected;
  } rows[] = {
      {"each at its largest",
       "StopLoss=1000000000\nStopWin=1000000000\nSessionMinutes=1440\n",
       {{false, 1000000000}, {false, 1000000000}, {false, 1440}}},
      {"each one above its largest",
       "StopLoss=1000000001\nStopWin=1000000001\nSessionMinutes=1441\n",
       {}},
      {"each at 1",
       "StopLoss=1\nStopWin=1\nSessionMinutes=1\n",
       {{false, 1}, {false, 1}, {false, 1}}},
      {"each at 0", "StopLoss=0\nStopWin=0\nSessionMinutes=0\n", {}},
      {"switched on, blanks around",
       "StopLossOn= true \nStopLoss= 7 \n",
       {{true, 7}, {false, 100}, {false, 60}}},
  };
  for (const auto& row : rows) {
    StoreGuardrails(row.stored);
    EXPECT_EQ(SettingsStore().ReadGuardrailLimits(), row.expected) << row.name;
  }
}

}  // namespace
