#pragma once

#include <QApplication>

// The application: starts the network layer, runs the main window until it closes, and ends.
class CTrackerApp : public QApplication {
  Q_OBJECT
 public:
  CTrackerApp(int& argc, char** argv);

  // False when the program could not start; the user has been told why.
  bool InitInstance();
};
