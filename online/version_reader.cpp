// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/version_reader.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace wheelwatcher {

namespace {

class FileByteSource : public ByteSource {
 public:
  // Only a regular file is opened: a FIFO would block the open, a device read without end.
  explicit FileByteSource(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) stream_.open(path, std::ios::binary);
    if (stream_.is_open()) {
      stream_.seekg(0, std::ios::end);
      const std::streamoff end = stream_.tellg();
      size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
  }

  std::uint64_t Size() const override { return size_; }

  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (offset > size_ || out.size() > size_ - offset) return false;
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(offset));
    stream_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<std::size_t>(stream_.gcount()) == out.size();
  }

 private:
  std::ifstream stream_;
  std::uint64_t size_ = 0;
};

}  // namespace

bool CVersionReader::Load(const std::string& path) {
  if (path.empty()) return false;
  Reset();
  FileByteSource file(path);
  if (auto section = FindVersionSection(file)) {
    if (const auto parsed = ParseVersionBlock(*section)) {
      block_ = std::move(*section);
      fixedInfo_ = parsed->fixedInfo;
      translations_ = std::span<const std::uint8_t>(block_).subspan(
          parsed->translationOffset, std::size_t{parsed->translationCount} * 4);
      translationCount_ = parsed->translationCount;
      valid_ = true;
    }
  }
  if (!valid_) Reset();
  return valid_;
}

FileVersionParts CVersionReader::FileVersion() const { return FileVersionOf(fixedInfo_); }

void CVersionReader::Reset() {
  fixedInfo_ = FixedFileInfo{};
  translations_ = {};
  block_.clear();
  block_.shrink_to_fit();
  translationCount_ = 0;
  valid_ = false;
}

std::string ReadVersionText(const std::string& path) {
  CVersionReader reader;
  if (!reader.Load(path)) return {};
  return FormatVersionText(reader.FileVersion());
}

}  // namespace wheelwatcher
