// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <QRegularExpression>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "app/bank_chart.h"
#include "app/count_chart.h"
#include "app/session_watch.h"
#include "app/statistics_texts.h"
#include "app/statistics_window.h"
#include "app/window_placement.h"
#include "engine/control_ids.h"
#include "engine/region_code.h"
#include "panels/ticker_panel.h"
#include "stats/session_statistics.h"
#include "systems/betting_systems.h"
#include "tests/core/tracker_test_support.h"
#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

class StatisticsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings("KORMEL", "Wheelwatcher").clear();  // no guardrails left by another test
    driver = std::make_unique<MainWindowDriver>();
    ASSERT_TRUE(driver->Exposed());
  }

  CMainDialog& Main() { return driver->Window(); }

  // The way a player gets there: a right click on the window, then the menu item. Returns the
  // menu's item texts as shown.
  QStringList ChooseStatisticsFromMenu() {
    QStringList items;
    QTimer::singleShot(0, [&items] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return ADD_FAILURE() << "no menu opened";
      QAction* statistics = nullptr;
      for (QAction* action : menu->actions()) {
        items << action->text();
        if (action->text() == "&Statistics...") statistics = action;
      }
      if (statistics == nullptr) {
        menu->close();
        return;
      }
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(statistics).center());
    });
    QTest::mouseClick(Main().windowHandle(), Qt::RightButton, {}, QPoint(140, 480));
    QApplication::processEvents();
    return items;
  }

  StatisticsWindow* Statistics() { return Main().Session().OpenedWindow(); }

  // A figure of the window by the name a screen reader announces with it ("Spins: 12").
  QString Figure(const QString& name) {
    for (QLabel* label : Statistics()->findChildren<QLabel*>()) {
      if (label->accessibleName().startsWith(name + ": ")) return label->text();
    }
    return "<no figure " + name + ">";
  }

  QString Ticker() {
    return QString::fromStdString(
        static_cast<CTickerPanel*>(Main().Control(control::kAdviceTicker))->text());
  }

  // A number the current advice does not cover, so the spin loses everything staked.
  int LosingNumber() const {
    const BetCode advice = driver->Tracker().State().betCodes.back();
    for (int number = 0; number <= kHighestNumber; ++number) {
      if (PayoutUnitsOn(advice, number) == 0) return number;
    }
    return 0;
  }

  std::unique_ptr<MainWindowDriver> driver;
};

TEST_F(StatisticsWindowTest, OpensFromTheWindowMenuBesideTheMainWindowLeavingItUsable) {
  const QStringList items = ChooseStatisticsFromMenu();
  ASSERT_EQ(items,
            (QStringList{"Mi&nimize", "&Close", "", "&Statistics...", "&About Wheelwatcher..."}));
  ASSERT_NE(Statistics(), nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Statistics()));
  EXPECT_TRUE(Statistics()->isWindow());
  EXPECT_FALSE(Statistics()->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  // The offscreen screen (800 x 600, the table in its middle) has no room beside the table: the
  // window lies wholly on the screen all the same (where it goes on others: WindowPlacement).
  EXPECT_TRUE(Main().screen()->availableGeometry().contains(Statistics()->frameGeometry()));
  EXPECT_EQ(Figure("Spins"), "0");
  EXPECT_TRUE(Figure("Chi-square test").startsWith("cannot tell yet"))
      << Figure("Chi-square test").toStdString();

  // The main window still takes the player's presses, and the statistics follow.
  driver->Press(17);
  EXPECT_EQ(driver->Tracker().State().spins.size(), 1u);
  EXPECT_EQ(Figure("Spins"), "1");

  // Choosing the item again brings the same window forward, not a second one.
  StatisticsWindow* first = Statistics();
  ChooseStatisticsFromMenu();
  EXPECT_EQ(Statistics(), first);
  EXPECT_EQ(Main().findChildren<StatisticsWindow*>().size(), 1);
}

