// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

PendingFile::PendingFile(std::string path) : path_(std::move(path)) {}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : path_(std::move(other.path_)), temporaryPath_(std::exchange(other.temporaryPath_, "")) {}

PendingFile::~PendingFile() {
  if (!temporaryPath_.empty()) unlink(temporaryPath_.c_str());
}

std::string PendingFile::Failure() const {
  return "cannot write " + path_ + ": " + std::strerror(errno);
}

bool PendingFile::CheckPlace(std::string& error) const {
  struct stat existing {};
  if (stat(path_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
    error = "cannot write " + path_ + ": it is a folder";
    return false;
  }
  if (access(FolderOf(path_).c_str(), W_OK | X_OK) != 0) {
    error = Failure();
    return false;
  }
  return true;
}

bool PendingFile::Write(const std::string& contents, std::string& error) {
  std::vector<char> pattern(path_.begin(), path_.end());
  const std::string suffix = ".partial-XXXXXX";
  pattern.insert(pattern.end(), suffix.begin(), suffix.end());
  pattern.push_back('\0');
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) {
    error = Failure();
    return false;
  }
  temporaryPath_ = pattern.data();
  // mkstemp makes the file private; a result file gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  std::size_t written = 0;
  while (written < contents.size()) {
    const ssize_t n = write(descriptor, contents.data() + written, contents.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = Failure();
      close(descriptor);
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  if (close(descriptor) != 0) {
    error = Failure();
    return false;
  }
  return true;
}

bool PendingFile::Publish(std::string& error) {
  if (rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    error = Failure();
    return false;
  }
  temporaryPath_.clear();
  return true;
}
