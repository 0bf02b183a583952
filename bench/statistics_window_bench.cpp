// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/statistics_window_bench.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QTest>

#include <chrono>

#include "app/session_watch.h"
#include "app/statistics_window.h"
#include "bench/bench_support.h"
#include "tests/support/main_window_driver.h"

namespace {

constexpr long kSpins = 100000;

// Notes the first paint of a window.
class FirstPaint : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

// From the menu item's action to the window painted: statistics of the whole history are built
// on opening, so this is taken at 100,000 spins.
void OpenStatisticsWindow(benchmark::State& state) {
  MainWindowDriver driver;
  EnterSpins(driver, kSpins, 11);
  SessionWatch& session = driver.Window().Session();
  double totalMs = 0;
  for (auto _ : state) {
    FirstPaint paint;
    const auto started = Clock::now();
    session.ShowStatisticsWindow();
    CStatisticsWindow* window = session.StatisticsWindow();
    window->installEventFilter(&paint);
    while (!paint.painted && Clock::now() - started < std::chrono::seconds(2)) {
      QCoreApplication::processEvents();
    }
    const double seconds = Seconds(Clock::now() - started);
    state.SetIterationTime(seconds);
    totalMs += seconds * 1e3;
    if (!paint.painted) return state.SkipWithError("the window never painted");
    window->close();  // deleted on close: the next opening starts from nothing again
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  state.counters["ms"] = totalMs / static_cast<double>(state.iterations());
}

// A number press with the window open, until the window shows the new figures (the main
// window's own work included); REWIND takes the spin back outside the timing.
void UpdateAfterSpin(benchmark::State& state) {
  MainWindowDriver driver;
  EnterSpins(driver, kSpins, 11);
  SessionWatch& session = driver.Window().Session();
  session.ShowStatisticsWindow();
  if (!QTest::qWaitForWindowExposed(session.StatisticsWindow())) {
    return state.SkipWithError("the window was not shown");
  }
  double totalUs = 0;
  int number = 0;
  for (auto _ : state) {
    const auto spinsBefore = driver.Tracker().State().spins.size();
    const auto started = Clock::now();
    driver.DeliverPress(number);
    const double seconds = Seconds(Clock::now() - started);
    state.SetIterationTime(seconds);
    totalUs += seconds * 1e6;
    if (driver.Tracker().State().spins.size() != spinsBefore + 1) {
      return state.SkipWithError("the press entered no spin");
    }
    driver.DeliverPress(region::kRewind);
    QCoreApplication::processEvents();
    number = (number + 7) % 37;
  }
  state.counters["us"] = totalUs / static_cast<double>(state.iterations());
}

}  // namespace

void RegisterStatisticsWindowBenchmarks() {
  benchmark::RegisterBenchmark("statistics_open_100000", OpenStatisticsWindow)
      ->UseManualTime()
      ->Iterations(10)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("statistics_update_100000", UpdateAfterSpin)
      ->UseManualTime()
      ->Iterations(500)
      ->Unit(benchmark::kMicrosecond);
}

std::vector<Budget> StatisticsWindowBudgets() {
  return {
      {"statistics window: opening at 100,000 spins, to its first paint",
       {"statistics_open_100000"},
       "ms",
       "ms",
       100},
      {"statistics window: a spin to its new figures at 100,000 spins, main window included",
       {"statistics_update_100000"},
       "us",
       "us",
       2000},
  };
}
