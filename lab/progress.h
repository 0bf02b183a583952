// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace wheelwatcher {

// One line of the progress bar: "[#########           ]  45 %   12.3 M spins/s   9 s left".
std::string ProgressLine(std::int64_t done, std::int64_t total, double elapsedSeconds);

}  // namespace wheelwatcher
