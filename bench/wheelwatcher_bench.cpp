// SPDX-License-Identifier: GPL-3.0-or-later
// The budgets' benchmarks. Every figure is taken on the real window, pressed the way a player
// presses it: in this process offscreen, or the real executable, offscreen and on a virtual X
// display, against a bare Qt window.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_support.h"
#include "bench/budget_table.h"
#include "bench/journal_bench.h"
#include "bench/lab_bench.h"
#include "bench/program_runs.h"
#include "bench/statistics_window_bench.h"
#include "platform/journal_store.h"
#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

// What every start of a real program shares: settings in a folder of their own, the update check
// sent to a closed loopback proxy, and the click sound routed to ALSA's null device, so that a
// click costs what the program does and not the 57 ms of the clip.
class RealProgramEnvironment {
 public:
  RealProgramEnvironment() {
    const QString alsaConfig = folder_.filePath(QStringLiteral("asound.conf"));
    QFile config(alsaConfig);
    if (config.open(QIODevice::WriteOnly)) {
      config.write(
          "pcm.!default { type file; slave.pcm { type null }; file \"/dev/null\"; "
          "format \"raw\" }\n");
    }
    variables_ = {{"XDG_CONFIG_HOME", folder_.path().toStdString()},
                  {"XDG_STATE_HOME", folder_.path().toStdString()},
                  {"http_proxy", "http://127.0.0.1:9"},
                  {"ALSA_CONFIG_PATH", alsaConfig.toStdString()},
                  {"WHEELWATCHER_REPORT_FIRST_PAINT", "1"}};
  }

  // The variables for the offscreen platform, or for xcb on `display`.
  std::map<std::string, std::string> For(const std::string& display) const {
    std::map<std::string, std::string> variables = variables_;
    variables["QT_QPA_PLATFORM"] = display.empty() ? "offscreen" : "xcb";
    if (!display.empty()) variables["DISPLAY"] = display;
    return variables;
  }

 private:
  QTemporaryDir folder_;
  std::map<std::string, std::string> variables_;
};

// The real executable and the bare reference window, each started until its first paint, in
// pairs whose order alternates. Medians of the start-up time and of the resident memory at that
// paint; the ratios are the medians of each pair's ratio, which a machine busy with other work
// disturbs far less than a ratio of two medians.
void StartToFirstPaint(benchmark::State& state, bool onXvfb) {
  constexpr int kPairs = 25;
  const std::string display = onXvfb ? XvfbDisplay() : std::string();
  if (onXvfb && display.empty()) return state.SkipWithError("Xvfb did not start");
  const RealProgramEnvironment environment;
  const auto variables = environment.For(display);
  const char* const programs[] = {WHEELWATCHER_EXECUTABLE, WHEELWATCHER_BARE_WINDOW};
  std::vector<double> ms[2];
  std::vector<double> rssMb[2];
  std::vector<double> msRatios;
  std::vector<double> rssRatios;
  for (auto _ : state) {
    for (int pair = 0; pair < kPairs; ++pair) {
      for (int turn = 0; turn < 2; ++turn) {
        const int which = (pair + turn) % 2;
        ProgramRun run(programs[which], variables);
        const std::optional<FirstPaint> paint = ReadFirstPaint(run);
        if (!paint) return state.SkipWithError("a program reported no first paint");
        run.Wait();
        ms[which].push_back(paint->milliseconds);
        rssMb[which].push_back(paint->residentMb);
      }
      msRatios.push_back(ms[0].back() / ms[1].back());
      rssRatios.push_back(rssMb[0].back() / rssMb[1].back());
    }
  }
  state.counters["ms"] = Median(ms[0]);
  state.counters["rss_MB"] = Median(rssMb[0]);
  state.counters["bare_ms"] = Median(ms[1]);
  state.counters["bare_rss_MB"] = Median(rssMb[1]);
  state.counters["ms_ratio"] = Median(msRatios);
  state.counters["rss_ratio"] = Median(rssRatios);
}

