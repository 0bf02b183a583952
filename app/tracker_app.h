// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace wheelwatcher {

// The application: starts the network layer, shows the main window, runs the event loop until the
// window closes, and ends.
class CTrackerApp : public QApplication {
  Q_OBJECT
 public:
  CTrackerApp(int& argc, char** argv);

  // False when the program could not start; the user has been told why.
  bool InitInstance();
};

}  // namespace wheelwatcher
