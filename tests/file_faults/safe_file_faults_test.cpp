// SPDX-License-Identifier: GPL-3.0-or-later
// Faults a disk can give after every write has been accepted: a sync or a close that fails (an I/O
// error, a network file system's deferred write error). This executable defines fsync and close
// itself, so the program's code calls these; they fail only while a test arms them.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/safe_file.h"

namespace wheelwatcher {

namespace {
enum class Fault { kNone, kSync, kClose };
Fault armedFault = Fault::kNone;
}  // namespace

extern "C" int fsync(int descriptor) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
  if (armedFault == Fault::kSync) {
    errno = EIO;
    return -1;
  }
  return real(descriptor);
}

extern "C" int close(int descriptor) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "close"));
  const int result = real(descriptor);
  if (armedFault == Fault::kClose && result == 0) {
    errno = EIO;
    return -1;
  }
  return result;
}

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(PublishFileFaults, AFailedSyncOrCloseLeavesTheOldFileAndSaysWhy) {
  const struct {
    const char* name;
    Fault fault;
  } cases[] = {{"sync", Fault::kSync}, {"close", Fault::kClose}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char folderTemplate[] = "/tmp/safe-file-faults-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::filesystem::path folder = folderTemplate;
    const std::filesystem::path target = folder / "spins.txt";
    std::ofstream(target) << "the export the player keeps";

    armedFault = c.fault;
    const std::string error = PublishFile(target.string(), "a new export");
    armedFault = Fault::kNone;

    EXPECT_EQ(error, "Input/output error");
    EXPECT_EQ(ReadWhole(target), "the export the player keeps");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    std::filesystem::remove_all(folder);
  }
}

}  // namespace

}  // namespace wheelwatcher
