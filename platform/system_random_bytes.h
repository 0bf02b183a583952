// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>

#include "systems/random_bytes.h"

namespace wheelwatcher {

// Random bytes from an engine seeded once from the operating system's entropy source.
class SystemRandomBytes : public RandomBytes {
 public:
  SystemRandomBytes();
  std::uint8_t NextByte() override;

 private:
  std::mt19937 engine_;
  std::uniform_int_distribution<int> byte_{0, 255};
};

}  // namespace wheelwatcher
