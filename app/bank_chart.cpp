// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bank_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
const QColor kBankColour(30, 110, 200);
const QColor kExpectedColour(200, 60, 40);
const QColor kGridColour(225, 225, 225);
constexpr int kTicks = 5;
}  // namespace

double NiceStep(double value) {
  double decade = 1;
  while (decade * 10 <= value) decade *= 10;
  for (double step : {1.0, 2.0, 5.0}) {
    if (step * decade >= value) return step * decade;
  }
  return 10 * decade;
}

CBankChart::CBankChart(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(200);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void CBankChart::SetLines(QList<QPointF> bank, QList<QPointF> expected) {
  bank_ = std::move(bank);
  expected_ = std::move(expected);
  update();
}

QSize CBankChart::sizeHint() const { return {460, 240}; }

void CBankChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();

  // The legend along the top.
  int x = 8;
  const auto legend = [&](const QColor& colour, Qt::PenStyle style, const QString& text) {
    painter.setPen(QPen(colour, 2, style));
    painter.drawLine(x, line / 2 + 4, x + 22, line / 2 + 4);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(x + 28, 4 + metrics.ascent(), text);
    x += 28 + metrics.horizontalAdvance(text) + 16;
  };
  legend(kBankColour, Qt::SolidLine, tr("BANK"));
  legend(kExpectedColour, Qt::DashLine, tr("expected: −2.70 % of the amount staked"));

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
  const double amountStep = NiceStep(std::max(1.0, (high - low) / kTicks));
  const double bottom = std::floor(low / amountStep) * amountStep;
  const double top = std::max(std::ceil(high / amountStep) * amountStep, bottom + amountStep);

  const QString widestLabel = QString::number(std::fabs(bottom) > top ? bottom : top, 'f', 0);
  // Legend above; the spin labels and the axis title below.
  const QRectF plot(metrics.horizontalAdvance(widestLabel) + 14, line + 14,
                    width() - metrics.horizontalAdvance(widestLabel) - 26,
                    height() - (line + 14) - (2 * line + 12));
  const auto toScreen = [&](const QPointF& point) {
    return QPointF(plot.left() + point.x() / right * plot.width(),
                   plot.bottom() - (point.y() - bottom) / (top - bottom) * plot.height());
  };

  painter.setPen(palette().color(QPalette::Text));
  for (double amount = bottom; amount <= top + amountStep / 2; amount += amountStep) {
    const double y = toScreen({0, amount}).y();
    painter.setPen(QPen(amount == 0 ? Qt::gray : kGridColour, 1));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(0, y - line / 2.0, plot.left() - 6, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(amount, 'f', 0));
  }
  for (double spin = 0; spin <= right + spinStep / 2; spin += spinStep) {
    const double xAt = toScreen({spin, 0}).x();
    painter.setPen(QPen(kGridColour, 1));
    painter.drawLine(QPointF(xAt, plot.top()), QPointF(xAt, plot.bottom()));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(xAt - 40, plot.bottom() + 4, 80, line), Qt::AlignHCenter,
                     QString::number(spin, 'f', 0));
  }
  painter.drawText(QRectF(plot.left(), plot.bottom() + 4 + line, plot.width(), line),
                   Qt::AlignHCenter, tr("spins"));

  const auto drawLine = [&](const QList<QPointF>& points, const QPen& pen) {
    QPolygonF polyline;
    polyline.reserve(points.size());
    for (const QPointF& point : points) polyline << toScreen(point);
    painter.setPen(pen);
    painter.drawPolyline(polyline);
  };
  painter.setClipRect(plot.adjusted(-2, -2, 2, 2));
  drawLine(expected_, QPen(kExpectedColour, 2, Qt::DashLine));
  drawLine(bank_, QPen(kBankColour, 2));
}
