// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

class QPainter;

namespace wheelwatcher {

// Drawing pieces shared by the layout, the About picture and the icon.

// A repeatable pseudo-random value in [-1, 1] for a pixel, for textures without a random source.
double PixelNoise(int x, int y, unsigned salt);

QFont PixelFont(const QString& family, int pixelSize, bool bold = true);

// Every picture is drawn in logical pixels on an image whose device pixel ratio is its scale (1, or
// 2 for the @2x variant); the painter then maps logical pixels onto the finer device pixels.
int ScaleOf(const QPainter& painter);

// Text drawn into a tight, transparent image: the ink only, so it can be centred exactly. The text
// is rendered at `scale` times the font's pixel size, for a painter of that scale.
// shadow with alpha 0 means no shadow.
QImage TextImage(const QString& text, const QFont& font, const QColor& colour,
                 const QColor& shadow = QColor(0, 0, 0, 0), int scale = 1);

// A frame one logical pixel wide on the outermost pixels of rect. Filled rather than stroked, so
// at every scale it covers exactly those pixels (a stroked line would straddle them).
void DrawFrame(QPainter& painter, const QRect& rect, const QColor& colour);

// Draws image centred in target at whole device-pixel positions; rotated reads from bottom to top.
void DrawCentred(QPainter& painter, const QImage& image, const QRect& target, bool rotated = false);

enum class WheelDetail {
  kFull,    // 37 pockets in wheel order, turret and ball
  kSimple,  // for tiny icons: a few broad pockets and a plain centre, so it stays legible
};

// A roulette wheel seen from above: wooden bowl, pockets, cone and turret.
void DrawWheel(QPainter& painter, const QPointF& centre, double radius, WheelDetail detail);

}  // namespace wheelwatcher
