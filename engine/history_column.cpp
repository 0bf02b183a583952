// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/history_column.h"

#include "engine/bet_code.h"

namespace wheelwatcher {

HistoryColumn HistoryColumnOf(int number) {
  if (number == 0) return HistoryColumn::kZero;
  return IsInCategory(number, Category::kReds) ? HistoryColumn::kRed : HistoryColumn::kBlack;
}

}  // namespace wheelwatcher
