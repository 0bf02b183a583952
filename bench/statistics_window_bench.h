// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "bench/budget_table.h"

// The statistics window's budgets: opening it, and its update after a spin, at 100,000 spins.
void RegisterStatisticsWindowBenchmarks();
std::vector<Budget> StatisticsWindowBudgets();
