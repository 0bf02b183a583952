// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "lab/replay.h"
#include "lab/simulation.h"

namespace wheelwatcher {

// The house edge of a single-zero wheel: every bet returns 36/37 of its stake on average.
inline constexpr double kHouseEdge = 1.0 / 37.0;

// Commas between the thousands of the digits before any decimal point: "-1,234,567.5".
std::string WithThousands(std::string number);
// "-1234567" as "-1,234,567".
std::string GroupedInteger(long long value);
// The system's name without its "SY" prefix, for headings and legends: "KAVRI".
std::string SystemTitle(int systemNumber);

std::string SimulationText(const SimulationResult& result);
std::string SimulationJson(const SimulationResult& result);
// One row per system.
std::string SimulationCsv(const SimulationResult& result);

std::string ReplayText(const ReplaySettings& settings, const std::vector<ReplayResult>& results);
std::string ReplayJson(const ReplaySettings& settings, const std::vector<ReplayResult>& results);
// One row per file, system and spin.
std::string ReplayCsv(const ReplaySettings& settings, const std::vector<ReplayResult>& results);

}  // namespace wheelwatcher
