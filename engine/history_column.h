#pragma once

// The three History columns: red numbers, zero, black numbers.
enum class HistoryColumn { kRed, kZero, kBlack };

HistoryColumn HistoryColumnOf(int number);
