// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace wheelwatcher {

// The chance that a number of independent spins holds a run of at least a given length in one
// category of a group: the colours (2 categories of 18/37), the dozens or the columns (3 of
// 12/37). A spin in none of the group's categories (zero) ends every run.
//
// Computed exactly as a Markov chain over the current run length, raised to the number of spins
// by squaring. The squares are kept for the last length asked, so the next spin costs a few
// vector products, not a pass over the history.
class RunChance {
 public:
  RunChance(int categories, double categoryProbability);

  double AtLeast(int runLength, std::int64_t spins);

 private:
  using Matrix = std::vector<double>;  // row-major, states x states

  void PrepareFor(int runLength);
  Matrix Square(const Matrix& matrix) const;

  int categories_;
  double categoryProbability_;
  int runLength_ = 0;
  int states_ = 0;              // run lengths 0 .. runLength - 1, then "reached" (absorbing)
  std::vector<Matrix> powers_;  // powers_[k] = transition matrix ^ (2^k)
};

}  // namespace wheelwatcher
