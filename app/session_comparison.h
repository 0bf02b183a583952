// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/money.h"

namespace wheelwatcher {

class SimulatedSessions;

// Where the session's BANK lies among simulated sessions of the same system, base stake and
// number of spins.
struct SessionComparison {
  int systemNumber = 1;
  int baseStake = 1;
  std::int64_t spins = 0;
  Money bank = 0;
  std::int64_t sessions = 0;
  std::int64_t atOrAbove = 0;  // sessions that ended with BANK at or above `bank`
  double median = 0;

  bool SameQuestion(const SessionComparison& other) const {
    return systemNumber == other.systemNumber && baseStake == other.baseStake &&
           spins == other.spins && bank == other.bank;
  }
};

// Plays the simulated sessions on a thread of its own, so the table never waits for them, and
// hands each answer back on the thread that owns this object. Only the newest question is
// answered: a question asked while another is worked on takes its place.
class SessionComparer : public QObject {
 public:
  using Answer = std::function<void(const SessionComparison&)>;

  explicit SessionComparer(Answer answer, QObject* parent = nullptr);
  ~SessionComparer() override;

  // `question`'s answer fields are filled in.
  void Ask(const SessionComparison& question);

 private:
  void Work();

  Answer answer_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<SessionComparison> pending_;
  bool stopping_ = false;
  std::atomic<bool> interrupted_ = false;
  std::unique_ptr<SimulatedSessions> sessions_;  // the worker's alone
  std::thread worker_;
};

}  // namespace wheelwatcher