TEST_F(StatisticsWindowTest, FollowsEverySpinRewindAndClearAll) {
  ChooseStatisticsFromMenu();
  ASSERT_NE(Statistics(), nullptr);
  auto* bankChart = Statistics()->findChild<BankChart*>();
  ASSERT_NE(bankChart, nullptr);
  auto* countChart = Statistics()->findChild<CountChart*>();
  ASSERT_NE(countChart, nullptr);

  const auto expectTable = [&](const char* when) {
    const TableState& table = driver->Tracker().State();
    SessionStatistics rebuilt;
    rebuilt.Sync(table);
    EXPECT_EQ(Figure("Spins"), QString::number(table.spins.size())) << when;
    EXPECT_EQ(Figure("Result (BANK)"), "$" + QString::number(table.bank)) << when;
    EXPECT_EQ(Figure("Staked"), "$" + QString::number(rebuilt.TotalStaked())) << when;
    EXPECT_TRUE(
        Figure("Expected loss").startsWith("$" + QString::number(rebuilt.ExpectedLoss(), 'f', 2)))
        << when;
    // The chart's BANK line ends at BANK.
    ASSERT_FALSE(bankChart->BankLine().isEmpty()) << when;
    EXPECT_EQ(bankChart->BankLine().last(),
              QPointF(static_cast<double>(table.spins.size()), static_cast<double>(table.bank)))
        << when;
    for (int number = 0; number < kWheelNumbers; ++number) {
      EXPECT_EQ(countChart->Counts()[static_cast<std::size_t>(number)], rebuilt.NumberCount(number))
          << when << ", number " << number;
    }
  };

  for (int number : {32, 15, 0, 15, 15, 7}) driver->Press(number);
  expectTable("after six spins");
  EXPECT_TRUE(Figure("Same colour").startsWith("2 blacks")) << Figure("Same colour").toStdString();
  driver->Press(region::kRewind);
  expectTable("after REWIND");
  EXPECT_EQ(Figure("Spins"), "5");
  driver->Press(region::kRewind);
  driver->Press(region::kRewind);
  expectTable("after two more");
  EXPECT_TRUE(Figure("Same colour").startsWith("1 ")) << Figure("Same colour").toStdString();
  driver->Press(region::kClearAll);
  expectTable("after CLEAR ALL");
  EXPECT_EQ(Figure("Spins"), "0");
  EXPECT_EQ(Figure("Same colour"), "none yet");
}

