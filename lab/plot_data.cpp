// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/plot_data.h"

#include <cmath>
#include <cstdio>

#include "lab/lab_report.h"

namespace wheelwatcher {

namespace {

std::string PercentText(double share) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %%", share * 100.0);
  return text;
}

}  // namespace

PlotData SimulationPlot(const SimulationResult& result) {
  const SimulationSettings& s = result.settings;
  PlotData plot;
  plot.title = "BANK over " + GroupedInteger(s.spinsPerSession) + " spins, " +
               GroupedInteger(s.sessions) + " sessions per system";
  const std::int64_t drawn = result.systems.empty() ? 0 : result.systems[0].curve.sampleCount;
  plot.subtitle =
      "median, mean and 5–95 % band" +
      (drawn < s.sessions ? " of the first " + GroupedInteger(drawn) + " sessions" : "") +
      "; share still playing   base stake " + std::to_string(s.baseStake) + ", bankroll " +
      GroupedInteger(s.bankroll) + (s.stopWin ? ", stop-win " + GroupedInteger(*s.stopWin) : "") +
      ", seed " + std::to_string(s.seed);
  plot.centreName = "median";
  plot.sharedAxis = true;
  plot.ruinLine = -static_cast<double>(s.bankroll);
  for (const SystemSimulation& system : result.systems) {
    const double ruined = system.sessions == 0 ? 0.0
                                               : static_cast<double>(system.ruined) /
                                                     static_cast<double>(system.sessions);
    plot.series.push_back({system.systemNumber, SystemTitle(system.systemNumber),
                           PercentText(ruined) + " of sessions ruined", system.curve});
  }
  return plot;
}

PlotData ReplayPlot(const ReplaySettings& settings, const ReplayResult& result) {
  PlotData plot;
  plot.title = "BANK over the " + GroupedInteger(static_cast<long long>(result.spins.size())) +
               " spins of " + result.file;
  plot.subtitle = "mean and 5–95 % band of " + GroupedInteger(settings.runs) +
                  " runs per system, each panel on its own scale   base stake " +
                  std::to_string(settings.baseStake) + ", seed " + std::to_string(settings.seed);
  plot.centreName = "mean";
  plot.sharedAxis = false;
  for (const SystemReplay& system : result.systems) {
    BankCurve curve = ReplayCurve(system, settings.runs);
    const std::string last =
        curve.centre.empty()
            ? ""
            : "mean at the end " + GroupedInteger(std::llround(curve.centre.back()));
    plot.series.push_back(
        {system.systemNumber, SystemTitle(system.systemNumber), last, std::move(curve)});
  }
  return plot;
}

}  // namespace wheelwatcher
