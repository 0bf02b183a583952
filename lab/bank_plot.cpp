// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/bank_plot.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "lab/lab_report.h"
#include "lab/plot_data.h"

namespace wheelwatcher {

namespace {

constexpr int kWidth = 1400;
constexpr int kColumns = 2;
constexpr int kHeaderHeight = 96;
constexpr int kPanelHeight = 300;
constexpr int kMargin = 24;
// Room inside a panel's cell for its title, the BANK labels on the left, the share labels on the
// right and the spin labels below.
const QMarginsF kPanelInset(84, 40, 64, 34);

const QColor kFeltTop(18, 84, 44);
const QColor kFeltBottom(8, 48, 24);
const QColor kPlotBackground(4, 30, 15);
const QColor kGold(238, 204, 110);
const QColor kCream(250, 246, 230);
const QColor kRuin(255, 70, 70);
const QColor kPlaying(90, 220, 255);

// Each system's colour, bright on the dark felt and apart from the ruin line's red and the
// share's cyan.
QColor SystemColour(int systemNumber) {
  switch (systemNumber) {
    case 1:
      return kGold;
    case 2:
      return QColor(255, 140, 200);
    case 3:
      return QColor(200, 160, 255);
    case 4:
      return QColor(120, 240, 110);
    default:
      return QColor(255, 165, 60);
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
  QRectF area;
  double lastSpin = 1, lowBank = 0, highBank = 0;
  QPointF At(double spin, double bank) const {
    return {area.left() + spin / lastSpin * area.width(),
            area.bottom() - (bank - lowBank) / (highBank - lowBank) * area.height()};
  }
  double ShareY(double share) const { return area.bottom() - share * area.height(); }
};

// The BANK range of some panels: their bands, lines and the ruin line, with a margin.
Scale RangeOf(const PlotData& plot, std::span<const PlotSeries> series) {
  Scale scale;
  if (plot.ruinLine) scale.lowBank = *plot.ruinLine;
  for (const PlotSeries& one : series) {
    const BankCurve& curve = one.curve;
    if (!curve.spins.empty()) scale.lastSpin = std::max(scale.lastSpin, double(curve.spins.back()));
    for (const auto* values : {&curve.p5, &curve.p95, &curve.centre, &curve.mean}) {
      for (const double v : *values) {
        scale.lowBank = std::min(scale.lowBank, v);
        scale.highBank = std::max(scale.highBank, v);
      }
    }
  }
  const double margin = std::max(1.0, (scale.highBank - scale.lowBank) * 0.06);
  scale.lowBank -= margin;
  scale.highBank += margin;
  return scale;
}

void DrawPanelAxes(QPainter& painter, const Scale& scale, bool withShare) {
  const QRectF& area = scale.area;
  painter.fillRect(area, kPlotBackground);
  painter.setFont(PlotFont(12));
  const QFontMetricsF metrics(painter.font());

  const double bankStep = TickStep(scale.highBank - scale.lowBank, 5);
  for (double bank = std::ceil(scale.lowBank / bankStep) * bankStep; bank <= scale.highBank;
       bank += bankStep) {
    const double y = scale.At(0, bank).y();
    const bool zero = std::fabs(bank) < bankStep / 2;
    painter.setPen(zero ? QPen(WithAlpha(kCream, 170), 1.2) : QPen(WithAlpha(kCream, 36), 1));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    painter.setPen(WithAlpha(kCream, 220));
    const QString text = Label(bank);
    painter.drawText(
        QPointF(area.left() - 8 - metrics.horizontalAdvance(text), y + metrics.capHeight() / 2),
        text);
  }
  const double spinStep = TickStep(scale.lastSpin, 6);
  for (double spin = 0; spin <= scale.lastSpin + spinStep / 1000; spin += spinStep) {
    const double x = scale.At(spin, 0).x();
    painter.setPen(QPen(WithAlpha(kCream, 36), 1));
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    painter.setPen(WithAlpha(kCream, 220));
    const QString text = Label(spin);
    painter.drawText(
        QPointF(x - metrics.horizontalAdvance(text) / 2, area.bottom() + 6 + metrics.ascent()),
        text);
  }
  if (withShare) {
    painter.setPen(WithAlpha(kPlaying, 230));
    for (const int percent : {0, 50, 100}) {
      painter.drawText(
          QPointF(area.right() + 8, scale.ShareY(percent / 100.0) + metrics.capHeight() / 2),
          QString::number(percent) + QStringLiteral(" %"));
    }
  }
  painter.setPen(QPen(WithAlpha(kGold, 200), 1.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
}

QPainterPath LineThrough(const Scale& scale, const BankCurve& curve,
                         const std::vector<double>& values) {
  QPainterPath line;
  line.moveTo(scale.At(double(curve.spins[0]), values[0]));
  for (std::size_t i = 1; i < curve.spins.size(); ++i) {
    line.lineTo(scale.At(double(curve.spins[i]), values[i]));
  }
  return line;
}

void DrawPanel(QPainter& painter, const PlotData& plot, const PlotSeries& series,
               const Scale& scale) {
  const BankCurve& curve = series.curve;
  const QColor colour = SystemColour(series.systemNumber);
  const bool withShare = !curve.playing.empty();
  DrawPanelAxes(painter, scale, withShare);

  painter.setFont(PlotFont(16, true));
  painter.setPen(colour);
  const QString name = QString::fromStdString(series.name);
  painter.drawText(QPointF(scale.area.left(), scale.area.top() - 12), name);
  painter.setFont(PlotFont(15));
  painter.setPen(kCream);
  painter.drawText(
      QPointF(scale.area.left() + QFontMetricsF(PlotFont(16, true)).horizontalAdvance(name) + 12,
              scale.area.top() - 12),
      QString::fromStdString(series.verdict));
  if (curve.spins.empty()) return;

  painter.save();
  painter.setClipRect(scale.area);
  QPainterPath band = LineThrough(scale, curve, curve.p95);
  for (std::size_t i = curve.spins.size(); i-- > 0;) {
    band.lineTo(scale.At(double(curve.spins[i]), curve.p5[i]));
  }
  band.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(WithAlpha(colour, 70));
  painter.drawPath(band);
  painter.setBrush(Qt::NoBrush);

  if (plot.ruinLine) {
    const double y = scale.At(0, *plot.ruinLine).y();
    painter.setPen(QPen(kRuin, 2, Qt::DashLine));
    painter.drawLine(QPointF(scale.area.left(), y), QPointF(scale.area.right(), y));
  }
  if (withShare) {
    QPainterPath share;
    share.moveTo(scale.area.left(), scale.ShareY(curve.playing[0]));
    for (std::size_t i = 1; i < curve.spins.size(); ++i) {
      share.lineTo(scale.At(double(curve.spins[i]), 0).x(), scale.ShareY(curve.playing[i]));
    }
    painter.setPen(QPen(kPlaying, 2));
    painter.drawPath(share);
  }
  if (!curve.mean.empty()) {
    painter.setPen(QPen(kCream, 2, Qt::DashLine, Qt::FlatCap));
    painter.drawPath(LineThrough(scale, curve, curve.mean));
  }
  painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(LineThrough(scale, curve, curve.centre));
  painter.restore();
}

// What each kind of line means, once for all panels, in the header.
void DrawKey(QPainter& painter, const PlotData& plot, double y) {
  struct Entry {
    QPen pen;
    QString text;
  };
  const bool simulated = plot.ruinLine.has_value();
  std::vector<Entry> entries = {
      {QPen(kGold, 3), QString::fromStdString(plot.centreName)},
  };
  if (simulated) entries.push_back({QPen(kCream, 2, Qt::DashLine), QStringLiteral("mean")});
  entries.push_back({QPen(WithAlpha(kGold, 70), 10), simulated
                                                         ? QStringLiteral("5–95 % of sessions")
                                                         : QStringLiteral("5–95 % of runs")});
  if (simulated) {
    entries.push_back({QPen(kRuin, 2, Qt::DashLine), QStringLiteral("−bankroll: ruin")});
    entries.push_back({QPen(kPlaying, 2), QStringLiteral("share still playing (right axis)")});
  }
  painter.setFont(PlotFont(14));
  const QFontMetricsF metrics(painter.font());
  double x = kMargin + kPanelInset.left();
  for (const Entry& entry : entries) {
    painter.setPen(entry.pen);
    painter.drawLine(QPointF(x, y), QPointF(x + 30, y));
    painter.setPen(kCream);
    painter.drawText(QPointF(x + 38, y + metrics.capHeight() / 2), entry.text);
    x += 38 + metrics.horizontalAdvance(entry.text) + 28;
  }
}

}  // namespace

QByteArray DrawBankPlotPng(const PlotData& plot) {
  const int count = static_cast<int>(plot.series.size());
  const int columns = std::min(kColumns, std::max(count, 1));
  const int rows = (count + columns - 1) / columns;
  const int height = kHeaderHeight + std::max(rows, 1) * kPanelHeight + kMargin;
  QImage image(kWidth, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient felt(0, 0, 0, height);
  felt.setColorAt(0, kFeltTop);
  felt.setColorAt(1, kFeltBottom);
  painter.fillRect(image.rect(), felt);

  painter.setFont(PlotFont(22, true));
  painter.setPen(kGold);
  painter.drawText(QPointF(kMargin + kPanelInset.left(), 34), QString::fromStdString(plot.title));
  painter.setFont(PlotFont(14));
  painter.setPen(WithAlpha(kCream, 220));
  painter.drawText(QPointF(kMargin + kPanelInset.left(), 58),
                   QString::fromStdString(plot.subtitle));
  DrawKey(painter, plot, 80);

  const Scale shared = RangeOf(plot, plot.series);
  const double cellWidth = static_cast<double>(kWidth - 2 * kMargin) / columns;
  for (int index = 0; index < count; ++index) {
    const PlotSeries& series = plot.series[static_cast<std::size_t>(index)];
    const QRectF cell(kMargin + (index % columns) * cellWidth,
                      kHeaderHeight + (index / columns) * kPanelHeight, cellWidth, kPanelHeight);
    Scale scale = plot.sharedAxis ? shared : RangeOf(plot, std::span(&series, 1));
    scale.area = cell.marginsRemoved(kPanelInset);
    DrawPanel(painter, plot, series, scale);
  }
  painter.end();

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

}  // namespace wheelwatcher
