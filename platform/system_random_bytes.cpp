// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_random_bytes.h"

namespace wheelwatcher {

SystemRandomBytes::SystemRandomBytes() {
  std::random_device entropy;
  std::seed_seq seed{entropy(), entropy(), entropy(), entropy(),
                     entropy(), entropy(), entropy(), entropy()};
  engine_.seed(seed);
}

std::uint8_t SystemRandomBytes::NextByte() { return static_cast<std::uint8_t>(byte_(engine_)); }

}  // namespace wheelwatcher