TEST_F(StatisticsWindowTest, StopLossReachedTellsThreeWaysOnceAndPlayGoesOn) {
  ChooseStatisticsFromMenu();
  ASSERT_NE(Statistics(), nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Statistics()));
  // Switched on and set in the window, as a player does: a click, then a typed amount.
  QCheckBox* stopLoss = nullptr;
  QSpinBox* stopLossAmount = nullptr;
  for (auto* box : Statistics()->findChildren<QCheckBox*>()) {
    if (box->accessibleName() == "Stop-loss on") stopLoss = box;
  }
  for (auto* spin : Statistics()->findChildren<QSpinBox*>()) {
    if (spin->accessibleName() == "Stop-loss limit") stopLossAmount = spin;
  }
  ASSERT_TRUE(stopLoss && stopLossAmount);
  EXPECT_FALSE(stopLoss->isChecked());  // off until the player switches it on
  QTest::mouseClick(stopLoss, Qt::LeftButton, {}, QPoint(8, stopLoss->height() / 2));
  EXPECT_TRUE(stopLoss->isChecked());
  stopLossAmount->setFocus();
  QTest::keyClick(stopLossAmount, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(stopLossAmount, "3");
  QTest::keyClick(stopLossAmount, Qt::Key_Return);
  EXPECT_EQ(stopLossAmount->value(), 3);
  {
    const QSettings settings("KORMEL", "Wheelwatcher");
    EXPECT_EQ(settings.value("Guardrails/StopLossOn").toBool(), true);
    EXPECT_EQ(settings.value("Guardrails/StopLoss").toInt(), 3);
  }

  // KAVRI at STAKE 1 loses one a spin while the advised number stays away.
  driver->Press(LosingNumber());
  driver->Press(LosingNumber());
  EXPECT_EQ(Main().Session().GuardrailMessage(), nullptr);
  EXPECT_FALSE(Ticker().contains("STOP-LOSS"));
  driver->Press(LosingNumber());
  ASSERT_EQ(driver->Tracker().State().bank, -3);

  QMessageBox* message = Main().Session().GuardrailMessage();
  ASSERT_NE(message, nullptr);
  EXPECT_TRUE(message->isVisible());
  EXPECT_EQ(message->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(message->text().startsWith("Stop-loss reached after 3 spins: BANK $-3"))
      << message->text().toStdString();
  EXPECT_FALSE(message->frameGeometry().intersects(Main().frameGeometry()));
  // The line stands ahead of the advice (the panel may have scrolled a cell since).
  const qsizetype line = Ticker().indexOf("STOP-LOSS REACHED: BANK $-3 ");
  EXPECT_GE(line, 0) << Ticker().toStdString();
  EXPECT_GT(Ticker().indexOf("Your next bet is"), line);
  QLabel* notice = nullptr;
  for (QLabel* label : Statistics()->findChildren<QLabel*>()) {
    if (label->accessibleName().startsWith("Stop-loss notice: ")) notice = label;
  }
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_TRUE(notice->text().startsWith("Stop-loss reached"));
  // A screen reader reads the notice whole, and reaches it with Tab.
  EXPECT_EQ(notice->accessibleName(), "Stop-loss notice: " + notice->text());
  EXPECT_NE(notice->focusPolicy() & Qt::TabFocus, 0);

  // Play goes on with the message up; the ticker line came once, and so did the message.
  const QString messageText = message->text();
  driver->Press(LosingNumber());
  EXPECT_EQ(driver->Tracker().State().spins.size(), 4u);
  EXPECT_FALSE(Ticker().contains("STOP-LOSS")) << Ticker().toStdString();
  EXPECT_TRUE(Ticker().contains("Your next bet is"));
  EXPECT_EQ(message->text(), messageText);

  // CLEAR ALL starts a session that has reached nothing.
  driver->Press(region::kClearAll);
  EXPECT_FALSE(notice->isVisible());
}

TEST(StatisticsWindowSettings, GuardrailsComeBackFromTheSettingsFile) {
  {
    QSettings settings("KORMEL", "Wheelwatcher");
    settings.clear();
    settings.setValue("Guardrails/StopWinOn", true);
    settings.setValue("Guardrails/StopWin", 250);
    settings.setValue("Guardrails/SessionTimeOn", true);
    settings.setValue("Guardrails/SessionMinutes", "soon");  // not a number: the default
    settings.setValue("Guardrails/StopLoss", -5);            // out of range: the default
  }
  MainWindowDriver driver;
  driver.Window().Session().ShowStatisticsWindow();
  StatisticsWindow* window = driver.Window().Session().OpenedWindow();
  ASSERT_NE(window, nullptr);
  std::map<QString, QString> shown;
  for (auto* box : window->findChildren<QCheckBox*>()) {
    shown[box->accessibleName()] = box->isChecked() ? "on" : "off";
  }
  for (auto* spin : window->findChildren<QSpinBox*>()) {
    shown[spin->accessibleName()] = QString::number(spin->value());
  }
  EXPECT_EQ(shown, (std::map<QString, QString>{{"Stop-loss on", "off"},
                                               {"Stop-loss limit", "50"},
                                               {"Stop-win on", "on"},
                                               {"Stop-win limit", "250"},
                                               {"Session time on", "on"},
                                               {"Session time limit", "60"}}));
  // What the file held but could not be used is named in the window, not silently replaced.
  QLabel* notice = nullptr;
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label->accessibleName().startsWith("Settings file: ")) notice = label;
  }
  ASSERT_NE(notice, nullptr);
  EXPECT_FALSE(notice->isHidden());
  EXPECT_TRUE(notice->text().startsWith(
      "Your settings file has StopLoss=-5, SessionMinutes=soon, which no limit can take: the "
      "limit shown is the default until you set it here."))
      << notice->text().toStdString();
}

