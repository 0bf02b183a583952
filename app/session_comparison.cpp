// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session_comparison.h"

#include "lab/simulated_sessions.h"

namespace wheelwatcher {

SessionComparer::SessionComparer(Answer answer, QObject* parent)
    : QObject(parent), answer_(std::move(answer)), worker_([this] { Work(); }) {}

SessionComparer::~SessionComparer() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  interrupted_ = true;
  wake_.notify_one();
  worker_.join();
}

void SessionComparer::Ask(const SessionComparison& question) {
  {
    const std::lock_guard lock(mutex_);
    pending_ = question;
  }
  interrupted_ = true;
  wake_.notify_one();
}

void SessionComparer::Work() {
  for (;;) {
    SessionComparison question;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
      if (stopping_) return;
      question = *pending_;
      pending_.reset();
      interrupted_ = false;
    }
    if (!sessions_ || sessions_->SystemNumber() != question.systemNumber ||
        sessions_->BaseStake() != question.baseStake) {
      sessions_ = std::make_unique<SimulatedSessions>(question.systemNumber, question.baseStake,
                                                      kComparedSessions, kComparedSessionsSeed);
    }
    const SessionDistribution* distribution = sessions_->After(question.spins, interrupted_);
    if (distribution == nullptr) continue;  // a newer question is waiting
    question.sessions = distribution->Sessions();
    question.atOrAbove = distribution->AtOrAbove(question.bank);
    question.median = distribution->median;
    // Answered on this object's thread; an answer still queued when it is gone is dropped.
    QMetaObject::invokeMethod(
        this, [this, question] { answer_(question); }, Qt::QueuedConnection);
  }
}

}  // namespace wheelwatcher
