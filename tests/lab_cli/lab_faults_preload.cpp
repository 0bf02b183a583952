// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the lab, plays the fault that WHEELWATCHER_LAB_FAULT names: "no-threads" makes
// every new thread fail, as on a system out of threads; "terminate-at-sync" sends the process
// SIGTERM when it syncs a file, as a user's kill while the results are being written. The
// parameters' types stand in for pthread's, whose header would declare the function noexcept.
#include <dlfcn.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace wheelwatcher {

namespace {

bool Playing(const char* fault) {
  const char* chosen = std::getenv("WHEELWATCHER_LAB_FAULT");
  return chosen != nullptr && std::strcmp(chosen, fault) == 0;
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int pthread_create(void* thread, const void* attributes, void* (*start)(void*),
                              void* argument) {
  if (Playing("no-threads")) return EAGAIN;
  using Create = int (*)(void*, const void*, void* (*)(void*), void*);
  return Real<Create>("pthread_create")(thread, attributes, start, argument);
}

extern "C" int fsync(int descriptor) {
  if (Playing("terminate-at-sync")) std::raise(SIGTERM);
  return Real<int (*)(int)>("fsync")(descriptor);
}

}  // namespace wheelwatcher
