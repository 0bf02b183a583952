// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of `size` (frame included) goes beside `anchor` (a window's frame) on `screen`:
// to the right, else left, else below, else above, whichever first fits whole. When none fits,
// the wider of right and left, partly off the screen: never over the anchor.
QPoint PlaceBeside(const QRect& anchor, const QSize& size, const QRect& screen);
