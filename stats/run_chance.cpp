// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/run_chance.h"

#include <bit>
#include <cmath>

namespace wheelwatcher {

namespace {
// Runs so long that even the union bound (a run could start at every spin) says less than this
// are not worth a matrix of their length: the bound is returned instead, and the window shows
// either as "under one in a million".
constexpr double kNegligible = 1e-12;
}  // namespace

RunChance::RunChance(int categories, double categoryProbability)
    : categories_(categories), categoryProbability_(categoryProbability) {}

void RunChance::PrepareFor(int runLength) {
  if (runLength == runLength_) return;
  runLength_ = runLength;
  states_ = runLength + 1;
  const double p = categoryProbability_;
  const double none = 1.0 - categories_ * p;
  Matrix step(static_cast<std::size_t>(states_ * states_), 0.0);
  auto at = [this, &step](int from, int to) -> double& {
    return step[static_cast<std::size_t>(from * states_ + to)];
  };
  // From "no run" (the start, or after zero) any category starts a run of one.
  at(0, 0) += none;
  at(0, 1) += categories_ * p;
  for (int length = 1; length < runLength; ++length) {
    at(length, length + 1) += p;             // the same category again
    at(length, 1) += (categories_ - 1) * p;  // another category starts a new run
    at(length, 0) += none;
  }
  at(runLength, runLength) = 1.0;  // once reached, always reached
  powers_.assign(1, std::move(step));
}

RunChance::Matrix RunChance::Square(const Matrix& matrix) const {
  Matrix result(matrix.size(), 0.0);
  for (int i = 0; i < states_; ++i) {
    for (int k = 0; k < states_; ++k) {
      const double left = matrix[static_cast<std::size_t>(i * states_ + k)];
      if (left == 0.0) continue;
      for (int j = 0; j < states_; ++j) {
        result[static_cast<std::size_t>(i * states_ + j)] +=
            left * matrix[static_cast<std::size_t>(k * states_ + j)];
      }
    }
  }
  return result;
}

double RunChance::AtLeast(int runLength, std::int64_t spins) {
  if (runLength <= 0) return 1.0;
  if (spins < runLength) return 0.0;
  const double unionBound =
      static_cast<double>(spins) * categories_ * std::pow(categoryProbability_, runLength);
  if (unionBound < kNegligible) return unionBound;

  PrepareFor(runLength);
  // The distribution over states after `spins` steps from "no run", one squared power per bit.
  std::vector<double> distribution(static_cast<std::size_t>(states_), 0.0);
  distribution[0] = 1.0;
  std::vector<double> next(distribution.size());
  const auto remaining = static_cast<std::uint64_t>(spins);
  const int bits = std::bit_width(remaining);
  for (int bit = 0; bit < bits; ++bit) {
    if (bit == static_cast<int>(powers_.size())) powers_.push_back(Square(powers_.back()));
    if (((remaining >> bit) & 1U) == 0) continue;
    const Matrix& power = powers_[static_cast<std::size_t>(bit)];
    std::fill(next.begin(), next.end(), 0.0);
    for (int i = 0; i < states_; ++i) {
      const double mass = distribution[static_cast<std::size_t>(i)];
      if (mass == 0.0) continue;
      for (int j = 0; j < states_; ++j) {
        next[static_cast<std::size_t>(j)] +=
            mass * power[static_cast<std::size_t>(i * states_ + j)];
      }
    }
    distribution.swap(next);
  }
  return distribution.back();
}

}  // namespace wheelwatcher
