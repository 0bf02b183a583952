#include <cstdlib>

#include "app/accessibility.h"
#include "app/tracker_app.h"

namespace {
// Wayland lets no client keep itself above other windows; X11 (through XWayland) does.
void PreferX11WhereWaylandWouldLoseTopmost() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("WAYLAND_DISPLAY") != nullptr &&
      std::getenv("DISPLAY") != nullptr) {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}
}  // namespace

int main(int argc, char** argv) {
  PreferX11WhereWaylandWouldLoseTopmost();
  CTrackerApp application(argc, argv);
  // Before any window exists, so that none is described without them.
  InstallAccessibleInterfaces();
  return application.InitInstance() ? EXIT_SUCCESS : EXIT_FAILURE;
}
