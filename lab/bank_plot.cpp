// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/bank_plot.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <string>

#include "lab/lab_report.h"
#include "lab/plot_data.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 700;
const QRectF kPlotArea(QPointF(96, 108), QPointF(kWidth - 36, kHeight - 64));

const QColor kFeltTop(18, 84, 44);
const QColor kFeltBottom(8, 48, 24);
const QColor kPlotBackground(4, 30, 15);
const QColor kGold(238, 204, 110);
const QColor kCream(250, 246, 230);

// The systems' colours: the layout's gold, red and cream, the LED green, and a light blue that
// stays apart from the rest.
QColor SystemColour(int systemNumber) {
  switch (systemNumber) {
    case 1:
      return kGold;
    case 2:
      return QColor(246, 84, 70);
    case 3:
      return kCream;
    case 4:
      return QColor(120, 240, 110);
    default:
      return QColor(110, 180, 255);
  }
}

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

QFont PlotFont(int pixelSize, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// A tick step of 1, 2 or 5 times a power of ten giving about `count` steps over the span.
double TickStep(double span, int count) {
  const double raw = std::max(span, 1.0) / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= raw) return factor * power;
  }
  return 10 * power;
}

QString Label(double value) {
  return QString::fromStdString(GroupedInteger(static_cast<long long>(std::llround(value))));
}

struct Scale {
  double firstSpin, lastSpin, lowBank, highBank;
  QPointF At(double spin, double bank) const {
    const double x =
        kPlotArea.left() + (spin - firstSpin) / (lastSpin - firstSpin) * kPlotArea.width();
    const double y =
        kPlotArea.bottom() - (bank - lowBank) / (highBank - lowBank) * kPlotArea.height();
    return {x, y};
  }
};

Scale ScaleFor(const PlotData& plot) {
  Scale scale{0, 1, 0, 0};
  for (const PlotSeries& series : plot.series) {
    const BankCurve& curve = series.curve;
    if (!curve.spins.empty()) scale.lastSpin = std::max(scale.lastSpin, double(curve.spins.back()));
    for (const double v : curve.p5) scale.lowBank = std::min(scale.lowBank, v);
    for (const double v : curve.p95) scale.highBank = std::max(scale.highBank, v);
    for (const double v : curve.centre) {
      scale.lowBank = std::min(scale.lowBank, v);
      scale.highBank = std::max(scale.highBank, v);
    }
  }
  const double margin = std::max(1.0, (scale.highBank - scale.lowBank) * 0.06);
  scale.lowBank -= margin;
  scale.highBank += margin;
  return scale;
}