// Where number `index` of a run of clicks lands: numbers 1 to 36 in turn, so that no two presses
// in a row fall close enough together to make a double-click.
QPoint NumberBoxCentre(int index) {
  const int number = index % 36 + 1;
  constexpr int kColumnCentres[] = {80, 110, 140};
  return {kColumnCentres[(number - 1) % 3], 100 + (number - 1) / 3 * 29};
}

// One click of a run, as xdotool arguments: onto the number box for `index`, in window `window`.
void AppendClick(std::vector<std::string>& arguments, const std::string& window, int index) {
  const QPoint at = NumberBoxCentre(index);
  // "click" would wait 100 ms after each press; a press and a release are the same click.
  arguments.insert(arguments.end(), {"mousemove", "--window", window, std::to_string(at.x()),
                                     std::to_string(at.y()), "mousedown", "1", "mouseup", "1"});
}

// Fresh processes of the real executable on the virtual display: the window is left idle for
// half a second after its first paint (no player clicks sooner), then clicked with real X input
// 100 times. The first click's press to the new picture on screen, and the resident memory after
// the 100th; medians over the processes.
void ClicksOnTheRealDisplay(benchmark::State& state) {
  constexpr int kProcesses = 9;
  constexpr int kClicks = 100;
  const std::string& display = XvfbDisplay();
  if (display.empty()) return state.SkipWithError("Xvfb did not start");
  const RealProgramEnvironment environment;
  auto variables = environment.For(display);
  variables["WHEELWATCHER_REPORT_FIRST_PAINT"] = "clicks";
  const std::map<std::string, std::string> xdotoolVariables = {{"DISPLAY", display}};
  std::vector<double> firstClickMs;
  std::vector<double> rssAfterClicksMb;
  for (auto _ : state) {
    for (int process = 0; process < kProcesses; ++process) {
      ProgramRun run(WHEELWATCHER_EXECUTABLE, variables);
      const std::optional<FirstPaint> paint = ReadFirstPaint(run);
      if (!paint) return state.SkipWithError("the executable reported no first paint");
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      const std::string window = std::to_string(paint->window);
      std::vector<std::string> firstClick = {"xdotool"};
      AppendClick(firstClick, window, 0);
      long long pressedAt = 0;
      long long paintedAt = 0;
      long rssKb = 0;
      std::optional<std::string> line;
      if (!RunCommand(firstClick, xdotoolVariables) || !(line = run.ReadLine(5000)) ||
          std::sscanf(line->c_str(), "click-ns %lld painted-ns %lld rss-kb %ld", &pressedAt,
                      &paintedAt, &rssKb) != 3) {
        return state.SkipWithError("the first click was not followed by a new picture");
      }
      firstClickMs.push_back(static_cast<double>(paintedAt - pressedAt) / 1e6);

      // The other clicks in one run of xdotool. Presses that come faster than their pictures
      // share one report line; the last line follows the last press.
      std::vector<std::string> otherClicks = {"xdotool"};
      for (int click = 1; click < kClicks; ++click) {
        AppendClick(otherClicks, window, click);
        otherClicks.insert(otherClicks.end(), {"sleep", "0.05"});
      }
      if (!RunCommand(otherClicks, xdotoolVariables)) {
        return state.SkipWithError("xdotool could not click");
      }
      rssKb = 0;
      while ((line = run.ReadLine(1000))) {
        std::sscanf(line->c_str(), "click-ns %*d painted-ns %*d rss-kb %ld", &rssKb);
      }
      if (rssKb == 0) return state.SkipWithError("the clicks were not followed by new pictures");
      rssAfterClicksMb.push_back(static_cast<double>(rssKb) / 1024);
    }
  }
  state.counters["first_click_ms"] = Median(firstClickMs);
  state.counters["rss_after_100_MB"] = Median(rssAfterClicksMb);
}

// The session kept as the program keeps it, in a state folder of the benchmark's own.
struct KeptSession {
  QTemporaryDir stateFolder;
  JournalStore journal{stateFolder.filePath(QStringLiteral("wheelwatcher")).toStdString()};
};

