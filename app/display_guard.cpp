// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display_guard.h"

#include <cstdio>
#include <cstdlib>

namespace wheelwatcher {

DisplayGuard::DisplayGuard() { previous_ = qInstallMessageHandler(&DisplayGuard::HandleMessage); }

DisplayGuard::~DisplayGuard() {
  qInstallMessageHandler(previous_);
  for (const HeldMessage& held : held_) {
    previous_(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.c_str()),
              held.message);
  }
  held_.clear();
}

std::string DisplayGuard::FailureLine(const char* display, const char* waylandDisplay) {
  const bool hasDisplay = display != nullptr && *display != '\0';
  const bool hasWayland = waylandDisplay != nullptr && *waylandDisplay != '\0';
  if (!hasDisplay && !hasWayland) {
    return "wheelwatcher: no display to open (DISPLAY and WAYLAND_DISPLAY are unset); start it in "
           "a desktop session, or try xvfb-run -a wheelwatcher\n";
  }
  std::string line = "wheelwatcher: cannot open the display (";
  line += hasDisplay ? "DISPLAY=" + std::string(display) : std::string("DISPLAY unset");
  line +=
      hasWayland ? ", WAYLAND_DISPLAY=" + std::string(waylandDisplay) : ", WAYLAND_DISPLAY unset";
  return line + ")\n";
}

void DisplayGuard::HandleMessage(QtMsgType type, const QMessageLogContext& context,
                                 const QString& message) {
  if (type != QtFatalMsg) {
    held_.push_back({type, context.category != nullptr ? context.category : "", message});
    return;
  }
  // During the application object's construction the only fatal failure is the platform plugin's.
  std::fputs(FailureLine(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")).c_str(), stderr);
  std::_Exit(EXIT_FAILURE);
}

}  // namespace wheelwatcher
