// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_placement.h"

#include <algorithm>

namespace {
constexpr int kGap = 8;

int ClampInto(int start, int length, int areaStart, int areaLength) {
  return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}
}  // namespace

QPoint PlaceBeside(const QRect& anchor, const QSize& size, const QRect& screen) {
  const int alignedY = ClampInto(anchor.top(), size.height(), screen.top(), screen.height());
  const int alignedX = ClampInto(anchor.left(), size.width(), screen.left(), screen.width());
  const QPoint right(anchor.right() + 1 + kGap, alignedY);
  const QPoint left(anchor.left() - kGap - size.width(), alignedY);
  const QPoint below(alignedX, anchor.bottom() + 1 + kGap);
  const QPoint above(alignedX, anchor.top() - kGap - size.height());
  for (const QPoint& place : {right, left, below, above}) {
    if (screen.contains(QRect(place, size))) return place;
  }
  const int roomRight = screen.right() - anchor.right();
  const int roomLeft = anchor.left() - screen.left();
  return roomRight >= roomLeft ? right : left;
}
