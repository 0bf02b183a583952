// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

namespace wheelwatcher {

// For measuring start-up and the first clicks. When the environment sets
// WHEELWATCHER_REPORT_FIRST_PAINT, the window's first paint is followed by one line on standard
// output, "first-paint-ns <CLOCK_MONOTONIC ns> rss-kb <resident kB> window <X window id>". With the
// value "clicks" the window then stays open and every left press on it is followed, once the next
// paint has reached the screen, by "click-ns <press ns> painted-ns <ns> rss-kb <resident kB>";
// with any other value it closes, so a benchmark can start the real program again and again.
// Without the variable nothing is installed.
class FirstPaintReport : public QObject {
 public:
  static void InstallIfRequested(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FirstPaintReport(QWidget& window, bool reportClicks);
  void ReportFirstPaint();
  void ReportClick();

  QWidget& window_;
  bool reportClicks_;
  long long pressedAt_ = 0;  // a press waiting for its paint
  bool paintQueued_ = false;
};

}  // namespace wheelwatcher
