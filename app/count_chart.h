// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

#include "app/chart_drawing.h"
#include "stats/session_statistics.h"

namespace wheelwatcher {

// How far a number's count lies from what a fair wheel gives.
enum class CountMark : std::uint8_t { kWithinChance, kHot, kCold };

using NumberCounts = std::array<std::int64_t, kWheelNumbers>;
using NumberMarks = std::array<CountMark, kWheelNumbers>;

// Each number's count as a bar, hot and cold ones in their colours, against the count a fair
// wheel would give, drawn straight onto the widget. A change stores the figures and asks for a
// paint, which draws the bars and the expected count over a picture of the rest, kept while the
// axis stays: the window follows each spin.
class CountChart : public QWidget {
  Q_OBJECT
 public:
  explicit CountChart(QWidget* parent = nullptr);

  void SetCounts(const NumberCounts& counts, const NumberMarks& marks, double expected);
  const NumberCounts& Counts() const { return counts_; }
  const NumberMarks& Marks() const { return marks_; }

  QSize sizeHint() const override;

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  ChartFrame frame_;
  NumberCounts counts_{};
  NumberMarks marks_{};
  double expected_ = 0;
};

}  // namespace wheelwatcher
