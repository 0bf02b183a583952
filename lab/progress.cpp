// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wheelwatcher {

std::string ProgressLine(std::int64_t done, std::int64_t total, double elapsedSeconds) {
  constexpr int kWidth = 30;
  const double share =
      total > 0 ? std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0) : 1;
  const int filled = static_cast<int>(share * kWidth);
  std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kWidth - filled), ' ') + "]";
  char figures[96];
  const double rate = elapsedSeconds > 0 ? static_cast<double>(done) / elapsedSeconds : 0;
  if (rate > 0) {
    const double left = static_cast<double>(total - done) / rate;
    std::snprintf(figures, sizeof figures, " %3d %%   %.1f M spins/s   %.0f s left",
                  static_cast<int>(share * 100), rate / 1e6, std::ceil(left));
  } else {
    std::snprintf(figures, sizeof figures, " %3d %%", static_cast<int>(share * 100));
  }
  return line + figures;
}

}  // namespace wheelwatcher
