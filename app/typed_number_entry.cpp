// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/typed_number_entry.h"

#include "engine/bet_code.h"

namespace wheelwatcher {

TypedNumberEntry::Outcome TypedNumberEntry::Digit(int digit, Clock::time_point now) {
  Outcome outcome;
  outcome.enter = PauseElapsed(now);
  if (!waitingDigit_) {
    waitingDigit_ = digit;
    deadline_ = now + kPause;
    return outcome;
  }
  const int number = *waitingDigit_ * 10 + digit;
  waitingDigit_.reset();
  if (number <= kHighestNumber) {
    outcome.enter = number;
  } else {
    outcome.rejected = number;
  }
  return outcome;
}

std::optional<int> TypedNumberEntry::End() {
  const std::optional<int> number = waitingDigit_;
  waitingDigit_.reset();
  return number;
}

std::optional<int> TypedNumberEntry::PauseElapsed(Clock::time_point now) {
  if (!waitingDigit_ || now < deadline_) return std::nullopt;
  return End();
}

bool TypedNumberEntry::Cancel() {
  const bool hadDigits = waitingDigit_.has_value();
  waitingDigit_.reset();
  return hadDigits;
}

std::optional<TypedNumberEntry::Clock::time_point> TypedNumberEntry::Deadline() const {
  if (!waitingDigit_) return std::nullopt;
  return deadline_;
}

}  // namespace wheelwatcher