void DrawAxes(QPainter& painter, const Scale& scale) {
  painter.fillRect(kPlotArea, kPlotBackground);
  painter.setFont(PlotFont(13));
  const QFontMetricsF metrics(painter.font());

  const double bankStep = TickStep(scale.highBank - scale.lowBank, 8);
  for (double bank = std::ceil(scale.lowBank / bankStep) * bankStep; bank <= scale.highBank;
       bank += bankStep) {
    const QPointF at = scale.At(scale.firstSpin, bank);
    const bool zero = std::fabs(bank) < bankStep / 2;
    painter.setPen(zero ? QPen(WithAlpha(kCream, 150), 1.2, Qt::DashLine)
                        : QPen(WithAlpha(kCream, 32), 1));
    painter.drawLine(QPointF(kPlotArea.left(), at.y()), QPointF(kPlotArea.right(), at.y()));
    painter.setPen(WithAlpha(kCream, 210));
    const QString text = Label(bank);
    painter.drawText(QPointF(kPlotArea.left() - 10 - metrics.horizontalAdvance(text),
                             at.y() + metrics.capHeight() / 2),
                     text);
  }
  const double spinStep = TickStep(scale.lastSpin - scale.firstSpin, 10);
  for (double spin = 0; spin <= scale.lastSpin + spinStep / 1000; spin += spinStep) {
    const QPointF at = scale.At(spin, scale.lowBank);
    painter.setPen(QPen(WithAlpha(kCream, 32), 1));
    painter.drawLine(QPointF(at.x(), kPlotArea.top()), QPointF(at.x(), kPlotArea.bottom()));
    painter.setPen(WithAlpha(kCream, 210));
    const QString text = Label(spin);
    painter.drawText(QPointF(at.x() - metrics.horizontalAdvance(text) / 2,
                             kPlotArea.bottom() + 8 + metrics.ascent()),
                     text);
  }
  painter.setPen(QPen(WithAlpha(kGold, 200), 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(kPlotArea);

  painter.setFont(PlotFont(14, true));
  painter.setPen(kCream);
  painter.drawText(QRectF(kPlotArea.left(), kHeight - 30, kPlotArea.width(), 24), Qt::AlignHCenter,
                   QStringLiteral("spin"));
  painter.save();
  painter.translate(24, kPlotArea.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-100, -12, 200, 24), Qt::AlignCenter, QStringLiteral("BANK"));
  painter.restore();
}

void DrawBand(QPainter& painter, const Scale& scale, const PlotSeries& series) {
  const BankCurve& curve = series.curve;
  if (curve.spins.empty()) return;
  QPainterPath band;
  band.moveTo(scale.At(double(curve.spins[0]), curve.p95[0]));
  for (std::size_t i = 1; i < curve.spins.size(); ++i) {
    band.lineTo(scale.At(double(curve.spins[i]), curve.p95[i]));
  }
  for (std::size_t i = curve.spins.size(); i-- > 0;) {
    band.lineTo(scale.At(double(curve.spins[i]), curve.p5[i]));
  }
  band.closeSubpath();
  const QColor colour = SystemColour(series.systemNumber);
  painter.setPen(QPen(WithAlpha(colour, 150), 1, Qt::DashLine));
  painter.setBrush(WithAlpha(colour, 26));
  painter.drawPath(band);
}

void DrawCentre(QPainter& painter, const Scale& scale, const PlotSeries& series) {
  const BankCurve& curve = series.curve;
  if (curve.spins.empty()) return;
  QPainterPath line;
  line.moveTo(scale.At(double(curve.spins[0]), curve.centre[0]));
  for (std::size_t i = 1; i < curve.spins.size(); ++i) {
    line.lineTo(scale.At(double(curve.spins[i]), curve.centre[i]));
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(
      QPen(SystemColour(series.systemNumber), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(line);
}

void DrawLegend(QPainter& painter, const PlotData& plot) {
  painter.setFont(PlotFont(14, true));
  const QFontMetricsF metrics(painter.font());
  const double rowHeight = 24;
  double nameWidth = 0;
  for (const PlotSeries& series : plot.series) {
    nameWidth = std::max(nameWidth, metrics.horizontalAdvance(QString::fromStdString(series.name)));
  }
  const QString note = QString::fromStdString("line: " + plot.centreName + ", band: 5–95 %");
  QFont noteFont = PlotFont(12);
  const double noteWidth = QFontMetricsF(noteFont).horizontalAdvance(note);
  const QRectF box(kPlotArea.left() + 14, kPlotArea.top() + 14,
                   std::max(nameWidth + 58, noteWidth + 24),
                   rowHeight * static_cast<double>(plot.series.size()) + 34);
  painter.setPen(QPen(WithAlpha(kGold, 160), 1));
  painter.setBrush(WithAlpha(kPlotBackground, 220));
  painter.drawRoundedRect(box, 6, 6);
  double y = box.top() + 10;
  for (const PlotSeries& series : plot.series) {
    const QColor colour = SystemColour(series.systemNumber);
    const QRectF swatch(box.left() + 12, y + 4, 28, 14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(WithAlpha(colour, 60));
    painter.drawRect(swatch);
    painter.setPen(QPen(colour, 2.6));
    painter.drawLine(QPointF(swatch.left(), swatch.center().y()),
                     QPointF(swatch.right(), swatch.center().y()));
    painter.setPen(kCream);
    painter.drawText(QPointF(swatch.right() + 10, y + 4 + metrics.capHeight() + 2),
                     QString::fromStdString(series.name));
    y += rowHeight;
  }
  painter.setFont(noteFont);
  painter.setPen(WithAlpha(kCream, 190));
  painter.drawText(QPointF(box.left() + 12, y + 14), note);
}

}  // namespace

QByteArray DrawBankPlotPng(const PlotData& plot) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient felt(0, 0, 0, kHeight);
  felt.setColorAt(0, kFeltTop);
  felt.setColorAt(1, kFeltBottom);
  painter.fillRect(image.rect(), felt);

  painter.setFont(PlotFont(22, true));
  painter.setPen(kGold);
  painter.drawText(QPointF(kPlotArea.left(), 44), QString::fromStdString(plot.title));
  painter.setFont(PlotFont(14));
  painter.setPen(WithAlpha(kCream, 220));
  painter.drawText(QPointF(kPlotArea.left(), 76), QString::fromStdString(plot.subtitle));

  const Scale scale = ScaleFor(plot);
  DrawAxes(painter, scale);
  painter.save();
  painter.setClipRect(kPlotArea);
  for (const PlotSeries& series : plot.series) DrawBand(painter, scale, series);
  for (const PlotSeries& series : plot.series) DrawCentre(painter, scale, series);
  painter.restore();
  DrawLegend(painter, plot);
  painter.end();

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}
