// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "lab/replay.h"
#include "lab/simulation.h"

// What a plot of BANK over the spins shows, ready to draw.
struct PlotSeries {
  int systemNumber = 1;
  std::string name;
  BankCurve curve;
};

struct PlotData {
  std::string title;
  std::string subtitle;
  std::string centreName;  // what the line is: "median" or "mean"
  std::vector<PlotSeries> series;
};

PlotData SimulationPlot(const SimulationResult& result);
PlotData ReplayPlot(const ReplaySettings& settings, const ReplayResult& result);
