// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace wheelwatcher {

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

QRect PlaceOnScreen(const QRect& anchor, const QSize& wanted, const QSize& least,
                    const QRect& screen) {
  const QSize size = wanted.boundedTo(screen.size());
  const QPoint beside = PlaceBeside(anchor, size, screen);
  if (screen.contains(QRect(beside, size))) return {beside, size};

  const int top = ClampInto(anchor.top(), size.height(), screen.top(), screen.height());
  const int roomRight = screen.right() - anchor.right() - kGap;
  const int roomLeft = anchor.left() - screen.left() - kGap;
  const int room = std::max(roomRight, roomLeft);
  if (room >= least.width()) {
    // A gap to the screen's edge too: a window manager's frame may come out a pixel wider.
    const int width = std::min(room - kGap, size.width());
    const int left =
        roomRight >= roomLeft ? anchor.right() + 1 + kGap : anchor.left() - kGap - width;
    return {QPoint(left, top), QSize(width, size.height())};
  }
  const int roomBelow = screen.bottom() - anchor.bottom() - kGap;
  const int roomAbove = anchor.top() - screen.top() - kGap;
  const int height = std::min(std::max(roomBelow, roomAbove) - kGap, size.height());
  const int left = ClampInto(anchor.left(), size.width(), screen.left(), screen.width());
  if (height >= least.height()) {
    const int y =
        roomBelow >= roomAbove ? anchor.bottom() + 1 + kGap : anchor.top() - kGap - height;
    return {QPoint(left, y), QSize(size.width(), height)};
  }
  // No room beside the table at all: on the screen, the table over part of it.
  const int x = ClampInto(anchor.right() + 1 + kGap, size.width(), screen.left(), screen.width());
  return {QPoint(x, top), size};
}

QRect AvailableScreenOf(const QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize WithFrameOf(const QWidget& framed, const QSize& size) {
  return size + (framed.frameGeometry().size() - framed.geometry().size());
}

}  // namespace wheelwatcher
