#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

class QPainter;

// Drawing pieces shared by the layout, the About picture and the icon.

// A repeatable pseudo-random value in [-1, 1] for a pixel, for textures without a random source.
double PixelNoise(int x, int y, unsigned salt);

QFont PixelFont(const QString& family, int pixelSize, bool bold = true);

// Text drawn into a tight, transparent image: the ink only, so it can be centred exactly.
// shadow with alpha 0 means no shadow.
QImage TextImage(const QString& text, const QFont& font, const QColor& colour,
                 const QColor& shadow = QColor(0, 0, 0, 0));

// Draws image centred in target at whole-pixel positions; rotated reads from bottom to top.
void DrawCentred(QPainter& painter, const QImage& image, const QRect& target, bool rotated = false);

enum class WheelDetail {
  kFull,    // 37 pockets in wheel order, turret and ball
  kSimple,  // for tiny icons: a few broad pockets and a plain centre, so it stays legible
};

// A roulette wheel seen from above: wooden bowl, pockets, cone and turret.
void DrawWheel(QPainter& painter, const QPointF& centre, double radius, WheelDetail detail);
