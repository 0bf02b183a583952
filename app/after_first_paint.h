// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace wheelwatcher {

// Runs `action` once, queued behind the first paint of `window` or any widget in it, so that it
// follows that paint and its flush to the screen. Nothing runs if the window is never painted.
void RunAfterFirstPaint(QWidget& window, std::function<void()> action);

}  // namespace wheelwatcher
