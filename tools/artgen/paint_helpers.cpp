// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/artgen/paint_helpers.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace wheelwatcher {

double PixelNoise(int x, int y, unsigned salt) {
  std::uint32_t hash = static_cast<std::uint32_t>(x) * 374761393u +
                       static_cast<std::uint32_t>(y) * 668265263u + salt * 2246822519u;
  hash = (hash ^ (hash >> 13)) * 1274126177u;
  hash ^= hash >> 16;
  return static_cast<double>(hash & 0xFFFF) / 32767.5 - 1.0;
}

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

int ScaleOf(const QPainter& painter) { return qRound(painter.device()->devicePixelRatio()); }

QImage TextImage(const QString& text, const QFont& font, const QColor& colour, const QColor& shadow,
                 int scale) {
  QFont scaledFont(font);
  scaledFont.setPixelSize(font.pixelSize() * scale);
  const QFontMetrics metrics(scaledFont);
  const int width = metrics.horizontalAdvance(text) + 4 * scale;
  const int height = metrics.height() + 4 * scale;
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(scaledFont);
    if (shadow.alpha() > 0) {
      painter.setPen(shadow);
      painter.drawText(2 * scale, 2 * scale + metrics.ascent(), text);
    }
    painter.setPen(colour);
    painter.drawText(scale, scale + metrics.ascent(), text);
  }
  // Crop to the ink.
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (qAlpha(image.pixel(x, y)) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return {};
  QImage ink = image.copy(left, top, right - left + 1, bottom - top + 1);
  ink.setDevicePixelRatio(scale);
  return ink;
}

void DrawFrame(QPainter& painter, const QRect& rect, const QColor& colour) {
  painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
  painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
  painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), colour);
  painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), colour);
}

void DrawCentred(QPainter& painter, const QImage& image, const QRect& target, bool rotated) {
  QImage placed = rotated ? image.transformed(QTransform().rotate(-90)) : image;
  const int scale = qRound(image.devicePixelRatio());
  placed.setDevicePixelRatio(scale);
  const int x = target.x() * scale + (target.width() * scale - placed.width()) / 2;
  const int y = target.y() * scale + (target.height() * scale - placed.height() + 1) / 2;
  painter.drawImage(QPointF(x, y) / scale, placed);
}

void DrawWheel(QPainter& painter, const QPointF& centre, double radius, WheelDetail detail) {
  static constexpr std::array<int, 37> kWheelOrder = {
      0, 32, 15, 19, 4, 21, 2,  25, 17, 34, 6,  27, 13, 36, 11, 30, 8, 23, 10,
      5, 24, 16, 33, 1, 20, 14, 31, 9,  22, 18, 29, 7,  28, 12, 35, 3, 26};
  static constexpr std::array<int, 18> kReds = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                                19, 21, 23, 25, 27, 30, 32, 34, 36};
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);

  // Wooden bowl.
  QRadialGradient bowl(centre, radius);
  bowl.setColorAt(0.80, QColor(120, 62, 24));
  bowl.setColorAt(0.93, QColor(160, 92, 40));
  bowl.setColorAt(1.00, QColor(70, 34, 12));
  painter.setBrush(bowl);
  painter.drawEllipse(centre, radius, radius);

  // Pockets.
  const bool full = detail == WheelDetail::kFull;
  const double outer = radius * (full ? 0.86 : 0.84);
  const double inner = radius * (full ? 0.60 : 0.50);
  const std::size_t pockets = full ? kWheelOrder.size() : 13;
  const double step = 360.0 / pockets;
  for (std::size_t i = 0; i < pockets; ++i) {
    const int number = full ? kWheelOrder[i] : static_cast<int>(i);
    const bool red = full ? std::find(kReds.begin(), kReds.end(), number) != kReds.end() : i % 2;
    const QColor colour =
        number == 0 ? QColor(20, 150, 60) : (red ? QColor(200, 24, 30) : QColor(24, 24, 26));
    QPainterPath sector;
    const double start = 90.0 - step * (i + 0.5);
    sector.arcMoveTo(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), start);
    sector.arcTo(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), start, step);
    sector.arcTo(QRectF(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner), start + step,
                 -step);
    sector.closeSubpath();
    painter.setBrush(colour);
    painter.drawPath(sector);
  }
  // Gold rings round the pockets.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(222, 184, 90), std::max(0.6, radius * 0.025)));
  painter.drawEllipse(centre, outer, outer);
  painter.drawEllipse(centre, inner, inner);

  // Cone and turret.
  painter.setPen(Qt::NoPen);
  QRadialGradient cone(centre - QPointF(radius * 0.15, radius * 0.15), inner);
  cone.setColorAt(0.0, QColor(196, 132, 70));
  cone.setColorAt(1.0, QColor(96, 50, 20));
  painter.setBrush(cone);
  painter.drawEllipse(centre, inner * 0.97, inner * 0.97);
  if (full) {
    painter.setPen(
        QPen(QColor(236, 204, 110), std::max(0.8, radius * 0.05), Qt::SolidLine, Qt::RoundCap));
    const double arm = radius * 0.30;
    painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
    painter.setPen(Qt::NoPen);
  }
  painter.setBrush(QColor(246, 220, 130));
  const double hub = full ? radius * 0.09 : radius * 0.2;
  painter.drawEllipse(centre, hub, hub);

  if (full) {
    const double angle = (90.0 - step * 5) * std::numbers::pi / 180.0;
    const double distance = (outer + inner) / 2;
    const QPointF ball = centre + QPointF(std::cos(angle) * distance, -std::sin(angle) * distance);
    QRadialGradient shine(ball - QPointF(radius * 0.02, radius * 0.02), radius * 0.08);
    shine.setColorAt(0.0, QColor(255, 255, 255));
    shine.setColorAt(1.0, QColor(190, 190, 200));
    painter.setBrush(shine);
    painter.drawEllipse(ball, radius * 0.07, radius * 0.07);
  }
  painter.restore();
}

}  // namespace wheelwatcher
