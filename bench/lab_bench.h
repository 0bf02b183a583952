// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "bench/budget_table.h"

namespace wheelwatcher {

// The lab's speed: simulated spins per second of system 4 on one and on two threads, and the
// large simulation of every system.
void RegisterLabBenchmarks();
std::vector<Budget> LabBudgets();

}  // namespace wheelwatcher