TEST_F(StatisticsWindowTest, EveryControlHasANameForScreenReaders) {
  ChooseStatisticsFromMenu();
  ASSERT_NE(Statistics(), nullptr);
  for (int number : {1, 2, 3}) driver->Press(number);
  int named = 0;
  for (QWidget* widget : Statistics()->findChildren<QWidget*>()) {
    const bool needsName = qobject_cast<QCheckBox*>(widget) || qobject_cast<QSpinBox*>(widget) ||
                           qobject_cast<CountChart*>(widget) || qobject_cast<BankChart*>(widget);
    if (!needsName) continue;
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->metaObject()->className();
    ++named;
  }
  EXPECT_EQ(named, 2 + 3 + 3);  // two charts, three switches, three limits
  // Tab reaches every figure and both charts; the count chart says what it shows.
  int figures = 0;
  for (QWidget* widget : Statistics()->findChildren<QWidget*>()) {
    const auto* label = qobject_cast<QLabel*>(widget);
    const bool figure =
        label != nullptr && label->buddy() == nullptr && label->accessibleName().contains(": ");
    if (!figure && !qobject_cast<CountChart*>(widget) && !qobject_cast<BankChart*>(widget))
      continue;
    EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus) << widget->accessibleName().toStdString();
    figures += figure ? 1 : 0;
  }
  EXPECT_EQ(figures, 6 + 2 + 5 + 3 + 2);  // session, numbers, outside bets, runs, stakes
  EXPECT_TRUE(Statistics()->findChild<CountChart*>()->accessibleDescription().startsWith(
      "3 spins: each number expected 0.1 times; counts from 0 (number 0) to 1 (number 1)"))
      << Statistics()->findChild<CountChart*>()->accessibleDescription().toStdString();
  // Figures are read out with their names, and follow the table.
  EXPECT_EQ(Figure("Spins"), "3");
  for (QLabel* label : Statistics()->findChildren<QLabel*>()) {
    if (label->accessibleName().startsWith("Spins: ")) {
      EXPECT_EQ(label->accessibleName(), "Spins: 3");
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
      ASSERT_NE(accessible, nullptr);
      EXPECT_EQ(accessible->text(QAccessible::Name), "Spins: 3");
    }
  }
}

// A number far above its fair share is marked hot in the chart and named in the figure; none is
// marked before the counts can tell.
TEST_F(StatisticsWindowTest, MarksAFavouredNumberHotOnceTheCountsCanTell) {
  ChooseStatisticsFromMenu();
  ASSERT_NE(Statistics(), nullptr);
  auto* countChart = Statistics()->findChild<CountChart*>();
  ASSERT_NE(countChart, nullptr);
  for (int number = 0; number < kWheelNumbers; ++number) {
    for (int spin = 0; spin < 4; ++spin) driver->Press(number);
  }
  for (int spin = 0; spin < 30; ++spin) driver->Press(17);
  ASSERT_LT(driver->Tracker().State().spins.size(), kSpinsForChiSquare);
  for (CountMark mark : countChart->Marks()) EXPECT_EQ(mark, CountMark::kWithinChance);

  for (int number = 0; number < kWheelNumbers; ++number) driver->Press(number);
  ASSERT_GE(driver->Tracker().State().spins.size(), kSpinsForChiSquare);
  EXPECT_EQ(countChart->Counts()[17], 35);
  for (int number = 0; number < kWheelNumbers; ++number) {
    EXPECT_EQ(countChart->Marks()[static_cast<std::size_t>(number)],
              number == 17 ? CountMark::kHot : CountMark::kWithinChance)
        << number;
  }
  EXPECT_TRUE(Figure("Hot and cold").startsWith("hot 17 (35); cold none"))
      << Figure("Hot and cold").toStdString();
}

// The session time falls due between presses: the watch wakes by itself, on a clock the test
// moves, and tells once.
TEST(SessionTimeGuardrail, FallsDueWithoutAPressAndTellsOnce) {
  {
    QSettings settings("KORMEL", "Wheelwatcher");
    settings.clear();
    settings.setValue("Guardrails/SessionTimeOn", true);
    settings.setValue("Guardrails/SessionMinutes", 1);
  }
  FakeTrackerWindow tableWindow;
  ScriptedRandomBytes bytes;
  bytes.Add({0, 0});
  SpinTracker tracker(tableWindow, bytes);
  tracker.Start("$", "1", "");
  QWidget mainWindow;
  mainWindow.resize(280, 560);
  mainWindow.show();
  SettingsStore store;
  std::vector<std::string> tickerLines;
  auto now = GuardrailMonitor::Clock::time_point{} + std::chrono::hours(5);
  SessionWatch watch(
      tracker, store, mainWindow,
      [&tickerLines](const std::string& line, bool afterOperation) {
        EXPECT_FALSE(afterOperation);  // by the clock: no win of a spin long past goes with it
        tickerLines.push_back(line);
      },
      [&now] { return now; });

  tracker.EnterSpin(5);
  watch.OnTableChanged();  // the session's clock starts with its first spin
  now += std::chrono::milliseconds(59800);
  watch.OnTableChanged();  // a press 200 ms before the minute is up
  EXPECT_TRUE(tickerLines.empty());
  // The rest of the minute passes with no press at all.
  now += std::chrono::milliseconds(200);
  EXPECT_TRUE(QTest::qWaitFor([&tickerLines] { return !tickerLines.empty(); }, 3000));
  EXPECT_EQ(tickerLines, std::vector<std::string>{"TIME LIMIT REACHED: 1 MINUTE"});
  ASSERT_NE(watch.GuardrailMessage(), nullptr);
  EXPECT_TRUE(watch.GuardrailMessage()->isVisible());
  EXPECT_TRUE(watch.GuardrailMessage()->text().startsWith(
      "Session time reached: 1 min since the first spin, 1 spins, BANK $-1."))
      << watch.GuardrailMessage()->text().toStdString();
  // Once: later presses and time bring no second line.
  now += std::chrono::minutes(5);
  watch.OnTableChanged();
  QTest::qWait(100);
  EXPECT_EQ(tickerLines.size(), 1u);
}

