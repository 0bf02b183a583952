// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// A result file that appears under its name only once it is complete: it is written beside its
// place under a temporary name and moved there at the end, so a failed or interrupted run leaves
// no half file. The temporary file is removed unless the file was published.
class PendingFile {
 public:
  explicit PendingFile(std::string path);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&&) = delete;

  // Whether the file's folder takes new files, so a bad place is known before any work; nothing
  // is created yet.
  bool CheckPlace(std::string& error) const;
  bool Write(const std::string& contents, std::string& error);
  bool Publish(std::string& error);
  const std::string& Path() const { return path_; }

 private:
  std::string Failure() const;

  std::string path_;
  std::string temporaryPath_;
};