// A number press until the panels hold the new advice and the journal its line (the paint that
// follows is left to click_to_picture); REWIND takes the spin back outside the timing, so the
// history keeps its size.
void ClickToAdvice(benchmark::State& state) {
  KeptSession kept;
  MainWindowDriver driver;
  driver.Window().KeepSessionIn(kept.journal);
  EnterSpins(driver, state.range(0), 7);
  double totalUs = 0;
  int number = 0;
  for (auto _ : state) {
    const auto spinsBefore = driver.Tracker().State().spinCount;
    const auto started = Clock::now();
    driver.DeliverPress(number);
    const double seconds = Seconds(Clock::now() - started);
    state.SetIterationTime(seconds);
    totalUs += seconds * 1e6;
    if (driver.Tracker().State().spinCount != spinsBefore + 1) {
      return state.SkipWithError("the press entered no spin");
    }
    driver.Press(region::kRewind);
    QCoreApplication::processEvents();
    number = (number + 7) % 37;
  }
  state.counters["us"] = totalUs / static_cast<double>(state.iterations());
}

// A number press until the window has painted the new SPIN count and flushed it to the screen.
void ClickToPicture(benchmark::State& state) {
  KeptSession kept;
  MainWindowDriver driver;
  driver.Window().KeepSessionIn(kept.journal);
  EnterSpins(driver, state.range(0), 7);
  PaintCounter statusPaints(driver.Window().Control(control::kStatusPanel));
  double totalMs = 0;
  int number = 0;
  for (auto _ : state) {
    const int paintsBefore = statusPaints.paints;
    const auto started = Clock::now();
    driver.Press(number);
    while (statusPaints.paints == paintsBefore &&
           Clock::now() - started < std::chrono::seconds(1)) {
      QCoreApplication::processEvents();
    }
    const double seconds = Seconds(Clock::now() - started);
    state.SetIterationTime(seconds);
    totalMs += seconds * 1e3;
    if (statusPaints.paints == paintsBefore) return state.SkipWithError("no repaint followed");
    driver.Press(region::kRewind);
    QCoreApplication::processEvents();
    number = (number + 7) % 37;
  }
  state.counters["ms"] = totalMs / static_cast<double>(state.iterations());
}

// Heap in use, the large blocks malloc maps on their own included.
std::size_t HeapInUse() {
  const struct mallinfo2 heap = mallinfo2();
  return heap.uordblks + heap.hblkhd;
}

// Heap in use before and after 100,000 presses, History columns included, per spin held.
void MemoryPerSpin(benchmark::State& state) {
  constexpr long kSpins = 100000;
  for (auto _ : state) {
    MainWindowDriver driver;
    QCoreApplication::processEvents();
    const std::size_t before = HeapInUse();
    EnterSpins(driver, kSpins, 7);
    const std::size_t after = HeapInUse();
    if (driver.Tracker().State().spins.size() != kSpins) {
      return state.SkipWithError("not every press entered a spin");
    }
    state.counters["bytes"] = static_cast<double>(after - before) / kSpins;
  }
}

// The freshly started window left alone: the four panels scroll, timer 1 blinks.
void IdleCpu(benchmark::State& state) {
  constexpr int kIdleMs = 10000;
  for (auto _ : state) {
    MainWindowDriver driver;
    QCoreApplication::processEvents();
    const double cpuBefore = ProcessCpuSeconds();
    const auto started = Clock::now();
    QEventLoop idle;
    QTimer::singleShot(kIdleMs, &idle, &QEventLoop::quit);
    idle.exec();
    const double wall = Seconds(Clock::now() - started);
    state.counters["percent"] = (ProcessCpuSeconds() - cpuBefore) / wall * 100;
  }
}

// SYSTEM pressed after 100,000 spins: the report is built and written through the save hook.
void Export(benchmark::State& state) {
  QTemporaryDir folder;
  const QString target = folder.filePath(QStringLiteral("history.txt"));
  MainWindowDriver driver([&target] { return target; });
  EnterSpins(driver, 100000, 7);
  double totalMs = 0;
  for (auto _ : state) {
    const int savesBefore = driver.SaveDialogsShown();
    QFile::remove(target);
    const auto started = Clock::now();
    driver.Press(region::kSystem);
    const double seconds = Seconds(Clock::now() - started);
    state.SetIterationTime(seconds);
    totalMs += seconds * 1e3;
    if (driver.SaveDialogsShown() != savesBefore + 1 || driver.SaveFailures() != 0 ||
        QFileInfo(target).size() < 100000) {
      return state.SkipWithError("the history was not written");
    }
  }
  state.counters["ms"] = totalMs / static_cast<double>(state.iterations());
}

