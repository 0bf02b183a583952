// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include <cstdlib>
#include <optional>

#include "app/accessibility.h"
#include "app/command_line.h"
#include "app/display_guard.h"
#include "app/single_instance.h"
#include "app/tracker_app.h"

namespace wheelwatcher {

namespace {
// Wayland lets no client keep itself above other windows; X11 (through XWayland) does.
void PreferX11WhereWaylandWouldLoseTopmost() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("WAYLAND_DISPLAY") != nullptr &&
      std::getenv("DISPLAY") != nullptr) {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  return arguments;
}
}  // namespace

}  // namespace wheelwatcher

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  QApplication::setApplicationVersion(QStringLiteral(WHEELWATCHER_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("wheelwatcher"));
  if (const std::optional<int> answered = AnswerInformationOptions(Arguments(argc, argv))) {
    return *answered;
  }
  PreferX11WhereWaylandWouldLoseTopmost();
  std::optional<DisplayGuard> displayGuard(std::in_place);
  CTrackerApp application(argc, argv);
  displayGuard.reset();
  if (const std::optional<int> rejected = RejectLeftoverArguments(application.arguments())) {
    return *rejected;
  }

  // A window on the offscreen platform (benchmarks, tests) is seen by nobody, so it never gives
  // way to a program running on the user's display.
  SingleInstance instance(SingleInstance::SocketPathForThisDisplay());
  const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
  if (!offscreen && !instance.Claim()) return EXIT_SUCCESS;
  QObject::connect(&instance, &SingleInstance::activationRequested, &BringWindowsToFront);
  // Before any window exists, so that none is described without them.
  InstallAccessibleInterfaces();
  return application.InitInstance() ? EXIT_SUCCESS : EXIT_FAILURE;
}
