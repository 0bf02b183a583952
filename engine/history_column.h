// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wheelwatcher {

// The three History columns: red numbers, zero, black numbers.
enum class HistoryColumn { kRed, kZero, kBlack };

HistoryColumn HistoryColumnOf(int number);

}  // namespace wheelwatcher
