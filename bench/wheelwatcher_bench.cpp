// The budgets' benchmarks. Every figure is taken on the real window, offscreen, pressed the way a
// player presses it; start-up is taken on the real executable.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/budget_table.h"
#include "bench/statistics_window_bench.h"
#include "tests/support/main_window_driver.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Presses `count` numbers in a fixed random order, letting the window catch up (layout, paint)
// after every thousand.
void EnterSpins(MainWindowDriver& driver, long count) {
  std::minstd_rand numbers(7);
  for (long i = 0; i < count; ++i) {
    driver.DeliverPress(static_cast<int>(numbers() % 37));
    if (i % 1000 == 999) QCoreApplication::processEvents();
  }
  QCoreApplication::processEvents();
}

// Counts the paints of one widget, to know when a press has reached the screen.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// The real executable, started until its first paint: it reports the moment and its resident
// memory, then closes itself. The update check's address is sent to a closed loopback proxy.
void StartToFirstPaint(benchmark::State& state) {
  QTemporaryDir config;
  const std::string configHome = "XDG_CONFIG_HOME=" + config.path().toStdString();
  std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen",
                                          "WHEELWATCHER_REPORT_FIRST_PAINT=1",
                                          "http_proxy=http://127.0.0.1:9", configHome};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text(*variable);
    if (text.rfind("QT_QPA_PLATFORM=", 0) != 0 && text.rfind("XDG_CONFIG_HOME=", 0) != 0 &&
        text.rfind("http_proxy=", 0) != 0) {
      environment.push_back(text);
    }
  }
  std::vector<char*> envp;
  for (std::string& text : environment) envp.push_back(text.data());
  envp.push_back(nullptr);
  std::string program = WHEELWATCHER_EXECUTABLE;
  char* argv[] = {program.data(), nullptr};

  double totalMs = 0;
  double totalRssMb = 0;
  for (auto _ : state) {
    int output[2];
    if (pipe(output) != 0) return state.SkipWithError("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const long long started = MonotonicNanoseconds();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
      close(output[0]);
      return state.SkipWithError("cannot start the executable");
    }
    FILE* reader = fdopen(output[0], "r");
    long long paintedAt = 0;
    long rssKb = 0;
    const int read = std::fscanf(reader, "first-paint-ns %lld rss-kb %ld", &paintedAt, &rssKb);
    std::fclose(reader);
    int status = 0;
    waitpid(child, &status, 0);
    if (read != 2) return state.SkipWithError("the executable reported no first paint");
    const double ms = static_cast<double>(paintedAt - started) / 1e6;
    state.SetIterationTime(ms / 1000);
    totalMs += ms;
    totalRssMb += static_cast<double>(rssKb) / 1024;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["ms"] = totalMs / runs;
  state.counters["rss_MB"] = totalRssMb / runs;
}

// A number press until the panels hold the new advice (the paint that follows is left to
// click_to_picture); REWIND takes the spin back outside the timing, so the history keeps its size.
void ClickToAdvice(benchmark::State& state) {
  MainWindowDriver driver;
  EnterSpins(driver, state.range(0));
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
  MainWindowDriver driver;
  EnterSpins(driver, state.range(0));
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
    EnterSpins(driver, kSpins);
    const std::size_t after = HeapInUse();
    if (driver.Tracker().State().spins.size() != kSpins) {
      return state.SkipWithError("not every press entered a spin");
    }
    state.counters["bytes"] = static_cast<double>(after - before) / kSpins;
  }
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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
  EnterSpins(driver, 100000);
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
  benchmark::RegisterBenchmark("start_to_first_paint", StartToFirstPaint)
      ->UseManualTime()
      ->Iterations(10)
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
    {"start to first painted window (real executable)", {"start_to_first_paint"}, "ms", "ms", 200},
    {"resident memory after start-up", {"start_to_first_paint"}, "rss_MB", "MB", 40},
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

int main(int argc, char** argv) {
  // Offscreen, and with settings in a folder of their own, never the user's.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  QApplication application(argc, argv);

  benchmark::Initialize(&argc, argv);
  RegisterBenchmarks();
  RegisterStatisticsWindowBenchmarks();
  BudgetReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::vector<Budget> budgets = kBudgets;
  for (Budget& budget : StatisticsWindowBudgets()) budgets.push_back(std::move(budget));
  return PrintBudgetLines(reporter, budgets, std::cout) ? EXIT_SUCCESS : EXIT_FAILURE;
}
