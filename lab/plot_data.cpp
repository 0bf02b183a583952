// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/plot_data.h"

#include "lab/lab_report.h"

PlotData SimulationPlot(const SimulationResult& result) {
  const SimulationSettings& s = result.settings;
  PlotData plot;
  plot.title = "BANK over " + GroupedInteger(s.spinsPerSession) + " spins, " +
               GroupedInteger(s.sessions) + " sessions per system";
  const std::int64_t drawn = result.systems.empty() ? 0 : result.systems[0].curve.sampleCount;
  plot.subtitle =
      "median and 5–95 % band" +
      (drawn < s.sessions ? " of the first " + GroupedInteger(drawn) + " sessions" : "") +
      "   base stake " + std::to_string(s.baseStake) + ", bankroll " + GroupedInteger(s.bankroll) +
      (s.stopWin ? ", stop-win " + GroupedInteger(*s.stopWin) : "") + ", seed " +
      std::to_string(s.seed);
  plot.centreName = "median";
  for (const SystemSimulation& system : result.systems) {
    plot.series.push_back({system.systemNumber, SystemTitle(system.systemNumber), system.curve});
  }
  return plot;
}

PlotData ReplayPlot(const ReplaySettings& settings, const ReplayResult& result) {
  PlotData plot;
  plot.title = "BANK over the " + GroupedInteger(static_cast<long long>(result.spins.size())) +
               " spins of " + result.file;
  plot.subtitle = "mean and 5–95 % band of " + GroupedInteger(settings.runs) +
                  " runs per system   base stake " + std::to_string(settings.baseStake) +
                  ", seed " + std::to_string(settings.seed);
  plot.centreName = "mean";
  for (const SystemReplay& system : result.systems) {
    plot.series.push_back({system.systemNumber, SystemTitle(system.systemNumber),
                           ReplayCurve(system, settings.runs)});
  }
  return plot;
}
