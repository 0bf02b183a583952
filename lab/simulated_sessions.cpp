// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/simulated_sessions.h"

#include <algorithm>

namespace wheelwatcher {

namespace {
// Enough for a few REWINDs in a row without playing the sessions again from the start.
constexpr std::size_t kKeptDistributions = 16;
}  // namespace

double MedianOf(std::vector<Money>& banks) {
  // A selection, not a sort: this runs after every spin of the player.
  const auto middle = banks.begin() + static_cast<std::ptrdiff_t>(banks.size() / 2);
  std::nth_element(banks.begin(), middle, banks.end());
  const auto upper = static_cast<double>(*middle);
  if (banks.size() % 2 == 1) return upper;
  return (static_cast<double>(*std::max_element(banks.begin(), middle)) + upper) / 2.0;
}

std::int64_t SessionDistribution::AtOrAbove(Money bank) const {
  return std::count_if(banks.begin(), banks.end(), [bank](Money b) { return b >= bank; });
}

// One session: its own wheel and its own draws, as the lab plays it.
struct SimulatedSessions::Player {
  Player(int systemNumber, int baseStake, std::uint64_t seed, std::uint64_t index)
      : wheel(StreamSeed(seed, index, kWheelStream)),
        draws(StreamSeed(seed, index, static_cast<std::uint64_t>(systemNumber))),
        session(systemNumber, baseStake, draws) {}
  SessionRandom wheel;
  SessionRandom draws;
  LabSession session;
};

SimulatedSessions::SimulatedSessions(int systemNumber, int baseStake, std::int64_t sessions,
                                     std::uint64_t seed)
    : systemNumber_(systemNumber), baseStake_(baseStake), sessions_(sessions), seed_(seed) {
  Restart();
}

SimulatedSessions::~SimulatedSessions() = default;

void SimulatedSessions::Restart() {
  players_.clear();
  players_.reserve(static_cast<std::size_t>(sessions_));
  for (std::int64_t s = 0; s < sessions_; ++s) {
    players_.push_back(
        std::make_unique<Player>(systemNumber_, baseStake_, seed_, static_cast<std::uint64_t>(s)));
  }
  spinsPlayed_ = 0;
  recent_.clear();
  KeepDistribution();
}

void SimulatedSessions::PlayOneSpin() {
  for (const auto& player : players_) player->session.EnterSpin(player->wheel.NextWheelNumber());
  ++spinsPlayed_;
}

void SimulatedSessions::KeepDistribution() {
  SessionDistribution distribution{systemNumber_, baseStake_, spinsPlayed_, {}, 0};
  std::vector<Money>& banks = distribution.banks;
  banks.reserve(players_.size());
  for (const auto& player : players_) banks.push_back(player->session.Bank());
  if (!banks.empty()) distribution.median = MedianOf(banks);
  recent_.push_back(std::move(distribution));
  if (recent_.size() > kKeptDistributions) recent_.pop_front();
}

const SessionDistribution* SimulatedSessions::After(std::int64_t spins,
                                                    const std::atomic<bool>& interrupted) {
  for (const SessionDistribution& kept : recent_) {
    if (kept.spins == spins) return &kept;
  }
  // Further back than is kept: the sessions are played again from the start, to the same figures.
  if (spins < spinsPlayed_) Restart();
  while (spinsPlayed_ < spins) {
    if (interrupted) return nullptr;
    PlayOneSpin();
    // Only the last few are kept: the ones before cannot be asked for without a REWIND that deep.
    if (spins - spinsPlayed_ < static_cast<std::int64_t>(kKeptDistributions)) KeepDistribution();
  }
  return &recent_.back();
}

}  // namespace wheelwatcher
