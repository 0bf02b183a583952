// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QImage>

#include "app/count_chart.h"

namespace wheelwatcher {

namespace {

// The bounds of the pixels of one colour in the plot: clear of the legend, whose swatches share
// the colours, and of the labels, whose smoothed edges may.
QRect AreaOf(const QImage& shot, const QRect& plot, QRgb colour) {
  QRect area;
  for (int y = plot.top(); y <= plot.bottom(); ++y) {
    for (int x = plot.left(); x <= plot.right(); ++x) {
      if ((shot.pixel(x, y) | 0xFF000000u) == colour) area |= QRect(x, y, 1, 1);
    }
  }
  return area;
}

TEST(CountChart, DrawsEachCountToScaleInTheColourOfItsMark) {
  CountChart chart;
  chart.resize(460, 210);
  NumberCounts counts;
  counts.fill(8);
  NumberMarks marks;
  marks.fill(CountMark::kWithinChance);
  counts[25] = 19;
  marks[25] = CountMark::kHot;
  counts[16] = 2;
  marks[16] = CountMark::kCold;
  chart.SetCounts(counts, marks, 8.1);
  const QImage shot = chart.grab().toImage();
  const QFontMetrics metrics = chart.fontMetrics();
  // Right of the count labels, between the legend and the number labels.
  const QRect plot(QPoint(metrics.horizontalAdvance("30") + 8, metrics.height() + 10),
                   QPoint(459, 209 - metrics.height() - 8));

  const QRect hot = AreaOf(shot, plot, qRgb(220, 50, 30));
  const QRect cold = AreaOf(shot, plot, qRgb(40, 110, 220));
  const QRect within = AreaOf(shot, plot, qRgb(120, 120, 120));
  ASSERT_FALSE(hot.isEmpty());
  ASSERT_FALSE(cold.isEmpty());
  ASSERT_FALSE(within.isEmpty());
  // One bar each, in the order of the numbers, standing on one baseline.
  const double slot = hot.width() / 0.8;
  EXPECT_LT(hot.width(), 460 / 37);
  EXPECT_NEAR(hot.left() - cold.left(), 9 * slot, slot / 2);
  EXPECT_NEAR(hot.bottom(), cold.bottom(), 1);
  EXPECT_NEAR(hot.bottom(), within.bottom(), 1);
  // Heights in proportion to the counts (the grey area is the tallest grey bar; the dashed
  // expected line may cross it).
  EXPECT_NEAR(static_cast<double>(cold.height()) / hot.height(), 2.0 / 19, 0.03);
  EXPECT_NEAR(static_cast<double>(within.height()) / hot.height(), 8.0 / 19, 0.03);

  // Without marks there is nothing hot or cold to see.
  marks.fill(CountMark::kWithinChance);
  chart.SetCounts(counts, marks, 8.1);
  const QImage plain = chart.grab().toImage();
  EXPECT_TRUE(AreaOf(plain, plot, qRgb(220, 50, 30)).isEmpty());
  EXPECT_TRUE(AreaOf(plain, plot, qRgb(40, 110, 220)).isEmpty());
}

}  // namespace

}  // namespace wheelwatcher
