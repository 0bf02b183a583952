// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace wheelwatcher {

// Calls work(i) for every i in 0..count-1 on up to `threads` threads (fewer when the system
// gives no more), each index exactly once.
// Which thread takes an index is left to chance, so work(i) must depend on i alone.
void ForEachIndexInParallel(std::int64_t count, int threads,
                            const std::function<void(std::int64_t)>& work);

}  // namespace wheelwatcher
