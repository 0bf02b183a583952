// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

namespace wheelwatcher {

// Which file a name stands for: a file that exists by its device and inode, a file still to be
// made by its folder's device and inode and its own name. Two names for one file compare equal.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  std::string newName;  // empty for a file that exists
  bool operator==(const FileIdentity&) const = default;
};

// All of `contents` to the descriptor; false with errno set when a write fails.
bool WriteAll(int descriptor, std::string_view contents);

// The identity of what an open descriptor refers to, when that is a regular file.
std::optional<FileIdentity> RegularFileIdentity(int descriptor);

struct InputFile {
  std::string text;
  FileIdentity identity;
};

// A regular file of at most `limit` bytes, read whole. Anything else is refused before it is
// opened: a FIFO's open would wait for a writer, and a device may never end.
std::optional<InputFile> ReadInputFile(const std::string& path, std::size_t limit,
                                       std::string& error);

// A result file that appears under its name only once every byte of it is on disk: it is written
// and synced under a temporary name in its folder, then renamed over the name. The temporary
// file is removed unless it was published, also when the run is interrupted by SIGINT, SIGTERM
// or SIGHUP; only a kill that cannot be caught (SIGKILL) leaves a .wheelwatcher-lab-XXXXXX file.
class ResultFile {
 public:
  explicit ResultFile(std::string name);
  ~ResultFile();
  ResultFile(const ResultFile&) = delete;
  ResultFile& operator=(const ResultFile&) = delete;
  ResultFile(ResultFile&& other) noexcept;
  ResultFile& operator=(ResultFile&&) = delete;

  // Finds the file the name stands for and whether a result may replace it, so a bad place is
  // known before any work; nothing is created yet.
  bool Prepare(std::string& error);
  const FileIdentity& Identity() const { return identity_; }
  const std::string& Name() const { return name_; }
  bool Write(std::string_view contents, std::string& error);
  bool Publish(std::string& error);
  // A rename reaches the disk with its folder.
  bool SyncFolder(std::string& error) const;

 private:
  bool Fail(std::string why, std::string& error) const;
  void ForgetTemporary();

  std::string name_;    // as it was given, for messages
  std::string target_;  // the file to replace: the name, or the file its symbolic link leads to
  std::optional<struct stat> replaced_;
  FileIdentity identity_;
  int temporarySlot_ = -1;
};

// Removes unpublished result files when SIGINT, SIGTERM or SIGHUP ends the run.
void RemoveTemporaryFilesOnSignals();

}  // namespace wheelwatcher
