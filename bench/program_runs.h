// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wheelwatcher {

// Starting the real programs (the Wheelwatcher executable, the bare reference window) with their
// first-paint report, on the offscreen platform or on a virtual X display.

long long MonotonicNanoseconds();

// A program started with its standard output on a pipe; ended (SIGTERM) and reaped on destruction.
class ProgramRun {
 public:
  // `overrides` replace or add environment variables; the rest of this process's environment stays.
  ProgramRun(const std::string& program, const std::map<std::string, std::string>& overrides);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool started() const { return pid_ > 0; }
  long long startedAt() const { return startedAt_; }
  // The next line of its output, waiting at most `timeoutMs`; nothing at the end or on time-out.
  std::optional<std::string> ReadLine(int timeoutMs);
  // Waits for the program to end by itself.
  void Wait();

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  long long startedAt_ = 0;
  std::string buffered_;
};

// Runs a command to its end; true when it exits with 0.
bool RunCommand(const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& overrides = {});

// Xvfb on a free display number for the life of the object.
class VirtualDisplay {
 public:
  VirtualDisplay();
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  // ":N", or empty when Xvfb could not be started.
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// One virtual X display for every benchmark on the real display: ":N", or empty without Xvfb.
const std::string& XvfbDisplay();

// The first-paint report line: "first-paint-ns T rss-kb R window W".
struct FirstPaint {
  double milliseconds = 0;  // from just before the program was started
  double residentMb = 0;
  unsigned long long window = 0;
};
std::optional<FirstPaint> ReadFirstPaint(ProgramRun& run);

double Median(std::vector<double> values);

}  // namespace wheelwatcher
