// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>

#include <cmath>
#include <map>

#include "engine/region_code.h"

namespace wheelwatcher {

namespace {

struct Area {
  int code;
  int left, right, top, bottom;
};

// Every clickable area as the layout defines it. Zero and LIVE WHEEL list their bounding boxes;
// number 12 lists the box its ring fills.
const Area kAreas[] = {
    {0, 68, 152, 44, 83},     {1, 68, 92, 88, 112},     {2, 97, 123, 88, 112},
    {3, 127, 152, 88, 112},   {4, 68, 93, 116, 142},    {5, 97, 123, 116, 142},
    {6, 127, 152, 116, 142},  {7, 68, 93, 146, 171},    {8, 97, 123, 146, 171},
    {9, 127, 152, 146, 171},  {10, 68, 93, 175, 200},   {11, 97, 123, 175, 200},
    {12, 130, 149, 178, 197}, {13, 68, 93, 204, 229},   {14, 97, 123, 204, 229},
    {15, 127, 152, 204, 229}, {16, 68, 93, 233, 258},   {17, 97, 123, 233, 258},
    {18, 127, 152, 233, 258}, {19, 68, 93, 262, 287},   {20, 97, 123, 262, 287},
    {21, 127, 152, 262, 287}, {22, 68, 93, 292, 316},   {23, 97, 123, 292, 316},
    {24, 127, 152, 292, 316}, {25, 68, 93, 320, 346},   {26, 97, 123, 320, 346},
    {27, 127, 152, 320, 346}, {28, 68, 93, 350, 375},   {29, 97, 122, 350, 375},
    {30, 127, 152, 350, 375}, {31, 68, 93, 379, 404},   {32, 97, 123, 379, 404},
    {33, 127, 152, 379, 404}, {34, 68, 93, 408, 432},   {35, 97, 123, 408, 432},
    {36, 127, 152, 408, 432}, {40, 228, 275, 6, 38},    {41, 211, 274, 348, 373},
    {42, 211, 274, 383, 407}, {43, 211, 274, 418, 443}, {44, 139, 202, 524, 548},
    {48, 211, 273, 524, 548},
};

class HitMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hitMap_ = QImage(QStringLiteral(":/hitmap.png"));
    ASSERT_FALSE(hitMap_.isNull());
  }

