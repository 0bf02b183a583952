// SPDX-License-Identifier: GPL-3.0-or-later
// The chi-square p-value against Boost.Math's gamma_q, an independent implementation accurate to a
// few machine epsilons, used by the tests only. Errors are judged in machine epsilons.
#include <gtest/gtest.h>
#include <boost/math/special_functions/gamma.hpp>

#include <cmath>
#include <limits>

#include "stats/chi_square.h"

namespace wheelwatcher {

namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

double RelativeErrorInEpsilons(double value, double reference) {
  return std::fabs(value - reference) / reference / kEpsilon;
}

// Both expansions end in exp(a ln x - x - ln Γ(a)); an exponent of size E carries an error of
// about E epsilons whatever the method, so the bound grows with it and with nothing else.
TEST(ChiSquareOracle, UpperGammaWithinEightEpsilonsPerUnitOfItsExponent) {
  for (int degreesOfFreedom = 1; degreesOfFreedom <= 200; ++degreesOfFreedom) {
    const double a = degreesOfFreedom / 2.0;
    for (double x = 1e-3; x < 400; x *= 1.07) {
      const double reference = boost::math::gamma_q(a, x);
      if (reference < std::numeric_limits<double>::min()) continue;
      const double exponent = std::fabs(a * std::log(x)) + x + std::fabs(std::lgamma(a));
      ASSERT_LE(RelativeErrorInEpsilons(RegularizedUpperGamma(a, x), reference), 8 * (1 + exponent))
          << "a=" << a << " x=" << x;
    }
  }
}

// The statistics window's test: 36 degrees of freedom, every statistic it can meet until the
// p-value is far below anything it shows.
TEST(ChiSquareOracle, PValueWith36DegreesOfFreedomWithin100Epsilons) {
  for (double statistic = 0.25; statistic <= 120; statistic += 0.25) {
    const double reference = boost::math::gamma_q(18.0, statistic / 2);
    EXPECT_LE(RelativeErrorInEpsilons(ChiSquarePValue(statistic, 36), reference), 100)
        << "statistic " << statistic;
  }
}

}  // namespace

}  // namespace wheelwatcher