TEST(WindowPlacement, BesideTheAnchorNeverOverIt) {
  const QRect main(100, 50, 290, 600);
  const struct {
    QRect anchor;
    QRect screen;
    QSize size;
    QPoint expected;
  } cases[] = {
      {main, {0, 0, 1920, 1080}, {870, 630}, {398, 50}},                  // right, tops aligned
      {{1500, 50, 290, 600}, {0, 0, 1920, 1080}, {870, 630}, {622, 50}},  // no room right: left
      {{0, 0, 280, 560}, {0, 0, 800, 600}, {500, 400}, {288, 0}},         // the offscreen screen
      {{0, 500, 280, 560}, {0, 0, 800, 1080}, {500, 400}, {288, 500}},    // kept on the screen
      {{50, 50, 290, 600}, {0, 0, 400, 1400}, {300, 500}, {50, 658}},     // narrow: below
      {main, {0, 0, 1200, 1080}, {820, 630}, {398, 50}},  // no room anywhere: the wider side
  };
  for (const auto& c : cases) {
    const QPoint place = PlaceBeside(c.anchor, c.size, c.screen);
    EXPECT_EQ(place, c.expected) << c.anchor.x() << "," << c.screen.width();
    EXPECT_FALSE(QRect(place, c.size).intersects(c.anchor));
  }
}

// The statistics window can shrink (its figures scroll): on every screen it lies wholly on the
// screen, beside the table where there is room, over the table only where there is none.
TEST(WindowPlacement, StatisticsWindowWhollyOnTheScreen) {
  const QSize wanted(1010, 680);
  const QSize least(430, 390);
  const struct {
    const char* name;
    QRect screen;
    QRect anchor;
    QRect expected;
  } cases[] = {
      {"1920x1080, table at the left",
       {0, 0, 1920, 1080},
       {100, 50, 290, 600},
       {398, 50, 1010, 680}},
      {"1920x1080, table in the middle: narrowed on the wider side",
       {0, 0, 1920, 1080},
       {821, 50, 290, 600},
       {8, 50, 805, 680}},
      {"1366x768, table at the left", {0, 0, 1366, 768}, {0, 0, 290, 600}, {298, 0, 1010, 680}},
      {"1366x768, table at the right",
       {0, 0, 1366, 768},
       {1076, 100, 290, 600},
       {58, 88, 1010, 680}},
      {"1366x768, table in the middle",
       {0, 0, 1366, 768},
       {538, 100, 290, 600},
       {836, 88, 522, 680}},
      {"1024x768, table at the left", {0, 0, 1024, 768}, {0, 0, 290, 600}, {298, 0, 718, 680}},
      {"1024x768, table in the middle: over its edge",
       {0, 0, 1024, 768},
       {367, 84, 290, 600},
       {14, 84, 1010, 680}},
      {"800x600, smaller than the window", {0, 0, 800, 600}, {0, 0, 280, 560}, {288, 0, 504, 600}},
      {"second screen to the right",
       {1920, 0, 1366, 768},
       {1920, 0, 290, 600},
       {2218, 0, 1010, 680}},
  };
  for (const auto& c : cases) {
    const QRect place = PlaceOnScreen(c.anchor, wanted, least, c.screen);
    EXPECT_EQ(place, c.expected) << c.name;
    EXPECT_TRUE(c.screen.contains(place)) << c.name;
    if (place.size() != wanted.boundedTo(c.screen.size())) {
      EXPECT_FALSE(place.intersects(c.anchor)) << c.name << ": narrowed, yet over the table";
    }
  }
}

class GeneratorBytes : public RandomBytes {
 public:
  explicit GeneratorBytes(std::mt19937_64& generator) : generator_(generator) {}
  std::uint8_t NextByte() override { return static_cast<std::uint8_t>(generator_() & 0xFF); }

