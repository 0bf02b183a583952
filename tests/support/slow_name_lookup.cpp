// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a test (LD_PRELOAD): the name lookup of one reserved host name takes three seconds
// and finds nothing, as a resolver whose server never answers does; every other lookup goes to the
// C library. The update check's connect time-out must pass and leave such a lookup behind.
#include <dlfcn.h>
#include <netdb.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace wheelwatcher {

namespace {
std::atomic<int> slowLookupsFinished{0};
}

extern "C" {

// How many slow lookups have ended; a test that finds this symbol knows the module is in place.
int wheelwatcher_slow_lookups_finished() { return slowLookupsFinished.load(); }

int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
  if (node != nullptr && std::strcmp(node, "slow-lookup.invalid") == 0) {
    std::this_thread::sleep_for(std::chrono::seconds(3));
    ++slowLookupsFinished;
    return EAI_NONAME;
  }
  using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
  static const auto next = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
  return next(node, service, hints, result);
}

}  // extern "C"

}  // namespace wheelwatcher
