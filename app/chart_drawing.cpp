// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_drawing.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace wheelwatcher {

double NiceStep(double value) {
  double decade = 1;
  while (decade * 10 <= value) decade *= 10;
  for (double step : {1.0, 2.0, 5.0}) {
    if (step * decade >= value) return step * decade;
  }
  return 10 * decade;
}

ValueAxis NiceValueAxis(double low, double high, int ticks) {
  const double step = NiceStep(std::max(1.0, (high - low) / ticks));
  const double bottom = std::floor(low / step) * step;
  return {bottom, std::max(std::ceil(high / step) * step, bottom + step), step};
}

ChartLegend::ChartLegend(QPainter& painter, const QWidget& chart)
    : painter_(painter), chart_(chart), metrics_(chart.fontMetrics()) {}

void ChartLegend::AddLine(const QPen& pen, const QString& text) {
  const int y = metrics_.height() / 2 + 4;
  painter_.setPen(pen);
  painter_.drawLine(x_, y, x_ + 22, y);
  AddText(text);
}

void ChartLegend::AddSwatch(const QColor& colour, const QString& text) {
  const int side = metrics_.ascent() - 2;
  painter_.fillRect(QRect(x_ + 11 - side / 2, metrics_.height() / 2 + 4 - side / 2, side, side),
                    colour);
  AddText(text);
}

void ChartLegend::AddText(const QString& text) {
  painter_.setPen(chart_.palette().color(QPalette::Text));
  painter_.drawText(x_ + 28, 4 + metrics_.ascent(), text);
  x_ += 28 + metrics_.horizontalAdvance(text) + 16;
}

QRectF ChartPlotArea(const QWidget& chart, const QString& widestValueLabel, int linesBelow) {
  const QFontMetrics metrics = chart.fontMetrics();
  const int line = metrics.height();
  const int left = metrics.horizontalAdvance(widestValueLabel) + 14;
  const int top = line + 14;
  return QRectF(left, top, chart.width() - left - 12,
                chart.height() - top - (linesBelow * line + 12));
}

double ValueToY(const QRectF& plot, const ValueAxis& axis, double value) {
  return plot.bottom() - (value - axis.bottom) / (axis.top - axis.bottom) * plot.height();
}

void DrawValueGrid(QPainter& painter, const QWidget& chart, const QRectF& plot,
                   const ValueAxis& axis) {
  const int line = chart.fontMetrics().height();
  for (double value = axis.bottom; value <= axis.top + axis.step / 2; value += axis.step) {
    const double y = ValueToY(plot, axis, value);
    painter.setPen(QPen(value == 0 ? Qt::gray : kChartGridColour, 1));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(chart.palette().color(QPalette::Text));
    painter.drawText(QRectF(0, y - line / 2.0, plot.left() - 6, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(value, 'f', 0));
  }
}

QPixmap* ChartFrame::Redraw(const QWidget& chart, std::vector<double> axes) {
  const double pixelRatio = chart.devicePixelRatioF();
  if (!picture_.isNull() && chart.size() == size_ && pixelRatio == pixelRatio_ && axes == axes_) {
    return nullptr;
  }
  size_ = chart.size();
  pixelRatio_ = pixelRatio;
  axes_ = std::move(axes);
  picture_ = QPixmap(size_ * pixelRatio);
  picture_.setDevicePixelRatio(pixelRatio);
  picture_.fill(chart.palette().color(QPalette::Base));
  return &picture_;
}

}  // namespace wheelwatcher
