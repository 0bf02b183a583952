// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "online/version_block.h"

namespace wheelwatcher {

// Reads the version block the build writes into an executable (see wheelwatcher_add_version_block
// in online/CMakeLists.txt).
class CVersionReader {
 public:
  CVersionReader() = default;
  ~CVersionReader() { Reset(); }
  CVersionReader(const CVersionReader&) = delete;
  CVersionReader& operator=(const CVersionReader&) = delete;

  // True when the file has a version block with a valid fixed record and a translation table.
  bool Load(const std::string& path);
  // Meaningful after a successful Load.
  FileVersionParts FileVersion() const;
  void Reset();

  std::uint32_t TranslationCount() const { return translationCount_; }

 private:
  FixedFileInfo fixedInfo_;
  std::vector<std::uint8_t> block_;
  std::span<const std::uint8_t> translations_;
  std::uint32_t translationCount_ = 0;
  bool valid_ = false;
};

// The running program's own file; opening it works even when the file was replaced meanwhile.
inline constexpr char kOwnExecutablePath[] = "/proc/self/exe";

// The version text of the program file at `path`, or empty when it carries no version.
std::string ReadVersionText(const std::string& path);

}  // namespace wheelwatcher
