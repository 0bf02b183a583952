// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace wheelwatcher {

// Where the betting systems take their random draws from: one byte, 0 to 255, per call.
class RandomBytes {
 public:
  virtual ~RandomBytes() = default;
  virtual std::uint8_t NextByte() = 0;
};

}  // namespace wheelwatcher
