// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace wheelwatcher {

// Where a window of `size` (frame included) goes beside `anchor` (a window's frame) on `screen`:
// to the right, else left, else below, else above, whichever first fits whole. When none fits,
// the wider of right and left, partly off the screen: never over the anchor. For a message,
// which must not cover the table.
QPoint PlaceBeside(const QRect& anchor, const QSize& size, const QRect& screen);

// Where a window that can shrink goes (frame included), wholly on `screen`: at `wanted` size
// beside `anchor` where that fits; else narrowed or lowered to the room beside the anchor, if
// that room is at least `least`; else over part of the anchor, which stays on top.
QRect PlaceOnScreen(const QRect& anchor, const QSize& wanted, const QSize& least,
                    const QRect& screen);

// The part of the screen `window` is on that windows may use (the primary screen's before it has
// one).
QRect AvailableScreenOf(const QWidget& window);

// `size` with the frame that `framed` has: a new window's frame is not known before the window
// manager has framed it, so the main window's stands in for it.
QSize WithFrameOf(const QWidget& framed, const QSize& size);

}  // namespace wheelwatcher
