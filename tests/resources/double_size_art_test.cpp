// SPDX-License-Identifier: GPL-3.0-or-later
// The art drawn twice: the glyph sheets at twice the size show the same dots as the plain ones,
// and the scalable icon is the wheel of the icons drawn as pictures.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdlib>

namespace wheelwatcher {

namespace {

// Each pixel of the plain sheet is a 2 x 2 block of the double one: black stays black, and a
// dot's colour fills its block but for the corners that round the larger dots.
TEST(DoubleSizeGlyphSheets, EveryBlockShowsThePlainSheetsPixel) {
  for (const char* name : {"small", "medium", "large"}) {
    SCOPED_TRACE(name);
    const QImage plain =
        QImage(QStringLiteral(":/glyphs-%1.png").arg(name)).convertToFormat(QImage::Format_RGB32);
    const QImage doubled = QImage(QStringLiteral(":/glyphs-%1@2x.png").arg(name))
                               .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(doubled.size(), plain.size() * 2);
    const QRgb black = qRgb(0, 0, 0);
    int otherColours = 0;  // block pixels neither black nor the plain pixel's colour
    int unshown = 0;       // blocks without a single pixel of the plain pixel's colour
    for (int y = 0; y < plain.height(); ++y) {
      for (int x = 0; x < plain.width(); ++x) {
        const QRgb colour = plain.pixel(x, y);
        int shown = 0;
        for (int dy = 0; dy < 2; ++dy) {
          for (int dx = 0; dx < 2; ++dx) {
            const QRgb drawn = doubled.pixel(2 * x + dx, 2 * y + dy);
            if (drawn == colour) {
              ++shown;
            } else if (drawn != black) {
              ++otherColours;
            }
          }
        }
        if (shown == 0) ++unshown;
      }
    }
    EXPECT_EQ(otherColours, 0);
    EXPECT_EQ(unshown, 0);
  }
}

// The same drawing code made both; rendered at 256 pixels the SVG differs from the 256-pixel icon
// only by the smoothing of edges.
TEST(ScalableIcon, MatchesTheLargestPictureIcon) {
  QSvgRenderer svg(QStringLiteral(WHEELWATCHER_SOURCE_DIR "/resources/icons/wheelwatcher.svg"));
  ASSERT_TRUE(svg.isValid());
  const QImage picture(
      QStringLiteral(WHEELWATCHER_SOURCE_DIR "/resources/icons/wheelwatcher-256.png"));
  ASSERT_EQ(picture.size(), QSize(256, 256));
  QImage rendered(256, 256, QImage::Format_ARGB32);
  rendered.fill(Qt::transparent);
  QPainter painter(&rendered);
  svg.render(&painter);
  painter.end();

  long long difference = 0;
  int far = 0;
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const QRgb a = rendered.pixel(x, y);
      const QRgb b = picture.pixel(x, y);
      const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
      difference += d;
      if (d > 96) ++far;
    }
  }
  EXPECT_LT(static_cast<double>(difference) / (256 * 256), 2.0);
  EXPECT_LT(far, 256) << "pixels that differ beyond smoothing";
}

}  // namespace

}  // namespace wheelwatcher