 private:
  std::mt19937_64& generator_;
};

// What each bet returned for each unit it staked, less that unit, over many bets.
struct BetReturns {
  double sum = 0;
  double squares = 0;
  double count = 0;

  double Mean() const { return sum / count; }
  double Error() const { return std::sqrt((squares / count - Mean() * Mean()) / count); }
};

// BANK after `spins` of sessions on the window's own table code, with a generator and seed of the
// test's own; each bet's return added to `returns`.
std::vector<double> TableSessions(int system, int sessions, int spins, std::uint64_t seed,
                                  BetReturns& returns) {
  std::mt19937_64 generator(seed);
  std::uniform_int_distribution<int> wheel(0, kHighestNumber);
  std::vector<double> banks;
  for (int s = 0; s < sessions; ++s) {
    FakeTrackerWindow window;
    GeneratorBytes bytes(generator);
    SpinTracker tracker(window, bytes);
    tracker.Start("$", std::to_string(system), "");
    for (int spin = 0; spin < spins; ++spin) tracker.EnterSpin(wheel(generator));
    const TableState& table = tracker.State();
    SessionStatistics statistics;
    statistics.Sync(table);
    for (int spin = 1; spin <= spins; ++spin) {
      const auto staked = static_cast<double>(statistics.TotalStakedAfter(spin) -
                                              statistics.TotalStakedAfter(spin - 1));
      const auto net = static_cast<double>(table.bankHistory[static_cast<std::size_t>(spin)] -
                                           table.bankHistory[static_cast<std::size_t>(spin) - 1]);
      returns.sum += net / staked;
      returns.squares += (net / staked) * (net / staked);
      ++returns.count;
    }
    banks.push_back(static_cast<double>(table.bank));
  }
  return banks;
}

