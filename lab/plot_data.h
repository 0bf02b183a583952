// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lab/replay.h"
#include "lab/simulation.h"

namespace wheelwatcher {

// What a plot of BANK over the spins shows, ready to draw: one panel per system.
struct PlotSeries {
  int systemNumber = 1;
  std::string name;
  std::string verdict;  // beside the name in the panel's title: "71.3 % of sessions ruined"
  BankCurve curve;
};

struct PlotData {
  std::string title;
  std::string subtitle;
  std::string centreName;  // what the solid line is: "median" or "mean"
  // Simulations share one BANK axis, so the panels compare at a glance; a replay gives each
  // panel its own, so one system's runaway stakes cannot flatten the others.
  bool sharedAxis = true;
  std::optional<double> ruinLine;  // -bankroll, where a session is ruined
  std::vector<PlotSeries> series;
};

PlotData SimulationPlot(const SimulationResult& result);
PlotData ReplayPlot(const ReplaySettings& settings, const ReplayResult& result);

}  // namespace wheelwatcher
