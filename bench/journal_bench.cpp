// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/journal_bench.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <string>

#include "bench/bench_support.h"
#include "engine/control_ids.h"
#include "platform/journal_store.h"
#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

// Chooses "Resume last session (N spins)" in the window menu, as a player does, and returns when
// the menu has closed; `chosen` is set the moment the item is triggered.
bool ChooseResume(CMainDialog& window, Clock::time_point& chosen) {
  bool found = false;
  QTimer::singleShot(0, &window, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (action->text().startsWith(QStringLiteral("Resume last session"))) {
        found = true;
        chosen = Clock::now();
        action->trigger();
        break;
      }
    }
    menu->close();
  });
  const QPoint where(120, 300);
  QContextMenuEvent open(QContextMenuEvent::Mouse, where, window.mapToGlobal(where));
  QApplication::sendEvent(&window, &open);
  return found;
}

// A session of `spins` played and kept; then, each iteration, a new window that reads the journal
// and resumes it. The figure: reading the journal, plus the choice of the menu item to the first
// paint of the resumed table (its journal written anew included).
void ResumeToFirstPaint(benchmark::State& state) {
  const long spins = state.range(0);
  QTemporaryDir stateFolder;
  const std::string folder = stateFolder.filePath(QStringLiteral("wheelwatcher")).toStdString();
  {
    JournalStore journal(folder);
    MainWindowDriver played;
    played.Window().KeepSessionIn(journal);
    EnterSpins(played, spins, 13);
  }
  double totalMs = 0;
  for (auto _ : state) {
    JournalStore reader(folder);
    const auto readStarted = Clock::now();
    const auto last = reader.ReadLastSessionAndPrune();
    const double readSeconds = Seconds(Clock::now() - readStarted);
    if (!last.session || last.session->spins != static_cast<std::size_t>(spins)) {
      return state.SkipWithError("the journal did not hold the session");
    }

    JournalStore journal(folder);
    MainWindowDriver driver;
    driver.Window().KeepSessionIn(journal);
    // The window reads its journal once it has painted, while the player looks at it.
    const auto waitStarted = Clock::now();
    while (Clock::now() - waitStarted < std::chrono::milliseconds(300)) {
      QCoreApplication::processEvents();
    }
    PaintCounter statusPaints(driver.Window().Control(control::kStatusPanel));
    Clock::time_point chosen;
    if (!ChooseResume(driver.Window(), chosen)) {
      return state.SkipWithError("the window menu offered no resume");
    }
    while (statusPaints.paints == 0 && Clock::now() - chosen < std::chrono::seconds(2)) {
      QCoreApplication::processEvents();
    }
    const double seconds = readSeconds + Seconds(Clock::now() - chosen);
    if (driver.Tracker().State().spins.size() != static_cast<std::size_t>(spins) ||
        statusPaints.paints == 0) {
      return state.SkipWithError("the session was not resumed and painted");
    }
    state.SetIterationTime(seconds);
    totalMs += seconds * 1e3;
  }
  state.counters["ms"] = totalMs / static_cast<double>(state.iterations());
}

// One journal line written and flushed to the disk beneath the build, as the journal's worker
// does after every change: why the flush is never on the click's way.
void FlushOneLine(benchmark::State& state) {
  QTemporaryDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/flush-XXXXXX"));
  const std::string path = folder.filePath(QStringLiteral("probe")).toStdString();
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return state.SkipWithError("no file to flush");
  const std::string line = FormatJournalRecord(JournalRecord::Spin(17, {0x3f}));
  double writeUs = 0;
  double flushMs = 0;
  for (auto _ : state) {
    const auto started = Clock::now();
    if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
      return state.SkipWithError("the line was not written");
    }
    const auto written = Clock::now();
    fdatasync(fd);
    const auto flushed = Clock::now();
    state.SetIterationTime(Seconds(flushed - started));
    writeUs += Seconds(written - started) * 1e6;
    flushMs += Seconds(flushed - written) * 1e3;
  }
  close(fd);
  state.counters["write_us"] = writeUs / static_cast<double>(state.iterations());
  state.counters["fdatasync_ms"] = flushMs / static_cast<double>(state.iterations());
}

}  // namespace

void RegisterJournalBenchmarks() {
  benchmark::RegisterBenchmark("journal_resume", ResumeToFirstPaint)
      ->Arg(10000)
      ->Arg(100000)
      ->UseManualTime()
      ->Iterations(5)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("journal_flush", FlushOneLine)
      ->UseManualTime()
      ->Iterations(200)
      ->Unit(benchmark::kMillisecond);
}

std::vector<Budget> JournalBudgets() {
  return {
      {"resuming a journalled session of 10,000 spins, to first paint",
       {"journal_resume/10000/"},
       "ms",
       "ms",
       100},
      {"resuming a journalled session of 100,000 spins, to first paint (the start-up budget)",
       {"journal_resume/100000/"},
       "ms",
       "ms",
       200},
  };
}

}  // namespace wheelwatcher
