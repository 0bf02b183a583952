// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/summary.h"

#include <algorithm>
#include <numeric>

namespace wheelwatcher {

double Mean(std::span<const double> values) {
  if (values.empty()) return 0;
  return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double Percentile(std::span<const double> sorted, double p) {
  if (sorted.empty()) return 0;
  const double position = std::clamp(p, 0.0, 1.0) * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(position);
  if (below + 1 >= sorted.size()) return sorted.back();
  const double fraction = position - static_cast<double>(below);
  return sorted[below] + fraction * (sorted[below + 1] - sorted[below]);
}

Summary Summarise(std::vector<double>& values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  return {Mean(values),
          Percentile(values, 0.5),
          Percentile(values, 0.05),
          Percentile(values, 0.95),
          values.front(),
          values.back()};
}

}  // namespace wheelwatcher
