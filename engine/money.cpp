// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/money.h"

#include <cmath>
#include <limits>

namespace wheelwatcher {

namespace {
constexpr Money kMax = std::numeric_limits<Money>::max();
constexpr Money kMin = std::numeric_limits<Money>::min();
}  // namespace

Money SaturatingAdd(Money a, Money b) {
  Money result;
  if (__builtin_add_overflow(a, b, &result)) return b > 0 ? kMax : kMin;
  return result;
}

Money SaturatingSubtract(Money a, Money b) {
  Money result;
  if (__builtin_sub_overflow(a, b, &result)) return b < 0 ? kMax : kMin;
  return result;
}

Money SaturatingMultiply(Money a, Money b) {
  Money result;
  if (__builtin_mul_overflow(a, b, &result)) return (a < 0) != (b < 0) ? kMin : kMax;
  return result;
}

Money SaturatingFromDouble(double value) {
  // 2^63 is exactly representable; every double below it and at or above -2^63 fits.
  constexpr double kTwoPow63 = 9223372036854775808.0;
  if (std::isnan(value) || value >= kTwoPow63) return kMax;
  if (value < -kTwoPow63) return kMin;
  return static_cast<Money>(value);
}

}  // namespace wheelwatcher
