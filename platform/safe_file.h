// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wheelwatcher {

// Reading and replacing the files the program keeps, so that neither a hostile file nor a full
// disk costs the player anything. Plain POSIX, no Qt: any part of the program may use them.

struct BoundedFileRead {
  enum class Outcome {
    kRead,    // `bytes` holds the whole file
    kAbsent,  // nothing at the path
    kFailed,  // something is there but cannot be read as a file: `error` says why
  };
  Outcome outcome = Outcome::kAbsent;
  std::string bytes;
  std::string error;
};

// Reads the whole file at `path` when it is a regular file of at most `maxBytes`. A FIFO, a
// device, a folder or a larger file is refused without waiting on it or reading it; symbolic links
// are followed.
BoundedFileRead ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Replaces the file at `path` by `bytes`, or creates it. The bytes go to a new file beside it,
// which is written whole, synced to the disk and only then renamed over the old one, so a failed
// write, flush or sync (a full disk, an I/O error) leaves the old file exactly as it was. A file
// that is replaced keeps its permissions; a symbolic link is followed and its target replaced; a
// path that names something other than a regular file is refused. Returns the reason of a
// failure, or an empty text when the file is published.
std::string PublishFile(const std::string& path, std::string_view bytes);

}  // namespace wheelwatcher
