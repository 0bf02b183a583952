// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a program, makes every new thread fail as on a system out of threads. The
// parameters' types stand in for pthread's, whose header would declare the function noexcept.
#include <cerrno>

extern "C" int pthread_create(void*, const void*, void* (*)(void*), void*) { return EAGAIN; }
