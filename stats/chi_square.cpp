// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/chi_square.h"

#include <cmath>
#include <limits>

namespace wheelwatcher {

namespace {

constexpr int kMaxTerms = 1000;
constexpr double kRelativeAccuracy = 1e-15;
constexpr double kTiny = 1e-300;

// x^a e^-x / Γ(a), the factor both expansions share, taken through logarithms so that large
// arguments do not overflow.
double Prefactor(double a, double x) { return std::exp(a * std::log(x) - x - std::lgamma(a)); }

// The lower function P(a, x) by its power series, which converges quickly for x < a + 1.
double LowerBySeries(double a, double x) {
  double term = 1.0 / a;
  double sum = term;
  for (int n = 1; n < kMaxTerms; ++n) {
    term *= x / (a + n);
    sum += term;
    if (std::fabs(term) < std::fabs(sum) * kRelativeAccuracy) break;
  }
  return sum * Prefactor(a, x);
}

// Q(a, x) by its continued fraction (modified Lentz), which converges quickly for x >= a + 1
// and keeps its relative accuracy where Q is tiny.
double UpperByContinuedFraction(double a, double x) {
  double b = x + 1.0 - a;
  double c = 1.0 / kTiny;
  double d = 1.0 / b;
  double fraction = d;
  for (int i = 1; i < kMaxTerms; ++i) {
    const double numerator = -i * (i - a);
    b += 2.0;
    d = numerator * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + numerator / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const double step = d * c;
    fraction *= step;
    if (std::fabs(step - 1.0) < kRelativeAccuracy) break;
  }
  return fraction * Prefactor(a, x);
}

}  // namespace

double RegularizedUpperGamma(double a, double x) {
  if (!(a > 0.0) || !(x >= 0.0)) return std::numeric_limits<double>::quiet_NaN();
  if (x == 0.0) return 1.0;
  if (std::isinf(x)) return 0.0;
  // Below a + 1, Q is not small, so 1 - P loses nothing that matters.
  return x < a + 1.0 ? 1.0 - LowerBySeries(a, x) : UpperByContinuedFraction(a, x);
}

double ChiSquarePValue(double statistic, int degreesOfFreedom) {
  return RegularizedUpperGamma(degreesOfFreedom / 2.0, statistic / 2.0);
}

}  // namespace wheelwatcher
