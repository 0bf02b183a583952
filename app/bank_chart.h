// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>

#include "app/chart_drawing.h"

namespace wheelwatcher {

// BANK over the session beside the line the wheel's edge predicts, drawn straight onto the
// widget. A chart library re-strokes every line on every change of a point, a few microseconds a
// point: too dear for a window that follows each spin. Here a change stores the points and asks
// for a paint, which draws the two lines over a picture of the rest, kept while the axes stay.
class BankChart : public QWidget {
  Q_OBJECT
 public:
  explicit BankChart(QWidget* parent = nullptr);

  // Points are (spins, amount), in order of spins.
  void SetLines(QList<QPointF> bank, QList<QPointF> expected);
  const QList<QPointF>& BankLine() const { return bank_; }

  QSize sizeHint() const override;

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  ChartFrame frame_;
  QList<QPointF> bank_;
  QList<QPointF> expected_;
};

}  // namespace wheelwatcher