void RegisterBenchmarks() {
  benchmark::RegisterBenchmark("start_offscreen", StartToFirstPaint, false)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("start_xcb", StartToFirstPaint, true)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("clicks_xcb", ClicksOnTheRealDisplay)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  for (const char* name : {"click_to_advice", "click_to_picture"}) {
    auto* click = benchmark::RegisterBenchmark(
        name, name == std::string("click_to_advice") ? ClickToAdvice : ClickToPicture);
    // Fixed iterations: the benchmark function, and so entering the history, runs once per size.
    click->Arg(0)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(2000)->Unit(
        benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("memory_per_spin", MemoryPerSpin)->Iterations(1);
  benchmark::RegisterBenchmark("idle_cpu", IdleCpu)->Iterations(1)->Unit(benchmark::kSecond);
  benchmark::RegisterBenchmark("export_100000", Export)
      ->UseManualTime()
      ->Iterations(20)
      ->Unit(benchmark::kMillisecond);
}

const std::vector<Budget> kBudgets = {
    {"start to first painted window, offscreen / xcb",
     {"start_offscreen", "start_xcb"},
     "ms",
     "ms",
     200},
    {"resident memory at first paint, offscreen / xcb",
     {"start_offscreen", "start_xcb"},
     "rss_MB",
     "MB",
     40},
    {"start to first paint against the bare window, xcb", {"start_xcb"}, "ms_ratio", "x", 1.25},
    {"memory at first paint against the bare window, xcb", {"start_xcb"}, "rss_ratio", "x", 1.2},
    {"resident memory after 100 clicked spins, xcb", {"clicks_xcb"}, "rss_after_100_MB", "MB", 36},
    {"first click in a fresh process to new picture, xcb",
     {"clicks_xcb"},
     "first_click_ms",
     "ms",
     4},
    {"number click to new advice, 0 / 10,000 / 100,000 spins",
     {"click_to_advice/0/", "click_to_advice/10000/", "click_to_advice/100000/"},
     "us",
     "us",
     1000},
    {"number click to new picture, 0 / 10,000 / 100,000 spins",
     {"click_to_picture/0/", "click_to_picture/10000/", "click_to_picture/100000/"},
     "ms",
     "ms",
     16.7},
    {"memory per entered spin at 100,000, History included", {"memory_per_spin"}, "bytes", "B", 64},
    {"CPU idle 10 s, panels scrolling, timer 1 blinking", {"idle_cpu"}, "percent", "%", 1},
    {"export of 100,000 spins", {"export_100000"}, "ms", "ms", 100},
};

}  // namespace

}  // namespace wheelwatcher

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  // A measurement run in a process of its own on the virtual display, started by the parent.
  if (const char* child = std::getenv(kBenchChildVariable)) {
    QApplication application(argc, argv);
    return RunBenchChild(child);
  }
  // Offscreen, and with settings and journals in a folder of their own, never the user's.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  setenv("XDG_STATE_HOME", config.path().toLocal8Bit().constData(), 1);
  QApplication application(argc, argv);

  benchmark::Initialize(&argc, argv);
  RegisterBenchmarks();
  RegisterLabBenchmarks();
  RegisterStatisticsWindowBenchmarks();
  RegisterJournalBenchmarks();
  BudgetReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::vector<Budget> budgets = kBudgets;
  for (Budget& budget : LabBudgets()) budgets.push_back(std::move(budget));
  for (Budget& budget : StatisticsWindowBudgets()) budgets.push_back(std::move(budget));
  for (Budget& budget : JournalBudgets()) budgets.push_back(std::move(budget));
  return PrintBudgetLines(reporter, budgets, std::cout) ? EXIT_SUCCESS : EXIT_FAILURE;
}
