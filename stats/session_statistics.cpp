// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/session_statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "engine/category_tallies.h"
#include "engine/settlement.h"
#include "engine/table_state.h"
#include "stats/chi_square.h"
#include "systems/betting_systems.h"

namespace wheelwatcher {

namespace {

constexpr double kDozenOrColumn = 12.0 / kWheelNumbers;
constexpr double kColour = 18.0 / kWheelNumbers;

constexpr Category kColours[] = {Category::kReds, Category::kBlacks};
constexpr Category kDozens[] = {Category::kFirst, Category::kSecond, Category::kThird};
constexpr Category kColumns[] = {Category::kLeft, Category::kMiddle, Category::kRight};

std::span<const Category> GroupCategories(RunGroup group) {
  switch (group) {
    case RunGroup::kColour:
      return kColours;
    case RunGroup::kDozen:
      return kDozens;
    case RunGroup::kColumn:
      break;
  }
  return kColumns;
}

// The index of the group's category that holds the number, or -1 (zero).
int GroupIndex(RunGroup group, std::int32_t number) {
  const std::span<const Category> categories = GroupCategories(group);
  for (std::size_t i = 0; i < categories.size(); ++i) {
    if (IsInCategory(number, categories[i])) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

double PayoutUnitVariance(BetCode code) {
  double sum = 0;
  double sumOfSquares = 0;
  for (std::int32_t number = 0; number < kWheelNumbers; ++number) {
    const double units = PayoutUnitsOn(code, number);
    sum += units;
    sumOfSquares += units * units;
  }
  const double mean = sum / kWheelNumbers;
  return sumOfSquares / kWheelNumbers - mean * mean;
}

// The largest bet code: Right, Low and no number.
constexpr BetCode kHighestBetCode = 6000 + 600 + kNoNumber;

SessionStatistics::SessionStatistics()
    : runChances_{RunChance(std::size(kColours), kColour),
                  RunChance(std::size(kDozens), kDozenOrColumn),
                  RunChance(std::size(kColumns), kDozenOrColumn)},
      unitVariances_(kHighestBetCode + 1, std::numeric_limits<double>::quiet_NaN()) {}

double SessionStatistics::UnitVariance(BetCode code) {
  if (code < 0 || code > kHighestBetCode) return PayoutUnitVariance(code);
  double& variance = unitVariances_[static_cast<std::size_t>(code)];
  if (std::isnan(variance)) variance = PayoutUnitVariance(code);
  return variance;
}

void SessionStatistics::Sync(const TableState& table) {
  const auto matchesTable = [&table](const AfterSpin& ours, std::size_t index) {
    return index < table.spins.size() && index + 1 < table.bankHistory.size() &&
           ours.number == table.spins[index] && ours.bankAfter == table.bankHistory[index + 1];
  };
  while (!spins_.empty() && !matchesTable(spins_.back(), spins_.size() - 1)) RemoveLastSpin();
  // Opening on a long session adds it all at once; later spins grow the stack as vectors do.
  if (spins_.empty()) spins_.reserve(table.spins.size());
  while (spins_.size() < table.spins.size()) AddSpin(table, spins_.size());
}

void SessionStatistics::AddSpin(const TableState& table, std::size_t index) {
  const std::int32_t number = table.spins[index];
  const BetCode code = table.betCodes[index];
  // STAKE is kept in no history. The system and base stake cannot change within a game, so the
  // table's own rule gives it back from the deficit before the spin, as REWIND does.
  const Money stake =
      StakeForDeficit(table.systemNumber, table.baseStake, table.deficitHistory[index]);
  const int chips = ChipCount(code);
  const AfterSpin before = spins_.empty() ? AfterSpin{} : spins_.back();

  AfterSpin after = before;
  after.number = number;
  after.bankAfter = table.bankHistory[index + 1];
  after.totalStaked = SaturatingAdd(before.totalStaked, SaturatingMultiply(chips, stake));
  if (chips > 0) after.largestStake = std::max(before.largestStake, stake);
  const auto stakeSize = static_cast<double>(stake);
  after.variance = before.variance + stakeSize * stakeSize * UnitVariance(code);
  for (int g = 0; g < kRunGroupCount; ++g) {
    const auto group = static_cast<RunGroup>(g);
    const auto slot = static_cast<std::size_t>(g);
    const int category = GroupIndex(group, number);
    int& run = after.currentRun[slot];
    if (category < 0) {
      run = 0;
    } else {
      const bool continues = !spins_.empty() && GroupIndex(group, before.number) == category;
      run = continues ? run + 1 : 1;
      if (run > before.longest[slot].length) {
        after.longest[slot] = {run, GroupCategories(group)[static_cast<std::size_t>(category)]};
      }
    }
  }
  spins_.push_back(after);

  std::int64_t& count = numberCounts_[static_cast<std::size_t>(number)];
  sumOfSquaredCounts_ += 2 * count + 1;
  ++count;
}

void SessionStatistics::RemoveLastSpin() {
  std::int64_t& count = numberCounts_[static_cast<std::size_t>(spins_.back().number)];
  --count;
  sumOfSquaredCounts_ -= 2 * count + 1;
  spins_.pop_back();
}

Money SessionStatistics::TotalStakedAfter(std::int64_t spins) const {
  if (spins <= 0 || spins_.empty()) return 0;
  const auto index = std::min(static_cast<std::size_t>(spins), spins_.size()) - 1;
  return spins_[index].totalStaked;
}

double SessionStatistics::StandardDeviation() const {
  return spins_.empty() ? 0.0 : std::sqrt(spins_.back().variance);
}

double SessionStatistics::DeviationFromExpected() const {
  const double deviation = StandardDeviation();
  if (deviation == 0.0) return 0.0;
  return (static_cast<double>(Result()) + ExpectedLoss()) / deviation;
}

double SessionStatistics::NumberDeviation(int number) const {
  constexpr double p = 1.0 / kWheelNumbers;
  const double spread = std::sqrt(static_cast<double>(Spins()) * p * (1.0 - p));
  if (spread == 0.0) return 0.0;
  return (static_cast<double>(NumberCount(number)) - ExpectedNumberCount()) / spread;
}

std::int64_t SessionStatistics::CategoryCount(Category category) const {
  std::int64_t count = 0;
  for (int number = 1; number < kWheelNumbers; ++number) {
    if (IsInCategory(number, category)) count += NumberCount(number);
  }
  return count;
}

double SessionStatistics::ChiSquare() const {
  if (spins_.empty()) return 0.0;
  const auto spins = static_cast<double>(Spins());
  // The sum of (count - expected)^2 / expected over the 37 numbers, from the sum of squares.
  return kWheelNumbers * static_cast<double>(sumOfSquaredCounts_) / spins - spins;
}

double SessionStatistics::ChiSquarePValue() const {
  return wheelwatcher::ChiSquarePValue(ChiSquare(), kChiSquareDegreesOfFreedom);
}

LongestRun SessionStatistics::Longest(RunGroup group) const {
  return spins_.empty() ? LongestRun{} : spins_.back().longest[static_cast<std::size_t>(group)];
}

double SessionStatistics::ChanceOfLongest(RunGroup group) {
  return runChances_[static_cast<std::size_t>(group)].AtLeast(Longest(group).length, Spins());
}

}  // namespace wheelwatcher
