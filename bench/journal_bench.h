// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "bench/budget_table.h"

namespace wheelwatcher {

// The session journal's budgets: a journalled session of 10,000 and of 100,000 spins brought back,
// from reading its journal to the first paint of the resumed table; and, for the record, what one
// flush of the journal to the disk costs (the worker's work, never the click's).
void RegisterJournalBenchmarks();
std::vector<Budget> JournalBudgets();

}  // namespace wheelwatcher
