// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "bench/budget_table.h"

namespace wheelwatcher {

// The statistics window's budgets: opening it and its update after a spin at 100,000 spins, and
// a spin's processor time with it open on the real display at 10,000 spins.
void RegisterStatisticsWindowBenchmarks();
std::vector<Budget> StatisticsWindowBudgets();

// The benchmark program starts itself again with this variable set to a measurement's name, to
// take that measurement in a process of its own on the virtual display.
inline constexpr char kBenchChildVariable[] = "WHEELWATCHER_BENCH_CHILD";
// Takes the measurement named and prints its result line; the process's exit status.
int RunBenchChild(const char* name);

}  // namespace wheelwatcher
