// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/program_runs.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

extern char** environ;

namespace wheelwatcher {

namespace {

std::vector<std::string> Environment(const std::map<std::string, std::string>& overrides) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text(*variable);
    if (overrides.count(text.substr(0, text.find('='))) == 0) environment.push_back(text);
  }
  for (const auto& [name, value] : overrides) environment.push_back(name + "=" + value);
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts `arguments` with standard error discarded and standard output on `outputFd` (or
// discarded when -1); the pid, or -1.
pid_t Spawn(std::vector<std::string> arguments, const std::map<std::string, std::string>& overrides,
            int outputFd, int closeInChild) {
  std::vector<std::string> environment = Environment(overrides);
  std::vector<char*> envp = Pointers(environment);
  std::vector<char*> argv = Pointers(arguments);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outputFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  if (closeInChild >= 0) posix_spawn_file_actions_addclose(&actions, closeInChild);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

}  // namespace

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

ProgramRun::ProgramRun(const std::string& program,
                       const std::map<std::string, std::string>& overrides) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return;
  startedAt_ = MonotonicNanoseconds();
  pid_ = Spawn({program}, overrides, pipeEnds[1], pipeEnds[0]);
  close(pipeEnds[1]);
  output_ = pipeEnds[0];
}

ProgramRun::~ProgramRun() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    Wait();
  }
  if (output_ >= 0) close(output_);
}

void ProgramRun::Wait() {
  if (pid_ <= 0) return;
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

std::optional<std::string> ProgramRun::ReadLine(int timeoutMs) {
  const long long deadline = MonotonicNanoseconds() + timeoutMs * 1000000LL;
  for (;;) {
    const std::size_t end = buffered_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      return line;
    }
    const long long left = (deadline - MonotonicNanoseconds()) / 1000000;
    if (output_ < 0 || left <= 0) return std::nullopt;
    pollfd descriptor{output_, POLLIN, 0};
    if (poll(&descriptor, 1, static_cast<int>(left)) <= 0) continue;
    char bytes[512];
    const ssize_t count = read(output_, bytes, sizeof bytes);
    if (count <= 0) return std::nullopt;
    buffered_.append(bytes, static_cast<std::size_t>(count));
  }
}

bool RunCommand(const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& overrides) {
  const pid_t pid = Spawn(arguments, overrides, -1, -1);
  if (pid <= 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A display number whose lock file and socket are both absent is free; the server is ready once
// its socket accepts a connection.
VirtualDisplay::VirtualDisplay() {
  for (int number = 90; number < 200 && name_.empty(); ++number) {
    const std::string socketPath = "/tmp/.X11-unix/X" + std::to_string(number);
    if (access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0 ||
        access(socketPath.c_str(), F_OK) == 0) {
      continue;
    }
    pid_ = Spawn({"Xvfb", ":" + std::to_string(number), "-screen", "0", "1024x768x24", "-noreset",
                  "-nolisten", "tcp"},
                 {}, -1, -1);
    if (pid_ <= 0) return;
    for (int attempt = 0; attempt < 100 && name_.empty(); ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
      if (connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        name_ = ":" + std::to_string(number);
      }
      close(probe);
    }
    if (name_.empty()) {  // another server took the number first, or this one did not start
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }
}

VirtualDisplay::~VirtualDisplay() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

std::optional<FirstPaint> ReadFirstPaint(ProgramRun& run) {
  const std::optional<std::string> line = run.ReadLine(10000);
  long long paintedAt = 0;
  long rssKb = 0;
  FirstPaint paint;
  if (!line || std::sscanf(line->c_str(), "first-paint-ns %lld rss-kb %ld window %llu", &paintedAt,
                           &rssKb, &paint.window) != 3) {
    return std::nullopt;
  }
  paint.milliseconds = static_cast<double>(paintedAt - run.startedAt()) / 1e6;
  paint.residentMb = static_cast<double>(rssKb) / 1024;
  return paint;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

const std::string& XvfbDisplay() {
  static VirtualDisplay display;
  return display.name();
}

}  // namespace wheelwatcher
