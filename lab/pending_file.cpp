#include "lab/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

PendingFile::PendingFile(std::string path) : path_(std::move(path)) {}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : path_(std::move(other.path_)),
      temporaryPath_(std::exchange(other.temporaryPath_, "")),
      descriptor_(std::exchange(other.descriptor_, -1)) {}

PendingFile::~PendingFile() {
  if (descriptor_ >= 0) close(descriptor_);
  if (!temporaryPath_.empty()) unlink(temporaryPath_.c_str());
}

std::string PendingFile::Failure(const std::string& doing) const {
  return "cannot " + doing + " " + path_ + ": " + std::strerror(errno);
}

bool PendingFile::Open(std::string& error) {
  struct stat existing {};
  if (stat(path_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
    error = "cannot write " + path_ + ": it is a folder";
    return false;
  }
  std::vector<char> pattern(path_.begin(), path_.end());
  const std::string suffix = ".partial-XXXXXX";
  pattern.insert(pattern.end(), suffix.begin(), suffix.end());
  pattern.push_back('\0');
  descriptor_ = mkstemp(pattern.data());
  if (descriptor_ < 0) {
    error = Failure("write");
    return false;
  }
  temporaryPath_ = pattern.data();
  // mkstemp makes the file private; a result file gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor_, 0666 & ~mask);
  return true;
}

bool PendingFile::Write(const std::string& contents, std::string& error) {
  std::size_t written = 0;
  while (written < contents.size()) {
    const ssize_t n = write(descriptor_, contents.data() + written, contents.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = Failure("write");
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  const int closed = close(descriptor_);
  descriptor_ = -1;
  if (closed != 0) {
    error = Failure("write");
    return false;
  }
  return true;
}

bool PendingFile::Publish(std::string& error) {
  if (rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    error = Failure("write");
    return false;
  }
  temporaryPath_.clear();
  return true;
}
