// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the start-up figures: a bare Qt window of the main window's size showing the
// layout picture, built like the program and reporting its first paint the same way.
#include <QApplication>
#include <QLabel>
#include <QPixmap>

#include "app/first_paint_report.h"

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  QApplication application(argc, argv);
  QLabel window;
  window.setPixmap(QPixmap(QStringLiteral(WHEELWATCHER_LAYOUT_PICTURE)));
  window.setFixedSize(280, 560);
  FirstPaintReport::InstallIfRequested(window);
  window.show();
  return application.exec();
}
