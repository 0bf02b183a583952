#include "app/first_paint_report.h"

#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/main_dialog.h"
#include "engine/control_ids.h"

namespace {
long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return -1;
}
}  // namespace

void FirstPaintReport::InstallIfRequested(CMainDialog& window) {
  if (std::getenv("WHEELWATCHER_REPORT_FIRST_PAINT") == nullptr) return;
  // The layout picture covers the whole window, so its paint is the window's.
  if (QWidget* picture = window.Control(control::kLayoutPicture)) {
    picture->installEventFilter(new FirstPaintReport(window));
  }
}

FirstPaintReport::FirstPaintReport(CMainDialog& window) : QObject(&window), window_(window) {}

bool FirstPaintReport::eventFilter(QObject* /*watched*/, QEvent* event) {
  if (event->type() == QEvent::Paint && !painted_) {
    painted_ = true;
    // Queued, so the report follows the paint and its flush to the screen.
    QTimer::singleShot(0, this, &FirstPaintReport::ReportAndClose);
  }
  return false;
}

void FirstPaintReport::ReportAndClose() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("first-paint-ns %lld rss-kb %ld\n",
              static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, ResidentKilobytes());
  std::fflush(stdout);
  window_.close();
}
