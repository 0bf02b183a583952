// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "engine/money.h"

namespace wheelwatcher {

struct TableState;

// The STAKE (a chip) of the next spin, then the STAKE the selected system would ask after one,
// two and three losing spins in a row: where its recovery progression is heading.
std::array<Money, 4> StakesIfLosing(const TableState& table);

}  // namespace wheelwatcher
