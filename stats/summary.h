// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

namespace wheelwatcher {

// Where a sample lies: its mean, median and outer percentiles.
struct Summary {
  double mean = 0;
  double median = 0;
  double p5 = 0;
  double p95 = 0;
  double min = 0;
  double max = 0;
};

double Mean(std::span<const double> values);
// The p-quantile (p in 0..1) of sorted values, interpolated linearly between neighbours; 0 when
// there are none.
double Percentile(std::span<const double> sorted, double p);
// Sorts the values in place; all zero for an empty sample.
Summary Summarise(std::vector<double>& values);

}  // namespace wheelwatcher
