// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/bench_support.h"

#include <time.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <random>

#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void EnterSpins(MainWindowDriver& driver, long count, unsigned seed) {
  std::minstd_rand numbers(seed);
  for (long i = 0; i < count; ++i) {
    driver.DeliverPress(static_cast<int>(numbers() % 37));
    if (i % 1000 == 999) QCoreApplication::processEvents();
  }
  QCoreApplication::processEvents();
}

PaintCounter::PaintCounter(QWidget* widget) { widget->installEventFilter(this); }

bool PaintCounter::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Paint) ++paints;
  return false;
}

}  // namespace wheelwatcher
