// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace wheelwatcher {

// The spin counts at which a chart of the whole session takes its points: every spin while they
// are few, else every s-th spin for the smallest power of two s that keeps them within
// `maxPoints`, and always the last. The step only ever doubles, so points stay put as the
// session grows, and drawing costs the same at a hundred spins or a hundred thousand.
std::vector<std::int64_t> ChartSampleSpins(std::int64_t spins, std::int64_t maxPoints);

}  // namespace wheelwatcher
