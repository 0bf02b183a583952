// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/count_chart.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

#include "app/chart_drawing.h"

namespace wheelwatcher {

namespace {
const QColor kCountColour(120, 120, 120);
const QColor kHotColour(220, 50, 30);
const QColor kColdColour(40, 110, 220);
constexpr int kTicks = 4;
// 37 labels do not fit side by side: every sixth number, from 0 to 36.
constexpr int kLabelEvery = 6;
constexpr double kLeastBarHeight = 3;
constexpr double kBarShare = 0.8;  // of a number's slot; the rest is the gap between bars
}  // namespace

CountChart::CountChart(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(150);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void CountChart::SetCounts(const NumberCounts& counts, const NumberMarks& marks, double expected) {
  if (counts == counts_ && marks == marks_ && expected == expected_) return;
  counts_ = counts;
  marks_ = marks;
  expected_ = expected;
  update();
}

QSize CountChart::sizeHint() const { return {460, 180}; }

void CountChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
    frame_.Forget();
  }
  QWidget::changeEvent(event);
}

void CountChart::paintEvent(QPaintEvent*) {
  // Some room above the tallest bar, so that it never runs into the legend.
  const std::int64_t highest = *std::max_element(counts_.begin(), counts_.end());
  const double tallest = std::max({4.0, static_cast<double>(highest), expected_}) * 1.1;
  const ValueAxis axis = NiceValueAxis(0, tallest, kTicks);
  const QRectF plot = ChartPlotArea(*this, QString::number(axis.top, 'f', 0), 1);
  const double slot = plot.width() / kWheelNumbers;

  // The legend, grid and labels change only with the axis: drawn once for it, and kept.
  if (QPixmap* picture = frame_.Redraw(*this, {axis.top, axis.step})) {
    QPainter painter(picture);
    painter.setFont(font());
    const int line = fontMetrics().height();
    ChartLegend legend(painter, *this);
    legend.AddSwatch(kCountColour, tr("count"));
    legend.AddSwatch(kHotColour, tr("hot"));
    legend.AddSwatch(kColdColour, tr("cold"));
    legend.AddLine(QPen(kChartExpectedColour, 2, Qt::DashLine), tr("expected"));
    DrawValueGrid(painter, *this, plot, axis);
    painter.setPen(palette().color(QPalette::Text));
    for (int number = 0; number < kWheelNumbers; number += kLabelEvery) {
      const double left = plot.left() + number * slot;
      painter.drawText(QRectF(left + slot / 2 - 40, plot.bottom() + 4, 80, line), Qt::AlignHCenter,
                       QString::number(number));
    }
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, frame_.Picture());

  for (int number = 0; number < kWheelNumbers; ++number) {
    const double left = plot.left() + number * slot;
    // A number never hit still gets a stub, so a cold zero shows in its colour.
    const double top = std::min(ValueToY(plot, axis, static_cast<double>(counts_[number])),
                                plot.bottom() - kLeastBarHeight);
    const CountMark mark = marks_[number];
    const QColor& colour = mark == CountMark::kHot    ? kHotColour
                           : mark == CountMark::kCold ? kColdColour
                                                      : kCountColour;
    painter.fillRect(
        QRectF(left + slot * (1 - kBarShare) / 2, top, slot * kBarShare, plot.bottom() - top),
        colour);
  }

  painter.setRenderHint(QPainter::Antialiasing);
  const double expectedY = ValueToY(plot, axis, expected_);
  painter.setPen(QPen(kChartExpectedColour, 2, Qt::DashLine));
  painter.drawLine(QPointF(plot.left(), expectedY), QPointF(plot.right(), expectedY));
}

}  // namespace wheelwatcher
