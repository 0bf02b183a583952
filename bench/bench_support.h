// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <chrono>

class QEvent;
class QWidget;

namespace wheelwatcher {

class MainWindowDriver;

// What the benchmarks share: clock and processor time, and a session of spins entered the way a
// player enters them.
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration);
// Processor time of the whole process so far, every thread included.
double ProcessCpuSeconds();
// Presses `count` numbers in the order a generator seeded with `seed` gives, letting the window
// catch up (layout, paint) after every thousand.
void EnterSpins(MainWindowDriver& driver, long count, unsigned seed);

// Counts the paints of one widget, to know when a change has reached the screen.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget);
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override;
};

}  // namespace wheelwatcher
