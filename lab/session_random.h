// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "systems/random_bytes.h"

namespace wheelwatcher {

// A fast generator (xoshiro256**) owned by one session, so that a session's draws depend only on
// its seed and never on which thread runs it or what ran before.
class SessionRandom final : public RandomBytes {
 public:
  explicit SessionRandom(std::uint64_t seed);

  std::uint64_t NextWord();
  // Eight bytes per word, lowest first.
  std::uint8_t NextByte() override;
  // A number of a fair single-zero wheel, 0..36, each exactly equally likely.
  int NextWheelNumber();

 private:
  std::uint64_t state_[4];
  std::uint64_t bytes_ = 0;
  int bytesLeft_ = 0;
};

// The seed of one stream of one session, mixed from the run's seed so that neighbouring sessions
// share nothing. Stream 0 is the wheel, stream s the draws of system s: every system meets the
// same wheel in the same session.
inline constexpr std::uint64_t kWheelStream = 0;
std::uint64_t StreamSeed(std::uint64_t runSeed, std::uint64_t sessionIndex, std::uint64_t stream);

}  // namespace wheelwatcher
