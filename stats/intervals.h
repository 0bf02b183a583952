// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace wheelwatcher {

// The normal quantile of a two-sided 95 % interval.
inline constexpr double kZ95 = 1.959963984540054;

struct Interval {
  double low = 0;
  double high = 0;
};

// Wilson's score interval for a proportion: stays inside 0..1 and is sound for 0 or all
// successes, where the plain normal interval collapses to a point.
Interval WilsonInterval(std::int64_t successes, std::int64_t trials, double z = kZ95);
// estimate ± z standard errors.
Interval NormalInterval(double estimate, double standardError, double z = kZ95);

}  // namespace wheelwatcher
