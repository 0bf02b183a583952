#pragma once

#include <QObject>

class CMainDialog;

// For measuring start-up: when the environment sets WHEELWATCHER_REPORT_FIRST_PAINT, the window's
// first paint is followed by one line on standard output, "first-paint-ns <CLOCK_MONOTONIC ns>
// rss-kb <resident kB>", and the window closes, so a benchmark can start the real program again and
// again. Without the variable nothing is installed.
class FirstPaintReport : public QObject {
  Q_OBJECT
 public:
  static void InstallIfRequested(CMainDialog& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit FirstPaintReport(CMainDialog& window);
  void ReportAndClose();

  CMainDialog& window_;
  bool painted_ = false;
};
