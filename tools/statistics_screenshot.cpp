// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the statistics window after a number of spins (300 unless given) on the real main
// window (offscreen), for the README: statistics_screenshot <output.png> [spins]
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "app/session_watch.h"
#include "app/statistics_window.h"
#include "tests/support/main_window_driver.h"

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <output.png> [spins]\n", argv[0]);
    return EXIT_FAILURE;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir config;  // never the user's own settings
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  QApplication application(argc, argv);

  MainWindowDriver driver;
  std::minstd_rand wheel(2026);
  const int spins = argc == 3 ? std::atoi(argv[2]) : 300;
  for (int spin = 0; spin < spins; ++spin) driver.Press(static_cast<int>(wheel() % 37));
  SessionWatch& session = driver.Window().Session();
  session.ShowStatisticsWindow();
  StatisticsWindow* window = session.OpenedWindow();
  if (!QTest::qWaitForWindowExposed(window)) return EXIT_FAILURE;
  // Whole, as on a screen with room for it (the offscreen screen is smaller).
  window->resize(window->sizeHint());
  // The simulated sessions answer on their own thread.
  const auto answered = [window] {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      if (label->accessibleName().startsWith(QStringLiteral("Against the system's own sessions")))
        return !label->text().startsWith(QStringLiteral("playing"));
    }
    return false;
  };
  if (!QTest::qWaitFor(answered, 60000)) return EXIT_FAILURE;
  QTest::qWait(200);  // pending layout requests run on the event loop
  return window->grab().save(QString::fromLocal8Bit(argv[1])) ? EXIT_SUCCESS : EXIT_FAILURE;
}
