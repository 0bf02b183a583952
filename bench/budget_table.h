// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace wheelwatcher {

// Google Benchmark's console table, and besides it the figure of each run kept by name, so that
// the budget lines can be printed once every benchmark has run.
class BudgetReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  // The counter of the run whose name starts with `benchmark`; negative when it did not run.
  double Figure(const std::string& benchmark, const std::string& counter) const;

 private:
  std::map<std::string, std::map<std::string, double>> counters_;
};

// One budget: where its figure comes from and the limit it must stay within.
struct Budget {
  std::string what;
  std::vector<std::string> benchmarks;  // several figures side by side, each one judged
  std::string counter;
  std::string unit;
  double limit;
  bool atLeast = false;  // a floor to reach (a speed), not a ceiling
};

// One line per budget: the figures, the budget, the ratio of the worst figure to it, and OK, OVER
// or UNDER. False when any figure of any budget misses its budget or is missing.
bool PrintBudgetLines(const BudgetReporter& reporter, const std::vector<Budget>& budgets,
                      std::ostream& out);

}  // namespace wheelwatcher
