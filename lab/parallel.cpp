// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/parallel.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace wheelwatcher {

void ForEachIndexInParallel(std::int64_t count, int threads,
                            const std::function<void(std::int64_t)>& work) {
  std::atomic<std::int64_t> next{0};
  const auto worker = [&] {
    for (std::int64_t i = next++; i < count; i = next++) work(i);
  };
  const int helpers = static_cast<int>(std::min<std::int64_t>(threads, count)) - 1;
  std::vector<std::jthread> pool;
  for (int t = 0; t < helpers; ++t) {
    try {
      pool.emplace_back(worker);
    } catch (const std::system_error&) {
      // The system gives no more threads: the work goes on with those there are.
      break;
    }
  }
  worker();
}

}  // namespace wheelwatcher