  int CodeAt(int x, int y) const {
    const QRgb pixel = hitMap_.pixel(x, y);
    return RegionCodeForColour(PackRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
  }

  QImage hitMap_;
};

TEST_F(HitMapTest, IsA24BitPictureOfTheWindowSize) {
  EXPECT_EQ(hitMap_.size(), QSize(280, 560));
  EXPECT_FALSE(hitMap_.hasAlphaChannel());
  // The PNG header: 8 bits per sample, colour type 2 (RGB without alpha).
  QFile file(QStringLiteral(":/hitmap.png"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(26);
  ASSERT_EQ(header.size(), 26);
  EXPECT_EQ(header.mid(12, 4), QByteArray("IHDR"));
  EXPECT_EQ(header[24], 8);
  EXPECT_EQ(header[25], 2);
}

TEST_F(HitMapTest, RectangularAreasHaveTheirColourAtCornersAndCentre) {
  for (const Area& area : kAreas) {
    if (area.code == region::kLiveWheel || area.code == 0) continue;
    SCOPED_TRACE(area.code);
    const int centreX = (area.left + area.right) / 2;
    const int centreY = (area.top + area.bottom) / 2;
    EXPECT_EQ(CodeAt(centreX, centreY), area.code);
    EXPECT_EQ(CodeAt(area.left, area.top), area.code);
    EXPECT_EQ(CodeAt(area.left, area.bottom), area.code);
    if (area.code != region::kHelp) {  // its right-hand corners are a near colour
      EXPECT_EQ(CodeAt(area.right, area.top), area.code);
      EXPECT_EQ(CodeAt(area.right, area.bottom), area.code);
    }
    EXPECT_NE(CodeAt(area.left - 1, centreY), area.code);
    EXPECT_NE(CodeAt(area.right + 1, centreY), area.code);
    EXPECT_NE(CodeAt(centreX, area.top - 1), area.code);
    EXPECT_NE(CodeAt(centreX, area.bottom + 1), area.code);
  }
}

TEST_F(HitMapTest, HelpHasTwoNearColourPixelsAtItsRightEdge) {
  EXPECT_EQ(CodeAt(274, 360), region::kHelp);
  int nearColoured = 0;
  for (int y = 348; y <= 373; ++y) {
    if (CodeAt(274, y) == region::kNone) ++nearColoured;
  }
  EXPECT_EQ(nearColoured, 2);
}

TEST_F(HitMapTest, KnownPoints) {
  struct Point {
    int x, y, code;
  };
  const Point points[] = {
      {113, 44, 0},   {112, 44, 0},   {114, 44, 0},    {110, 44, 100},  {111, 44, 100},
      {115, 44, 100}, {68, 60, 0},    {152, 60, 0},    {68, 83, 0},     {152, 83, 0},
      {67, 70, 100},  {153, 70, 100}, {113, 84, 100},  {128, 177, 100}, {140, 188, 12},
      {130, 178, 12}, {149, 197, 12}, {129, 177, 100}, {150, 198, 100}, {95, 100, 100},
      {110, 245, 17}, {240, 20, 40},  {251, 22, 40},   {275, 22, 40},   {251, 6, 40},
      {251, 38, 40},  {228, 6, 100},  {275, 38, 100},
  };
  for (const Point& point : points) {
    EXPECT_EQ(CodeAt(point.x, point.y), point.code) << point.x << "," << point.y;
  }
}

TEST_F(HitMapTest, ZeroFollowsTheSlopingEdgesOfThePentagon) {
  for (int y = 45; y < 60; ++y) {
    SCOPED_TRACE(y);
    const double left = 68 + (60 - y) * 45.0 / 16.0;
    const double right = 152 - (60 - y) * 39.0 / 16.0;
    EXPECT_EQ(CodeAt(std::lround(left + 2), y), 0);
    EXPECT_EQ(CodeAt(std::lround(right - 2), y), 0);
    EXPECT_EQ(CodeAt(std::lround(left - 2), y), region::kNone);
    EXPECT_EQ(CodeAt(std::lround(right + 2), y), region::kNone);
  }
  for (int y = 60; y <= 83; ++y) {
    EXPECT_EQ(CodeAt(68, y), 0);
    EXPECT_EQ(CodeAt(152, y), 0);
  }
}

TEST_F(HitMapTest, TwelveIsRingedByNearGreensThatAreNoEntry) {
  int ringPixels = 0;
  for (int y = 175; y <= 200; ++y) {
    for (int x = 127; x <= 152; ++x) {
      const bool inner = x >= 130 && x <= 149 && y >= 178 && y <= 197;
      if (inner) {
        EXPECT_EQ(CodeAt(x, y), 12);
        continue;
      }
      EXPECT_EQ(CodeAt(x, y), region::kNone);
      const QRgb pixel = hitMap_.pixel(x, y);
      EXPECT_GT(qGreen(pixel), 200);
      EXPECT_LT(qRed(pixel), 20);
      ++ringPixels;
    }
  }
  EXPECT_EQ(ringPixels, 26 * 26 - 20 * 20);
}

TEST_F(HitMapTest, OutsideBetsPanelsAndButtonsSurroundingsAreNoRegion) {
  const QPoint points[] = {
      {51, 144},  {51, 260},  {51, 376},                                       // dozens
      {168, 115}, {168, 173}, {168, 231}, {168, 290}, {168, 347}, {168, 407},  // even chances
      {80, 453},  {110, 453}, {140, 453},                                      // columns
      {235, 200}, {100, 23},  {28, 63},   {60, 502},  {60, 538},               // History, panels
      {0, 0},     {279, 559}, {205, 536},
  };
  for (const QPoint& point : points) {
    EXPECT_EQ(CodeAt(point.x(), point.y()), region::kNone) << point.x() << "," << point.y();
  }
}

TEST_F(HitMapTest, NoTableColourOutsideItsAreaAndWhiteAwayFromAllAreas) {
  std::map<int, int> pixelsPerCode;
  for (int y = 0; y < hitMap_.height(); ++y) {
    for (int x = 0; x < hitMap_.width(); ++x) {
      const int code = CodeAt(x, y);
      const Area* inside = nullptr;
      for (const Area& area : kAreas) {
        // Number 12's ring lies outside its exact area but inside its box.
        const int margin = area.code == 12 ? 3 : 1;
        if (x >= area.left - margin && x <= area.right + margin && y >= area.top - margin &&
            y <= area.bottom + margin) {
          inside = &area;
        }
      }
      if (inside == nullptr) {
        ASSERT_EQ(hitMap_.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
        continue;
      }
      if (code == region::kNone) continue;
      ++pixelsPerCode[code];
      const Area* own = nullptr;
      for (const Area& area : kAreas) {
        if (area.code == code) own = &area;
      }
      ASSERT_NE(own, nullptr) << "code " << code << " has no area, at " << x << "," << y;
      ASSERT_TRUE(x >= own->left && x <= own->right && y >= own->top && y <= own->bottom)
          << "code " << code << " at " << x << "," << y;
    }
  }
  for (const Area& area : kAreas) EXPECT_GT(pixelsPerCode[area.code], 0) << area.code;
  for (int absent : {45, 46, 47, 49}) EXPECT_EQ(pixelsPerCode.count(absent), 0u) << absent;
}

}  // namespace

}  // namespace wheelwatcher
