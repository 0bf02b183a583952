#include <QLinearGradient>
#include <QPainter>

#include "tools/artgen/art.h"
#include "tools/artgen/paint_helpers.h"

QImage DrawAboutPicture(const ArtFonts& fonts) {
  QImage image(350, 100, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const double dx = (x - 175.0) / 350.0;
      const double dy = (y - 50.0) / 100.0;
      const double light = 1.05 - 0.8 * (dx * dx + dy * dy) + 0.03 * PixelNoise(x, y, 7);
      image.setPixel(x, y,
                     qRgb(static_cast<int>(14 * light), static_cast<int>(90 * light),
                          static_cast<int>(46 * light)));
    }
  }
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // A thin gold frame inside a wooden edge.
  painter.setPen(QColor(96, 52, 20));
  painter.drawRect(0, 0, 349, 99);
  painter.setPen(QColor(150, 90, 40));
  painter.drawRect(1, 1, 347, 97);
  painter.setPen(QColor(226, 192, 104));
  painter.drawRect(4, 4, 341, 91);

  DrawWheel(painter, QPointF(52, 50), 38, WheelDetail::kFull);

  const QColor gold(238, 204, 110);
  const QColor shadow(0, 0, 0, 160);
  const QImage title = TextImage("Wheelwatcher", PixelFont(fonts.comic, 34), gold, shadow);
  painter.drawImage(104, 16, title);
  const int underlineY = 16 + title.height() + 5;
  painter.fillRect(QRect(104, underlineY, title.width(), 1), QColor(226, 192, 104, 160));
  const QString version = QStringLiteral("V %1.%2%3%4")
                              .arg(WHEELWATCHER_VERSION_MAJOR)
                              .arg(WHEELWATCHER_VERSION_MINOR)
                              .arg(WHEELWATCHER_VERSION_PATCH)
                              .arg(WHEELWATCHER_VERSION_TWEAK);
  painter.drawImage(104, underlineY + 9,
                    TextImage(version, PixelFont(fonts.sans, 13), QColor(250, 246, 230), shadow));
  const QImage subtitle = TextImage("roulette spin tracker", PixelFont(fonts.sans, 11, false),
                                    QColor(200, 226, 206), shadow);
  painter.drawImage(336 - subtitle.width(), underlineY + 11, subtitle);
  painter.end();
  return image.convertToFormat(QImage::Format_RGB888);
}

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  const double radius = size / 2.0;
  DrawWheel(painter, QPointF(radius, radius), radius - std::max(0.5, size / 64.0),
            size >= 32 ? WheelDetail::kFull : WheelDetail::kSimple);
  painter.end();
  return image;
}
