// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_files.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace wheelwatcher {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string Reason() { return std::strerror(errno); }

// The unpublished result files, where a signal handler can find them: fixed storage, as a
// handler may not allocate.
struct TemporarySlot {
  std::atomic<bool> inUse{false};
  char path[PATH_MAX] = {};
};
std::array<TemporarySlot, 3> temporarySlots;

int HoldTemporary(const std::string& path) {
  for (std::size_t slot = 0; slot < temporarySlots.size(); ++slot) {
    TemporarySlot& held = temporarySlots[slot];
    if (held.inUse || path.size() >= sizeof held.path) continue;
    std::memcpy(held.path, path.c_str(), path.size() + 1);
    held.inUse = true;
    return static_cast<int>(slot);
  }
  return -1;
}

void RemoveTemporariesAndDie(int signalNumber) {
  for (TemporarySlot& held : temporarySlots) {
    if (held.inUse) unlink(held.path);
  }
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

}  // namespace

bool WriteAll(int descriptor, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = write(descriptor, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::optional<FileIdentity> RegularFileIdentity(int descriptor) {
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino, ""};
}

std::optional<InputFile> ReadInputFile(const std::string& path, std::size_t limit,
                                       std::string& error) {
  const auto refuse = [&](const std::string& why) {
    error = "cannot read " + path + ": " + why;
    return std::nullopt;
  };
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return refuse(Reason());
  if (S_ISDIR(status.st_mode)) return refuse(std::strerror(EISDIR));
  if (!S_ISREG(status.st_mode)) return refuse("it is not a regular file");
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (descriptor < 0) return refuse(Reason());
  // The name may have been replaced since it was looked at.
  const std::optional<FileIdentity> identity = RegularFileIdentity(descriptor);
  if (!identity) {
    close(descriptor);
    return refuse("it is not a regular file");
  }
  InputFile file{"", *identity};
  char buffer[65536];
  int readError = 0;
  while (file.text.size() <= limit) {
    const ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) readError = errno;
    if (got <= 0) break;
    file.text.append(buffer, static_cast<std::size_t>(got));
  }
  close(descriptor);
  if (readError != 0) return refuse(std::strerror(readError));
  if (file.text.size() > limit) {
    return refuse("larger than " + std::to_string(limit >> 20) +
                  " MiB, more than a spin file holds");
  }
  return file;
}

ResultFile::ResultFile(std::string name) : name_(std::move(name)) {}

ResultFile::ResultFile(ResultFile&& other) noexcept
    : name_(std::move(other.name_)),
      target_(std::move(other.target_)),
      replaced_(other.replaced_),
      identity_(std::move(other.identity_)),
      temporarySlot_(std::exchange(other.temporarySlot_, -1)) {}

ResultFile::~ResultFile() {
  if (temporarySlot_ >= 0) unlink(temporarySlots[static_cast<std::size_t>(temporarySlot_)].path);
  ForgetTemporary();
}

void ResultFile::ForgetTemporary() {
  if (temporarySlot_ < 0) return;
  temporarySlots[static_cast<std::size_t>(temporarySlot_)].inUse = false;
  temporarySlot_ = -1;
}

bool ResultFile::Fail(std::string why, std::string& error) const {
  error = "cannot write " + name_ + ": " + why;
  return false;
}

bool ResultFile::Prepare(std::string& error) {
  target_ = name_;
  struct stat found {};
  if (lstat(name_.c_str(), &found) == 0 && S_ISLNK(found.st_mode)) {
    // The result goes where the link leads, as with the shell's > redirection; the link stays.
    char* resolved = realpath(name_.c_str(), nullptr);
    if (resolved == nullptr) {
      return Fail(errno == ENOENT ? "its symbolic link leads to no file" : Reason(), error);
    }
    target_ = resolved;
    std::free(resolved);
  }
  if (stat(target_.c_str(), &found) == 0) {
    if (S_ISDIR(found.st_mode)) return Fail("it is a folder", error);
    if (!S_ISREG(found.st_mode)) {
      return Fail("it is not a regular file (- writes to standard output)", error);
    }
    // A new file in its place would leave the other names with the old contents.
    if (found.st_nlink > 1) return Fail("the file has other names (hard links)", error);
    // Root may write anything: the permissions are what says the file is not to be changed.
    if ((found.st_mode & 0222) == 0 || access(target_.c_str(), W_OK) != 0) {
      return Fail("it is read-only", error);
    }
    replaced_ = found;
    identity_ = {found.st_dev, found.st_ino, ""};
  } else if (errno != ENOENT) {
    return Fail(Reason(), error);
  }
  const std::string folder = FolderOf(target_);
  struct stat folderStatus {};
  if (stat(folder.c_str(), &folderStatus) != 0 || access(folder.c_str(), W_OK | X_OK) != 0) {
    return Fail(Reason(), error);
  }
  if (!replaced_) identity_ = {folderStatus.st_dev, folderStatus.st_ino, BaseNameOf(target_)};
  return true;
}

bool ResultFile::Write(std::string_view contents, std::string& error) {
  // A fixed short name, so even a name near the length limit has room for it.
  std::string pattern = FolderOf(target_) + "/.wheelwatcher-lab-XXXXXX";
  const int descriptor = mkostemp(pattern.data(), O_CLOEXEC);
  if (descriptor < 0) return Fail(Reason(), error);
  temporarySlot_ = HoldTemporary(pattern);
  if (temporarySlot_ < 0) {
    close(descriptor);
    unlink(pattern.c_str());
    return Fail(std::strerror(ENAMETOOLONG), error);
  }
  mode_t mode = 0;
  if (replaced_) {
    // Root keeps the replaced file's owner; for anyone else fchown fails and the result is
    // theirs, as any file they write, without the set-id bits that were another's.
    const bool ownerKept = fchown(descriptor, replaced_->st_uid, replaced_->st_gid) == 0;
    mode = replaced_->st_mode & (ownerKept ? 07777 : 0777);
  } else {
    // mkstemp makes the file private; a new result file gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool written =
      fchmod(descriptor, mode) == 0 && WriteAll(descriptor, contents) && fsync(descriptor) == 0;
  int failure = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    failure = errno;
  }
  if (!written) return Fail(std::strerror(failure), error);
  return true;
}

bool ResultFile::Publish(std::string& error) {
  const char* temporary = temporarySlots[static_cast<std::size_t>(temporarySlot_)].path;
  if (rename(temporary, target_.c_str()) != 0) return Fail(Reason(), error);
  ForgetTemporary();
  return true;
}

bool ResultFile::SyncFolder(std::string& error) const {
  const int folder = open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return Fail(Reason(), error);
  const bool synced = fsync(folder) == 0 || errno == EINVAL;
  const int syncError = errno;
  close(folder);
  return synced || Fail(std::strerror(syncError), error);
}

void RemoveTemporaryFilesOnSignals() {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal ignored from the start stays ignored, as nohup means it to be.
    struct sigaction current {};
    if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    signal(signalNumber, RemoveTemporariesAndDie);
  }
}

}  // namespace wheelwatcher
