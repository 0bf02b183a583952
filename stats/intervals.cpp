// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/intervals.h"

#include <cmath>

namespace wheelwatcher {

Interval WilsonInterval(std::int64_t successes, std::int64_t trials, double z) {
  if (trials <= 0) return {0, 1};
  const double n = static_cast<double>(trials);
  const double p = static_cast<double>(successes) / n;
  const double z2 = z * z;
  const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
  const double halfWidth = z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
  // At 0 or all successes one end is exactly 0 or 1; rounding must not move it.
  return {successes == 0 ? 0.0 : centre - halfWidth,
          successes == trials ? 1.0 : centre + halfWidth};
}

Interval NormalInterval(double estimate, double standardError, double z) {
  return {estimate - z * standardError, estimate + z * standardError};
}

}  // namespace wheelwatcher