double Mean(const std::vector<double>& values) {
  return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// What the window says of the session against the system's own sessions is checked against
// sessions the test plays itself on the table's code: the share at or above BANK and their
// median, each within its error, and that the mean of the system's sessions is a loss of 2.70 %
// of what they stake while a sample's mean can show a gain, for every system, in an ordinary
// session and in one that lost every spin.
TEST_F(StatisticsWindowTest, SaysTruthfullyWhereBankLiesAmongTheSystemsOwnSessions) {
  constexpr int kSpins = 60;
  constexpr int kTestSessions = 3000;
  constexpr double kZ = 4.5;
  const QRegularExpression sentence(
      "^(?:(\\d+)\u00a0%|(under 1)\u00a0%|(over 99)\u00a0%|(none)|(all))(?: of)? ([\\d,]+) "
      "simulated "
      "(\\w+) sessions of (\\d+) spins at a base stake of \\$1 ended at or above \\$(-?\\d+); "
      "their median \\$(-?[\\d.]+)\\. Their mean is not given, as a sample's mean can show a "
      "gain: the mean of all (\\w+) sessions is a loss, 2.70\u00a0% of what they stake$");
  ASSERT_TRUE(sentence.isValid());
  std::mt19937 spinsOfTheEvening(22);
  for (int system = 1; system <= 5; ++system) {
    SCOPED_TRACE("system " + std::to_string(system));
    BetReturns returns;
    const std::vector<double> banks =
        TableSessions(system, kTestSessions, kSpins, 1000 + system, returns);
    // A sample's mean can show a gain: some of twenty samples of 200 sessions of 400 spins.
    // (Their bets are not counted below: the search stops at a sample that gained.)
    bool sampleGained = false;
    for (std::uint64_t seed = 1; seed <= 20 && !sampleGained; ++seed) {
      BetReturns uncounted;
      sampleGained = Mean(TableSessions(system, 200, 400, 5000 * system + seed, uncounted)) > 0;
    }
    EXPECT_TRUE(sampleGained);
    // Yet the mean of all sessions is a loss of 2.70 % of what they stake, as every bet loses
    // 2.70 % of its stake on average, whatever the stake. Whole sessions cannot show it (above),
    // their bets can: a million of them (a loss five standard errors out for a single number).
    TableSessions(system, 5000, 200, 9000 + system, returns);
    EXPECT_NEAR(returns.Mean(), -1.0 / 37, kZ * returns.Error());
    EXPECT_LT(returns.Mean(), 0);

    for (const bool losingEvery : {false, true}) {
      SCOPED_TRACE(losingEvery ? "every spin lost" : "an ordinary session");
      driver = std::make_unique<MainWindowDriver>();
      // SYSTEM: the first press shows the system, each further one steps on.
      driver->Press(region::kSystem);
      for (int press = 0; press < 5 && driver->Tracker().State().systemNumber != system; ++press) {
        driver->Press(region::kSystem);
      }
      ASSERT_EQ(driver->Tracker().State().systemNumber, system);
      ChooseStatisticsFromMenu();
      ASSERT_NE(Statistics(), nullptr);
      std::uniform_int_distribution<int> wheel(0, kHighestNumber);
      for (int spin = 0; spin < kSpins; ++spin) {
        driver->Press(losingEvery ? LosingNumber() : wheel(spinsOfTheEvening));
      }
      const Money bank = driver->Tracker().State().bank;
      QRegularExpressionMatch said;
      ASSERT_TRUE(QTest::qWaitFor(
          [&] {
            // The answer for the previous spin stays up until this one's comes.
            said = sentence.match(Figure("Against the system's own sessions"));
            return said.hasMatch() && said.captured(8).toInt() == kSpins;
          },
          20000))
          << Figure("Against the system's own sessions").toStdString();
      EXPECT_EQ(said.captured(7).toStdString(),
                GetSystemName(system, false).substr(GetSystemName(system, false).rfind(' ') + 1));
      EXPECT_EQ(said.captured(8).toInt(), kSpins);
      EXPECT_EQ(said.captured(9).toLongLong(), bank);
      const double windowSessions = QString(said.captured(6)).remove(',').toDouble();

      const double share =
          static_cast<double>(
              std::count_if(banks.begin(), banks.end(), [bank](double b) { return b >= bank; })) /
          kTestSessions;
      // Both samples' errors, with the worst case p = 1/2 where the test's share is at an edge.
      const double spread = kZ * std::sqrt(std::max(share * (1 - share), 0.25 / kTestSessions) *
                                           (1.0 / kTestSessions + 1.0 / windowSessions));
      if (said.hasCaptured(1)) {
        EXPECT_NEAR(said.captured(1).toDouble() / 100, share, 0.005 + spread);
      } else if (said.hasCaptured(2)) {
        EXPECT_LT(share, 0.01 + spread);
      } else if (said.hasCaptured(3)) {
        EXPECT_GT(share, 0.99 - spread);
      } else if (said.hasCaptured(4)) {
        EXPECT_LT(share, spread);
      } else {
        EXPECT_GT(share, 1 - spread);
      }
      EXPECT_EQ(said.captured(11), said.captured(7));
      // A median has at least half the sessions on each side of it, itself included.
      const double median = said.captured(10).toDouble();
      const double medianSpread = kZ * std::sqrt(0.25 / kTestSessions + 0.25 / windowSessions);
      EXPECT_GE(
          std::count_if(banks.begin(), banks.end(), [median](double b) { return b <= median; }),
          (0.5 - medianSpread) * kTestSessions);
      EXPECT_GE(
          std::count_if(banks.begin(), banks.end(), [median](double b) { return b >= median; }),
          (0.5 - medianSpread) * kTestSessions);
      if (losingEvery) {
        EXPECT_TRUE(Figure("Result against expectation").contains(" worse than the expected loss"))
            << Figure("Result against expectation").toStdString();
      }
    }
  }
}

}  // namespace

namespace {

// A chance or share is never rounded to a certainty it is not, and a value never parts from its
// "%" at a line break.
TEST(StatisticsTexts, ChancesStayTrueAtTheEdges) {
  const QString nbsp(QChar(0x00a0));
  const struct {
    double chance;
    QString said;
  } rows[] = {
      {0.99954, "over 99" + nbsp + "%"}, {0.995, "over 99" + nbsp + "%"},
      {0.62, "62" + nbsp + "%"},         {0.004, "0.4" + nbsp + "%"},
      {0.0004, "about 1 in 2,500"},      {1e-7, "under 1 in a million"},
  };
  for (const auto& row : rows) EXPECT_EQ(Chance(row.chance), row.said) << row.chance;
  EXPECT_EQ(ShareOfSpins(1, 3), "33.3" + nbsp + "%");
  EXPECT_EQ(DisplayMoney("}", -1152921504606846975), "€-1152921504606846975");
}

}  // namespace

}  // namespace wheelwatcher
