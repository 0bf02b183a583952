// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/bet_code.h"
#include "engine/money.h"
#include "stats/run_chance.h"

namespace wheelwatcher {

struct TableState;

inline constexpr int kWheelNumbers = 37;
// Every bet on the wheel returns 36/37 of its stake on average: it loses 1/37, 2.70 %.
inline constexpr double kHouseEdge = 1.0 / kWheelNumbers;
inline constexpr int kChiSquareDegreesOfFreedom = kWheelNumbers - 1;
// The chi-square test needs every number expected at least five times: 185 spins.
inline constexpr std::int64_t kSpinsForChiSquare = 5 * kWheelNumbers;

// The three kinds of run the window follows; a spin outside the group's categories (zero) ends
// any run.
enum class RunGroup { kColour, kDozen, kColumn };
inline constexpr int kRunGroupCount = 3;

struct LongestRun {
  int length = 0;
  Category category = Category::kReds;  // the category of the (first) longest run
};

// What a session of advised bets says: its cost against its expectation, the counts of the
// numbers against a fair wheel, the runs. Follows the table incrementally: every spin adds (and
// every REWIND takes back) a fixed amount of work, whatever the length of the session.
class SessionStatistics {
 public:
  SessionStatistics();

  // Brings the figures up to the table: spins it no longer holds (REWIND, CLEAR ALL) are taken
  // back, spins it holds beyond ours are added.
  void Sync(const TableState& table);

  std::int64_t Spins() const { return static_cast<std::int64_t>(spins_.size()); }
  Money TotalStaked() const { return spins_.empty() ? 0 : spins_.back().totalStaked; }
  // What the spins so far staked, for the expected-loss line of the chart.
  Money TotalStakedAfter(std::int64_t spins) const;
  Money Result() const { return spins_.empty() ? 0 : spins_.back().bankAfter; }
  double ExpectedLoss() const { return static_cast<double>(TotalStaked()) * kHouseEdge; }
  // Of the result, from the bets actually made (their sizes and their payouts).
  double StandardDeviation() const;
  // How far the result lies from the expected loss, in standard deviations (0 without a bet).
  double DeviationFromExpected() const;
  Money LargestStake() const { return spins_.empty() ? 0 : spins_.back().largestStake; }

  std::int64_t NumberCount(int number) const {
    return numberCounts_[static_cast<std::size_t>(number)];
  }
  double ExpectedNumberCount() const { return static_cast<double>(Spins()) / kWheelNumbers; }
  // A number's count in standard deviations of its binomial count from the expected.
  double NumberDeviation(int number) const;
  std::int64_t CategoryCount(Category category) const;
  double ChiSquare() const;
  double ChiSquarePValue() const;

  LongestRun Longest(RunGroup group) const;
  // The chance of a run at least as long as the longest so far in this many spins of a fair wheel.
  double ChanceOfLongest(RunGroup group);

 private:
  // The running figures after each spin; the stack makes REWIND exact and cheap.
  struct AfterSpin {
    std::int32_t number;
    Money bankAfter;
    Money totalStaked;
    Money largestStake;
    double variance;
    std::array<std::int32_t, kRunGroupCount> currentRun;
    std::array<LongestRun, kRunGroupCount> longest;
  };

  void AddSpin(const TableState& table, std::size_t index);
  void RemoveLastSpin();
  double UnitVariance(BetCode code);

  std::vector<AfterSpin> spins_;
  std::array<std::int64_t, kWheelNumbers> numberCounts_{};
  std::int64_t sumOfSquaredCounts_ = 0;
  std::array<RunChance, kRunGroupCount> runChances_;
  // PayoutUnitVariance by bet code, filled as codes come up (NaN: not yet): opening the window
  // on a long session adds every spin at once.
  std::vector<double> unitVariances_;
};

// The variance of a bet code's payout units over the 37 equally likely numbers.
double PayoutUnitVariance(BetCode code);

}  // namespace wheelwatcher
