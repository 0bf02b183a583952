// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/simulation.h"

#include <algorithm>

#include "lab/lab_session.h"
#include "lab/parallel.h"
#include "lab/session_random.h"

namespace wheelwatcher {

namespace {

struct SessionOutcome {
  Money finalBank = 0;
  Money worstBank = 0;
  Money largestStake = 0;
  std::int64_t spins = 0;
  bool ruined = false;
  bool reachedStopWin = false;
  StakeTally tally;
};

// One session; BANK at the curve's spins goes to `curve` when it is given.
SessionOutcome PlaySession(const SimulationSettings& settings, int systemNumber,
                           std::int64_t sessionIndex, std::span<const std::int64_t> curveSpins,
                           float* curve) {
  SessionRandom wheel(
      StreamSeed(settings.seed, static_cast<std::uint64_t>(sessionIndex), kWheelStream));
  SessionRandom systemDraws(StreamSeed(settings.seed, static_cast<std::uint64_t>(sessionIndex),
                                       static_cast<std::uint64_t>(systemNumber)));
  LabSession session(systemNumber, settings.baseStake, systemDraws);
  SessionOutcome outcome;
  outcome.largestStake = session.Stake();
  std::size_t nextPoint = 0;
  const auto recordPoint = [&](std::int64_t spin) {
    while (curve != nullptr && nextPoint < curveSpins.size() && curveSpins[nextPoint] <= spin) {
      curve[nextPoint++] = static_cast<float>(session.Bank());
    }
  };
  recordPoint(0);
  const Money floor = -settings.bankroll;
  for (std::int64_t spin = 1; spin <= settings.spinsPerSession; ++spin) {
    // A player cannot place what the bankroll no longer covers.
    if (SaturatingSubtract(session.Bank(), session.AdviceCost()) < floor) {
      outcome.ruined = true;
      break;
    }
    session.EnterSpin(wheel.NextWheelNumber());
    outcome.spins = spin;
    outcome.tally.AddBet(session.LastStaked(), session.LastWon());
    outcome.worstBank = std::min(outcome.worstBank, session.Bank());
    outcome.largestStake = std::max(outcome.largestStake, session.Stake());
    recordPoint(spin);
    if (settings.stopWin && session.Bank() >= *settings.stopWin) {
      outcome.reachedStopWin = true;
      break;
    }
  }
  // A session that stopped keeps its BANK to the end of the curve.
  recordPoint(settings.spinsPerSession);
  outcome.finalBank = session.Bank();
  return outcome;
}

// The median and band of every curve point over the sessions that recorded one.
BankCurve BandOverSessions(std::vector<std::int64_t> spins, const std::vector<float>& points,
                           std::int64_t sessions) {
  BankCurve curve;
  curve.sampleCount = sessions;
  std::vector<double> column(static_cast<std::size_t>(sessions));
  for (std::size_t point = 0; point < spins.size(); ++point) {
    for (std::int64_t s = 0; s < sessions; ++s) {
      column[static_cast<std::size_t>(s)] =
          points[static_cast<std::size_t>(s) * spins.size() + point];
    }
    const Summary summary = Summarise(column);
    curve.centre.push_back(summary.median);
    curve.mean.push_back(summary.mean);
    curve.p5.push_back(summary.p5);
    curve.p95.push_back(summary.p95);
  }
  curve.spins = std::move(spins);
  return curve;
}

SystemSimulation SummariseSystem(int systemNumber, const std::vector<SessionOutcome>& outcomes) {
  SystemSimulation result;
  result.systemNumber = systemNumber;
  result.sessions = static_cast<std::int64_t>(outcomes.size());
  std::vector<double> finalBanks;
  finalBanks.reserve(outcomes.size());
  // In session order, so that the sums come out the same whatever ran them.
  for (const SessionOutcome& outcome : outcomes) {
    result.ruined += outcome.ruined ? 1 : 0;
    result.reachedStopWin += outcome.reachedStopWin ? 1 : 0;
    result.spinsPlayed += outcome.spins;
    result.worstBank = std::min(result.worstBank, outcome.worstBank);
    result.largestStake = std::max(result.largestStake, outcome.largestStake);
    result.tally.Add(outcome.tally);
    finalBanks.push_back(static_cast<double>(outcome.finalBank));
  }
  result.riskOfRuin = WilsonInterval(result.ruined, result.sessions);
  result.finalBank = Summarise(finalBanks);
  result.realisedLoss =
      NormalInterval(result.tally.LossShare(), result.tally.LossShareStandardError());
  return result;
}

}  // namespace

std::vector<std::int64_t> CurveSpins(std::int64_t spins) {
  const std::int64_t points = std::min(spins, kCurvePoints);
  std::vector<std::int64_t> result = {0};
  for (std::int64_t p = 1; p <= points; ++p) result.push_back(p * spins / points);
  return result;
}

SimulationResult RunSimulation(const SimulationSettings& settings,
                               std::atomic<std::int64_t>* spinsDone) {
  const std::size_t systemCount = settings.systems.size();
  const auto sessions = static_cast<std::size_t>(settings.sessions);
  std::vector<std::vector<SessionOutcome>> outcomes(systemCount,
                                                    std::vector<SessionOutcome>(sessions));
  const std::vector<std::int64_t> curveSpins =
      settings.bankCurves ? CurveSpins(settings.spinsPerSession) : std::vector<std::int64_t>{};
  const std::int64_t curveSessions = std::min(settings.sessions, kCurveSessions);
  std::vector<std::vector<float>> curves(
      systemCount, std::vector<float>(static_cast<std::size_t>(curveSessions) * curveSpins.size()));

  // Blocks of sessions, few enough to keep the threads' bookkeeping out of the way.
  constexpr std::int64_t kBlock = 64;
  const std::int64_t blocksPerSystem = (settings.sessions + kBlock - 1) / kBlock;
  ForEachIndexInParallel(
      blocksPerSystem * static_cast<std::int64_t>(systemCount), settings.threads,
      [&](std::int64_t block) {
        const auto system = static_cast<std::size_t>(block / blocksPerSystem);
        const std::int64_t first = block % blocksPerSystem * kBlock;
        const std::int64_t last = std::min(first + kBlock, settings.sessions);
        for (std::int64_t s = first; s < last; ++s) {
          float* curve =
              s < curveSessions && !curveSpins.empty()
                  ? curves[system].data() + static_cast<std::size_t>(s) * curveSpins.size()
                  : nullptr;
          outcomes[system][static_cast<std::size_t>(s)] =
              PlaySession(settings, settings.systems[system], s, curveSpins, curve);
        }
        if (spinsDone != nullptr) *spinsDone += (last - first) * settings.spinsPerSession;
      });

  SimulationResult result{settings, {}};
  for (std::size_t system = 0; system < systemCount; ++system) {
    result.systems.push_back(SummariseSystem(settings.systems[system], outcomes[system]));
    if (!curveSpins.empty()) {
      BankCurve& curve = result.systems.back().curve;
      curve = BandOverSessions(curveSpins, curves[system], curveSessions);
      for (const std::int64_t spin : curve.spins) {
        // A ruined session played its last spin and could not place the next.
        const auto playing = std::count_if(outcomes[system].begin(), outcomes[system].end(),
                                           [spin](const SessionOutcome& outcome) {
                                             return !outcome.ruined || outcome.spins >= spin;
                                           });
        curve.playing.push_back(static_cast<double>(playing) /
                                static_cast<double>(settings.sessions));
      }
    }
  }
  return result;
}

}  // namespace wheelwatcher
