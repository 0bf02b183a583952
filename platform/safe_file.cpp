// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <system_error>

struct stat;

namespace wheelwatcher {

namespace {

std::string SystemError(int error) {
  return std::error_code(error, std::generic_category()).message();
}

class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return descriptor_; }
  // Closes now, so that a failure of the close itself (a deferred write error) can be seen.
  int Close() {
    const int result = close(descriptor_);
    descriptor_ = -1;
    return result;
  }

 private:
  int descriptor_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A new, empty file beside the target that nobody else has: created, never opened, so nothing
// planted in the folder can be written through.
int CreateTemporaryFile(const std::string& folder, std::string& temporaryPath) {
  std::random_device entropy;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "/.wheelwatcher-%08x%08x.partial", entropy(), entropy());
    temporaryPath = folder + name;
    // 0666 less the user's umask, as any new file of the user's.
    const int descriptor =
        open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

BoundedFileRead ReadRegularFile(const std::string& path, std::size_t maxBytes) {
  BoundedFileRead result;
  // Without O_NONBLOCK opening a FIFO would wait for a writer.
  Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) {
    if (errno != ENOENT) {
      result.outcome = BoundedFileRead::Outcome::kFailed;
      result.error = SystemError(errno);
    }
    return result;
  }
  result.outcome = BoundedFileRead::Outcome::kFailed;
  struct stat status {};
  if (fstat(file.get(), &status) != 0) {
    result.error = SystemError(errno);
    return result;
  }
  if (!S_ISREG(status.st_mode)) {
    result.error = "not a regular file";
    return result;
  }
  const std::string tooLarge = "larger than " + std::to_string(maxBytes) + " bytes";
  if (static_cast<std::uint64_t>(status.st_size) > maxBytes) {
    result.error = tooLarge;
    return result;
  }
  // The size may change while it is read: read one byte past the bound to notice.
  std::string bytes(maxBytes + 1, '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t count = read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (count < 0) {
      if (errno == EINTR) continue;
      result.error = SystemError(errno);
      return result;
    }
    if (count == 0) break;
    filled += static_cast<std::size_t>(count);
  }
  if (filled > maxBytes) {
    result.error = tooLarge;
    return result;
  }
  bytes.resize(filled);
  result.outcome = BoundedFileRead::Outcome::kRead;
  result.bytes = std::move(bytes);
  return result;
}

std::string PublishFile(const std::string& path, std::string_view bytes) {
  std::string target = path;
  struct stat existing {};
  bool replacing = false;
  if (stat(path.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) return "not a regular file";
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved) return SystemError(errno);
    target = resolved.get();
    replacing = true;
  } else if (errno != ENOENT) {
    return SystemError(errno);
  } else if (struct stat link{}; lstat(path.c_str(), &link) == 0) {
    return "a symbolic link to nothing";  // whatever it pointed at is not created behind it
  }

  const std::string folder = FolderOf(target);
  std::string temporaryPath;
  Descriptor file(CreateTemporaryFile(folder, temporaryPath));
  if (file.get() < 0) return SystemError(errno);
  const auto failWith = [&](int error) {
    unlink(temporaryPath.c_str());
    return SystemError(error);
  };
  if (replacing) {
    // The owner can only be kept by root; the permissions always.
    if (fchmod(file.get(), existing.st_mode & 07777) != 0) return failWith(errno);
    if (fchown(file.get(), existing.st_uid, existing.st_gid) != 0 && errno != EPERM) {
      return failWith(errno);
    }
  }
  if (!WriteAll(file.get(), bytes) || fsync(file.get()) != 0 || file.Close() != 0) {
    return failWith(errno);
  }
  if (rename(temporaryPath.c_str(), target.c_str()) != 0) return failWith(errno);
  // Makes the new name itself durable. The file is in place by now whatever this gives: a failure
  // here can at worst bring back the old file after a crash, never a partial one.
  if (Descriptor folderDescriptor(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      folderDescriptor.get() >= 0) {
    fsync(folderDescriptor.get());
  }
  return {};
}

}  // namespace wheelwatcher
