// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QPen>
#include <QPixmap>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;
class QWidget;

namespace wheelwatcher {

// What the statistics window's charts share: they are painted straight onto their widgets, in one
// look, without a chart library (which the program would load at start for two small pictures).

// The next 1-2-5 step at or beyond a value (1, 2, 5, 10, 20, ...): axes that move in such steps
// stay put for most spins.
double NiceStep(double value);

// A value axis in nice steps from at or below its lowest value to at or above its highest; never
// empty.
struct ValueAxis {
  double bottom;
  double top;
  double step;
};
ValueAxis NiceValueAxis(double low, double high, int ticks);

// The part of a chart that changes only with its axes (legend, grid, labels), kept as a picture so
// that a spin paints only the data over it.
class ChartFrame {
 public:
  // A fresh picture of the chart's size and pixel ratio, filled with its base colour, to draw the
  // frame into when the kept one was drawn for another size, ratio or `axes` (whatever else the
  // frame depends on); null when the kept one serves.
  QPixmap* Redraw(const QWidget& chart, std::vector<double> axes);
  // The chart's font or palette changed: drawn again at the next paint.
  void Forget() { picture_ = QPixmap(); }
  const QPixmap& Picture() const { return picture_; }

 private:
  QPixmap picture_;
  QSize size_;
  double pixelRatio_ = 0;
  std::vector<double> axes_;
};

// The entries of a legend, left to right along the top of a chart.
class ChartLegend {
 public:
  ChartLegend(QPainter& painter, const QWidget& chart);
  void AddLine(const QPen& pen, const QString& text);
  void AddSwatch(const QColor& colour, const QString& text);

 private:
  void AddText(const QString& text);

  QPainter& painter_;
  const QWidget& chart_;
  QFontMetrics metrics_;
  int x_ = 8;
};

// The plotting area: below the legend, right of the value labels (the widest of which is given),
// above the given number of text lines.
QRectF ChartPlotArea(const QWidget& chart, const QString& widestValueLabel, int linesBelow);

// Horizontal grid lines at each step of the axis, labelled on the left; the zero line darker.
void DrawValueGrid(QPainter& painter, const QWidget& chart, const QRectF& plot,
                   const ValueAxis& axis);
// Where a value of the axis lies on the screen.
double ValueToY(const QRectF& plot, const ValueAxis& axis, double value);

inline const QColor kChartExpectedColour(200, 60, 40);
inline const QColor kChartGridColour(225, 225, 225);

}  // namespace wheelwatcher
