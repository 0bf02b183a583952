// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tests/support/main_window_driver.h"

namespace wheelwatcher {

namespace {

// The positions at which the screen's own pixels lying over layout pixel `pixel` report a press:
// at scale 1.5, pixel 92 is covered by screen pixels 138 and 139, reported at 92 and 92.67.
std::vector<double> ScreenPositionsOver(int pixel, double scale) {
  std::vector<double> positions;
  for (int screen = static_cast<int>(std::ceil(pixel * scale)); screen / scale < pixel + 1;
       ++screen) {
    positions.push_back(screen / scale);
  }
  return positions;
}

}  // namespace

// Run at scale 1 with the other shell tests, and by ctest again under QT_SCALE_FACTOR 2 and 1.5.
TEST(DisplayScale, EveryScreenPixelOverAnEdgePixelOfNumberOneEntersIt) {
  MainWindowDriver driver;
  ASSERT_TRUE(driver.Exposed());
  const double scale = driver.Window().devicePixelRatio();
  if (const char* asked = std::getenv("QT_SCALE_FACTOR")) {
    EXPECT_DOUBLE_EQ(scale, std::atof(asked));
  }

  // Number 1 fills x 68-92, y 88-112; the gaps around it are white.
  const struct {
    const char* edge;
    bool alongX;
    int inside;
    int outside;
  } edges[] = {{"left", true, 68, 67},
               {"right", true, 92, 93},
               {"top", false, 88, 87},
               {"bottom", false, 112, 113}};
  constexpr double kMiddle = 100.5;
  for (const auto& each : edges) {
    for (const auto& [pixel, enters] : {std::pair{each.inside, true}, {each.outside, false}}) {
      for (double position : ScreenPositionsOver(pixel, scale)) {
        const std::size_t spinsBefore = driver.Tracker().State().spins.size();
        driver.DeliverPressAt(each.alongX ? QPointF(position, kMiddle) : QPointF(80.5, position));
        const auto& spins = driver.Tracker().State().spins;
        EXPECT_EQ(spins.size(), spinsBefore + (enters ? 1 : 0))
            << each.edge << " edge, press at " << position << ", scale " << scale;
        if (enters && !spins.empty()) {
          EXPECT_EQ(spins.back(), 1);
        }
      }
    }
  }
}

}  // namespace wheelwatcher
