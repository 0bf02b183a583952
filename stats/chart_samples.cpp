// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/chart_samples.h"

namespace wheelwatcher {

std::vector<std::int64_t> ChartSampleSpins(std::int64_t spins, std::int64_t maxPoints) {
  std::int64_t step = 1;
  while (spins / step + 1 > maxPoints) step *= 2;
  std::vector<std::int64_t> samples;
  samples.reserve(static_cast<std::size_t>(spins / step + 2));
  for (std::int64_t spin = 0; spin <= spins; spin += step) samples.push_back(spin);
  if (samples.back() != spins) samples.push_back(spins);
  return samples;
}

}  // namespace wheelwatcher
