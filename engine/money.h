// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace wheelwatcher {

// Whole currency units. Wide and saturating, so that a long losing run with a doubling stake
// pins at the limit instead of wrapping from a huge loss to a huge win.
using Money = std::int64_t;

inline constexpr Money kMoneyMax = std::numeric_limits<Money>::max();
inline constexpr Money kMoneyMin = std::numeric_limits<Money>::min();

// Defined here, not out of line: every simulated spin runs them several times.
inline Money SaturatingAdd(Money a, Money b) {
  Money result;
  if (__builtin_add_overflow(a, b, &result)) return b > 0 ? kMoneyMax : kMoneyMin;
  return result;
}

inline Money SaturatingSubtract(Money a, Money b) {
  Money result;
  if (__builtin_sub_overflow(a, b, &result)) return b < 0 ? kMoneyMax : kMoneyMin;
  return result;
}

inline Money SaturatingMultiply(Money a, Money b) {
  Money result;
  if (__builtin_mul_overflow(a, b, &result)) return (a < 0) != (b < 0) ? kMoneyMin : kMoneyMax;
  return result;
}

// Truncates toward zero; values beyond the range (and NaN, as the maximum) are clamped.
inline Money SaturatingFromDouble(double value) {
  // 2^63 is exactly representable; every double below it and at or above -2^63 fits.
  constexpr double kTwoPow63 = 9223372036854775808.0;
  if (std::isnan(value) || value >= kTwoPow63) return kMoneyMax;
  if (value < -kTwoPow63) return kMoneyMin;
  return static_cast<Money>(value);
}

}  // namespace wheelwatcher
