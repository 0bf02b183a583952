// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/replay.h"

#include <algorithm>
#include <memory>

#include "lab/lab_session.h"
#include "lab/parallel.h"
#include "lab/session_random.h"

namespace wheelwatcher {

namespace {

// The bytes a journal recorded, in the order they were drawn.
class RecordedBytes final : public RandomBytes {
 public:
  explicit RecordedBytes(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  std::uint8_t NextByte() override { return next_ < bytes_.size() ? bytes_[next_++] : 0; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t next_ = 0;
};

// Every run of one system, spin by spin side by side, so only one spin's BANKs are held at once.
SystemReplay ReplaySystem(const ReplaySettings& settings, int systemNumber,
                          const std::vector<std::int32_t>& spins,
                          const std::optional<RecordedPlay>& recorded,
                          std::atomic<std::int64_t>* spinsDone) {
  const auto runs = static_cast<std::size_t>(settings.runs);
  const bool asRecorded = recorded && recorded->systemNumber == systemNumber &&
                          recorded->baseStake == settings.baseStake;
  std::vector<std::unique_ptr<RandomBytes>> draws;
  std::vector<LabSession> sessions;
  draws.reserve(runs);
  sessions.reserve(runs);
  SystemReplay result;
  result.systemNumber = systemNumber;
  for (std::size_t run = 0; run < runs; ++run) {
    if (asRecorded) {
      draws.push_back(std::make_unique<RecordedBytes>(recorded->draws));
    } else {
      draws.push_back(std::make_unique<SessionRandom>(
          StreamSeed(settings.seed, run, static_cast<std::uint64_t>(systemNumber))));
    }
    sessions.emplace_back(systemNumber, settings.baseStake, *draws.back());
    result.largestStake = std::max(result.largestStake, sessions.back().Stake());
  }
  std::vector<double> banks(runs);
  for (const std::int32_t number : spins) {
    ReplayStep step;
    for (std::size_t run = 0; run < runs; ++run) {
      LabSession& session = sessions[run];
      session.EnterSpin(number);
      result.tally.AddBet(session.LastStaked(), session.LastWon());
      banks[run] = static_cast<double>(session.Bank());
      step.worstBank = std::min(step.worstBank, session.Bank());
      step.largestDeficit = std::max(step.largestDeficit, session.Deficit());
      step.largestStake = std::max(step.largestStake, session.Stake());
    }
    const Summary band = Summarise(banks);
    step.meanBank = band.mean;
    step.p5Bank = band.p5;
    step.p95Bank = band.p95;
    result.worstBank = std::min(result.worstBank, step.worstBank);
    result.largestDeficit = std::max(result.largestDeficit, step.largestDeficit);
    result.largestStake = std::max(result.largestStake, step.largestStake);
    result.afterSpin.push_back(step);
    if (spinsDone != nullptr) *spinsDone += static_cast<std::int64_t>(runs);
  }
  std::vector<double> finalBanks;
  for (const LabSession& session : sessions) {
    finalBanks.push_back(static_cast<double>(session.Bank()));
  }
  result.finalBank = Summarise(finalBanks);
  return result;
}

}  // namespace

ReplayResult RunReplay(const ReplaySettings& settings, std::string file,
                       std::vector<std::int32_t> spins, const std::optional<RecordedPlay>& recorded,
                       std::atomic<std::int64_t>* spinsDone) {
  ReplayResult result{std::move(file), std::move(spins), {}};
  result.systems.resize(settings.systems.size());
  ForEachIndexInParallel(
      static_cast<std::int64_t>(settings.systems.size()), settings.threads, [&](std::int64_t i) {
        const auto index = static_cast<std::size_t>(i);
        result.systems[index] =
            ReplaySystem(settings, settings.systems[index], result.spins, recorded, spinsDone);
      });
  return result;
}

BankCurve ReplayCurve(const SystemReplay& replay, int runs) {
  BankCurve curve;
  curve.sampleCount = runs;
  curve.spins.push_back(0);
  curve.centre.push_back(0);
  curve.p5.push_back(0);
  curve.p95.push_back(0);
  for (std::size_t spin = 0; spin < replay.afterSpin.size(); ++spin) {
    const ReplayStep& step = replay.afterSpin[spin];
    curve.spins.push_back(static_cast<std::int64_t>(spin) + 1);
    curve.centre.push_back(step.meanBank);
    curve.p5.push_back(step.p5Bank);
    curve.p95.push_back(step.p95Bank);
  }
  return curve;
}

}  // namespace wheelwatcher
