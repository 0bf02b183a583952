// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/first_paint_report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/after_first_paint.h"

namespace wheelwatcher {

namespace {

long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return -1;
}

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

void FirstPaintReport::InstallIfRequested(QWidget& window) {
  const char* mode = std::getenv("WHEELWATCHER_REPORT_FIRST_PAINT");
  if (mode == nullptr) return;
  auto* report = new FirstPaintReport(window, std::strcmp(mode, "clicks") == 0);
  RunAfterFirstPaint(window, [report] { report->ReportFirstPaint(); });
}

FirstPaintReport::FirstPaintReport(QWidget& window, bool reportClicks)
    : QObject(&window), window_(window), reportClicks_(reportClicks) {}

void FirstPaintReport::ReportFirstPaint() {
  std::printf("first-paint-ns %lld rss-kb %ld window %llu\n", MonotonicNanoseconds(),
              ResidentKilobytes(), static_cast<unsigned long long>(window_.winId()));
  std::fflush(stdout);
  if (!reportClicks_) {
    window_.close();
    return;
  }
  QCoreApplication::instance()->installEventFilter(this);
}

// A press is timed from its arrival; the first paint after it has been handled shows its result.
bool FirstPaintReport::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &window_) {
    return false;
  }
  if (event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && pressedAt_ == 0) {
    pressedAt_ = MonotonicNanoseconds();
  } else if (event->type() == QEvent::Paint && pressedAt_ != 0 && !paintQueued_) {
    paintQueued_ = true;
    QTimer::singleShot(0, this, &FirstPaintReport::ReportClick);
  }
  return false;
}

void FirstPaintReport::ReportClick() {
  std::printf("click-ns %lld painted-ns %lld rss-kb %ld\n", pressedAt_, MonotonicNanoseconds(),
              ResidentKilobytes());
  std::fflush(stdout);
  pressedAt_ = 0;
  paintQueued_ = false;
}

}  // namespace wheelwatcher
