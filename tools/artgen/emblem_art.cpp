// SPDX-License-Identifier: GPL-3.0-or-later
#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>

#include "tools/artgen/art.h"
#include "tools/artgen/paint_helpers.h"

namespace wheelwatcher {

QImage DrawAboutPicture(const ArtFonts& fonts, int scale) {
  QImage image(350 * scale, 100 * scale, QImage::Format_RGB32);
  for (int py = 0; py < image.height(); ++py) {
    for (int px = 0; px < image.width(); ++px) {
      const double x = (px + 0.5) / scale - 0.5;
      const double y = (py + 0.5) / scale - 0.5;
      const double dx = (x - 175.0) / 350.0;
      const double dy = (y - 50.0) / 100.0;
      const double light = 1.05 - 0.8 * (dx * dx + dy * dy) + 0.03 * PixelNoise(px, py, 7);
      image.setPixel(px, py,
                     qRgb(static_cast<int>(14 * light), static_cast<int>(90 * light),
                          static_cast<int>(46 * light)));
    }
  }
  image.setDevicePixelRatio(scale);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // A thin gold frame inside a wooden edge.
  DrawFrame(painter, QRect(0, 0, 350, 100), QColor(96, 52, 20));
  DrawFrame(painter, QRect(1, 1, 348, 98), QColor(150, 90, 40));
  DrawFrame(painter, QRect(4, 4, 342, 92), QColor(226, 192, 104));

  DrawWheel(painter, QPointF(52, 50), 38, WheelDetail::kFull);

  const QColor gold(238, 204, 110);
  const QColor shadow(0, 0, 0, 160);
  const QImage title = TextImage("Wheelwatcher", PixelFont(fonts.comic, 34), gold, shadow, scale);
  const QSizeF titleSize = title.deviceIndependentSize();
  painter.drawImage(QPointF(104, 16), title);
  const qreal underlineY = 16 + titleSize.height() + 5;
  painter.fillRect(QRectF(104, underlineY, titleSize.width(), 1), QColor(226, 192, 104, 160));
  const QString version = QStringLiteral("V %1.%2%3%4")
                              .arg(WHEELWATCHER_VERSION_MAJOR)
                              .arg(WHEELWATCHER_VERSION_MINOR)
                              .arg(WHEELWATCHER_VERSION_PATCH)
                              .arg(WHEELWATCHER_VERSION_TWEAK);
  painter.drawImage(QPointF(104, underlineY + 9), TextImage(version, PixelFont(fonts.sans, 13),
                                                            QColor(250, 246, 230), shadow, scale));
  const QImage subtitle = TextImage("roulette spin tracker", PixelFont(fonts.sans, 11, false),
                                    QColor(200, 226, 206), shadow, scale);
  painter.drawImage(QPointF(336 - subtitle.deviceIndependentSize().width(), underlineY + 11),
                    subtitle);
  painter.end();
  return image.convertToFormat(QImage::Format_RGB888);
}

namespace {

// The icon's wheel fills the square but for a rim that keeps its edge off the border.
void DrawIconWheel(QPainter& painter, int size) {
  const double radius = size / 2.0;
  DrawWheel(painter, QPointF(radius, radius), radius - std::max(0.5, size / 64.0),
            size >= 32 ? WheelDetail::kFull : WheelDetail::kSimple);
}

}  // namespace

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  DrawIconWheel(painter, size);
  painter.end();
  return image;
}

QByteArray DrawScalableIcon() {
  constexpr int kSize = 256;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(kSize, kSize));
  svg.setViewBox(QRect(0, 0, kSize, kSize));
  svg.setTitle(QStringLiteral("Wheelwatcher"));
  svg.setDescription(QStringLiteral("A roulette wheel"));
  QPainter painter(&svg);
  DrawIconWheel(painter, kSize);
  painter.end();
  return bytes;
}

}  // namespace wheelwatcher
