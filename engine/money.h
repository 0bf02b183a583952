// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace wheelwatcher {

// Whole currency units. Wide and saturating, so that a long losing run with a doubling stake
// pins at the limit instead of wrapping from a huge loss to a huge win.
using Money = std::int64_t;

Money SaturatingAdd(Money a, Money b);
Money SaturatingSubtract(Money a, Money b);
Money SaturatingMultiply(Money a, Money b);
// Truncates toward zero; values beyond the range (and NaN, as the maximum) are clamped.
Money SaturatingFromDouble(double value);

}  // namespace wheelwatcher
