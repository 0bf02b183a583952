// SPDX-License-Identifier: GPL-3.0-or-later
#include <QColor>

#include <algorithm>
#include <cmath>

#include "engine/region_code.h"
#include "tools/artgen/art.h"

namespace wheelwatcher {

namespace {

QRgb TableColour(int code) {
  for (const RegionColour& entry : kRegionColours) {
    if (entry.code == code) {
      const std::uint32_t packed = entry.packedColour;
      return qRgb(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
    }
  }
  return qRgb(255, 255, 255);
}

struct Area {
  int code;
  int left, right, top, bottom;  // inclusive
};

// The number boxes; the rows are not evenly spaced, so each box is listed. Number 12 is drawn
// separately as a smaller box with a ring.
constexpr Area kNumberAreas[] = {
    {1, 68, 92, 88, 112},    {2, 97, 123, 88, 112},    {3, 127, 152, 88, 112},
    {4, 68, 93, 116, 142},   {5, 97, 123, 116, 142},   {6, 127, 152, 116, 142},
    {7, 68, 93, 146, 171},   {8, 97, 123, 146, 171},   {9, 127, 152, 146, 171},
    {10, 68, 93, 175, 200},  {11, 97, 123, 175, 200},  {13, 68, 93, 204, 229},
    {14, 97, 123, 204, 229}, {15, 127, 152, 204, 229}, {16, 68, 93, 233, 258},
    {17, 97, 123, 233, 258}, {18, 127, 152, 233, 258}, {19, 68, 93, 262, 287},
    {20, 97, 123, 262, 287}, {21, 127, 152, 262, 287}, {22, 68, 93, 292, 316},
    {23, 97, 123, 292, 316}, {24, 127, 152, 292, 316}, {25, 68, 93, 320, 346},
    {26, 97, 123, 320, 346}, {27, 127, 152, 320, 346}, {28, 68, 93, 350, 375},
    {29, 97, 122, 350, 375}, {30, 127, 152, 350, 375}, {31, 68, 93, 379, 404},
    {32, 97, 123, 379, 404}, {33, 127, 152, 379, 404}, {34, 68, 93, 408, 432},
    {35, 97, 123, 408, 432}, {36, 127, 152, 408, 432},
};

constexpr Area kButtonAreas[] = {
    {region::kHelp, 211, 274, 348, 373},     {region::kSystem, 211, 274, 383, 407},
    {region::kStake, 211, 274, 418, 443},    {region::kRewind, 139, 202, 524, 548},
    {region::kClearAll, 211, 273, 524, 548},
};

void Fill(QImage& image, const Area& area, QRgb colour) {
  for (int y = area.top; y <= area.bottom; ++y) {
    for (int x = area.left; x <= area.right; ++x) image.setPixel(x, y, colour);
  }
}

// Zero: a pentagon whose sloping edges run from (68, 60) and (152, 60) up to the apex x 112-114
// on row 44. The pixel just outside each sloping edge is a near-black that no entry has.
void DrawZero(QImage& image) {
  const QRgb black = TableColour(0);
  const QRgb rim = qRgb(8, 8, 8);
  for (int y = 44; y <= 83; ++y) {
    int left = 68;
    int right = 152;
    if (y < 60) {
      const int rise = 60 - y;
      left = 68 + static_cast<int>(std::lround(rise * (112.0 - 68.0) / 16.0));
      right = 152 - static_cast<int>(std::lround(rise * (152.0 - 114.0) / 16.0));
      if (y > 44) {
        image.setPixel(left - 1, y, rim);
        image.setPixel(right + 1, y, rim);
      }
    }
    for (int x = left; x <= right; ++x) image.setPixel(x, y, black);
  }
}

// Twelve: the exact colour only in the inner 20 x 20 pixels, ringed by near greens.
void DrawTwelve(QImage& image) {
  Fill(image, {12, 127, 152, 175, 200}, qRgb(3, 230, 3));
  Fill(image, {12, 128, 151, 176, 199}, qRgb(0, 230, 0));
  Fill(image, {12, 130, 149, 178, 197}, TableColour(12));
}

// LIVE WHEEL: a box with rounded corners; the pixels on the curve carry a near red.
void DrawLiveWheel(QImage& image) {
  const QRgb red = TableColour(region::kLiveWheel);
  const QRgb rim = qRgb(153, 10, 10);
  constexpr int kLeft = 228, kRight = 275, kTop = 6, kBottom = 38;
  constexpr double kRadius = 6.0;
  for (int y = kTop; y <= kBottom; ++y) {
    for (int x = kLeft; x <= kRight; ++x) {
      const double centreX = std::clamp(x + 0.5, kLeft + kRadius, kRight + 1 - kRadius);
      const double centreY = std::clamp(y + 0.5, kTop + kRadius, kBottom + 1 - kRadius);
      const double distance = std::hypot(x + 0.5 - centreX, y + 0.5 - centreY);
      if (distance <= kRadius - 0.5) {
        image.setPixel(x, y, red);
      } else if (distance <= kRadius + 0.4) {
        image.setPixel(x, y, rim);
      }
    }
  }
}

}  // namespace

QImage DrawHitMap() {
  QImage image(280, 560, QImage::Format_RGB888);
  image.fill(qRgb(255, 255, 255));
  DrawZero(image);
  for (const Area& area : kNumberAreas) Fill(image, area, TableColour(area.code));
  DrawTwelve(image);
  for (const Area& area : kButtonAreas) Fill(image, area, TableColour(area.code));
  // The HELP box's right-hand corners are a near yellow.
  image.setPixel(274, 348, qRgb(255, 255, 60));
  image.setPixel(274, 373, qRgb(255, 255, 60));
  DrawLiveWheel(image);
  return image;
}

}  // namespace wheelwatcher
