// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bank_chart.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "app/chart_drawing.h"

namespace wheelwatcher {

namespace {
const QColor kBankColour(30, 110, 200);
constexpr int kTicks = 5;
}  // namespace

BankChart::BankChart(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(150);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void BankChart::SetLines(QList<QPointF> bank, QList<QPointF> expected) {
  bank_ = std::move(bank);
  expected_ = std::move(expected);
  update();
}

QSize BankChart::sizeHint() const { return {460, 200}; }

void BankChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
    frame_.Forget();
  }
  QWidget::changeEvent(event);
}

void BankChart::paintEvent(QPaintEvent*) {
  // Axes from 0 to the next nice step beyond the data, zero always in view.
  double spins = 10;
  double low = 0;
  double high = 0;
  for (const QList<QPointF>* points : {&bank_, &expected_}) {
    for (const QPointF& point : *points) {
      spins = std::max(spins, point.x());
      low = std::min(low, point.y());
      high = std::max(high, point.y());
    }
  }
  const double spinStep = NiceStep(spins / kTicks);
  const double right = std::ceil(spins / spinStep) * spinStep;
  const ValueAxis amounts = NiceValueAxis(low, high, kTicks);

  const QString widestLabel = QString::number(
      std::fabs(amounts.bottom) > amounts.top ? amounts.bottom : amounts.top, 'f', 0);
  // The spin labels and the axis title below.
  const QRectF plot = ChartPlotArea(*this, widestLabel, 2);
  const auto toScreen = [&](const QPointF& point) {
    return QPointF(plot.left() + point.x() / right * plot.width(),
                   ValueToY(plot, amounts, point.y()));
  };

  // The legend, grid and labels change only with the axes: drawn once for them, and kept.
  if (QPixmap* picture = frame_.Redraw(*this, {right, spinStep, amounts.bottom, amounts.top})) {
    QPainter painter(picture);
    painter.setFont(font());
    painter.setRenderHint(QPainter::Antialiasing);
    const int line = fontMetrics().height();
    ChartLegend legend(painter, *this);
    legend.AddLine(QPen(kBankColour, 2), tr("BANK"));
    legend.AddLine(QPen(kChartExpectedColour, 2, Qt::DashLine),
                   tr("expected: −2.70 % of the amount staked"));
    DrawValueGrid(painter, *this, plot, amounts);
    for (double spin = 0; spin <= right + spinStep / 2; spin += spinStep) {
      const double xAt = toScreen({spin, 0}).x();
      painter.setPen(QPen(kChartGridColour, 1));
      painter.drawLine(QPointF(xAt, plot.top()), QPointF(xAt, plot.bottom()));
      painter.setPen(palette().color(QPalette::Text));
      painter.drawText(QRectF(xAt - 40, plot.bottom() + 4, 80, line), Qt::AlignHCenter,
                       QString::number(spin, 'f', 0));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + 4 + line, plot.width(), line),
                     Qt::AlignHCenter, tr("spins"));
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, frame_.Picture());
  painter.setRenderHint(QPainter::Antialiasing);

  // Two pixels thick as two lines of one pixel side by side: a one-pixel line is drawn pixel by
  // pixel, a thicker one is outlined and filled, which costs a spin several times as much.
  const auto drawLine = [&](const QList<QPointF>& points, QPen pen) {
    QPolygonF polyline;
    polyline.reserve(points.size());
    for (const QPointF& point : points) polyline << toScreen(point);
    pen.setCosmetic(true);
    pen.setWidth(1);
    painter.setPen(pen);
    painter.drawPolyline(polyline);
    polyline.translate(0.7, 0.7);
    painter.drawPolyline(polyline);
  };
  painter.setClipRect(plot.adjusted(-2, -2, 2, 2));
  QPen expectedPen(kChartExpectedColour);
  expectedPen.setDashPattern({8, 4});  // the legend's dashes, which are two pixels wide
  drawLine(expected_, expectedPen);
  drawLine(bank_, QPen(kBankColour));
}

}  // namespace wheelwatcher
