// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wheelwatcher {

// The regularized upper incomplete gamma function Q(a, x) = Γ(a, x) / Γ(a) for a > 0 and x ≥ 0;
// NaN for arguments outside that range.
double RegularizedUpperGamma(double a, double x);

// The chance that a chi-square variable with this many degrees of freedom comes out at least as
// large as `statistic`: the p-value of the test.
double ChiSquarePValue(double statistic, int degreesOfFreedom);

}  // namespace wheelwatcher
