// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/budget_table.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>

namespace wheelwatcher {

void BudgetReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    auto& counters = counters_[run.benchmark_name()];
    for (const auto& [name, counter] : run.counters) counters[name] = counter.value;
  }
  ConsoleReporter::ReportRuns(runs);
}

double BudgetReporter::Figure(const std::string& benchmark, const std::string& counter) const {
  for (const auto& [name, counters] : counters_) {
    if (name.rfind(benchmark, 0) != 0) continue;
    const auto found = counters.find(counter);
    if (found != counters.end()) return found->second;
  }
  return -1;
}

bool PrintBudgetLines(const BudgetReporter& reporter, const std::vector<Budget>& budgets,
                      std::ostream& out) {
  bool allMet = true;
  out << "\nBudgets: figure measured, budget, ratio (figure / budget)\n";
  for (const Budget& budget : budgets) {
    std::ostringstream figures;
    figures << std::fixed << std::setprecision(3);
    // Every figure is judged; the ratio shown is that of the worst one.
    double worst = budget.atLeast ? std::numeric_limits<double>::infinity() : 0;
    bool met = true;
    for (const std::string& benchmark : budget.benchmarks) {
      const double figure = reporter.Figure(benchmark, budget.counter);
      if (figures.tellp() > 0) figures << " / ";
      if (figure < 0) {
        figures << "missing";
        met = false;
        continue;
      }
      figures << figure;
      worst = budget.atLeast ? std::min(worst, figure) : std::max(worst, figure);
      met = met && (budget.atLeast ? figure >= budget.limit : figure <= budget.limit);
    }
    figures << ' ' << budget.unit;
    allMet = allMet && met;
    const double ratio = std::isfinite(worst) ? worst / budget.limit : 0.0;
    out << std::left << std::setw(58) << budget.what << std::right << std::setw(30) << figures.str()
        << (budget.atLeast ? "   at least " : "   budget   ") << std::setw(7) << budget.limit << ' '
        << std::left << std::setw(4) << budget.unit << std::right << "  ratio " << std::fixed
        << std::setprecision(3) << std::setw(6) << ratio
        << (met              ? "  OK"
            : budget.atLeast ? "  UNDER"
                             : "  OVER")
        << '\n';
    out.unsetf(std::ios::fixed);
    out << std::setprecision(6);
  }
  return allMet;
}

}  // namespace wheelwatcher
