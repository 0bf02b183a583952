// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wheelwatcher {

// The fixed file-information record of a version block: thirteen 32-bit words.
struct FixedFileInfo {
  std::uint32_t signature = 0;
  std::uint32_t structVersion = 0;
  std::uint32_t fileVersionHigh = 0;
  std::uint32_t fileVersionLow = 0;
  std::uint32_t productVersionHigh = 0;
  std::uint32_t productVersionLow = 0;
  std::uint32_t flagsMask = 0;
  std::uint32_t flags = 0;
  std::uint32_t operatingSystem = 0;
  std::uint32_t fileType = 0;
  std::uint32_t fileSubtype = 0;
  std::uint32_t fileDateHigh = 0;
  std::uint32_t fileDateLow = 0;
};

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::size_t kFixedFileInfoWords = 13;

// The ELF section the build writes the version block into.
inline constexpr char kVersionSectionName[] = ".wheelwatcher.version";

// Layout of the block, all words little-endian 32-bit:
//   block length in bytes | fixed record length (52) | the 13 words of the fixed record |
//   translation table length in bytes | the table: (language, code page) 16-bit pairs.
inline constexpr std::size_t kVersionBlockHeaderBytes = 8 + kFixedFileInfoWords * 4 + 4;

// The four 16-bit parts of the file version, most significant first.
using FileVersionParts = std::array<std::uint16_t, 4>;

FileVersionParts FileVersionOf(const FixedFileInfo& fixedInfo);

// "V %ld.%ld%ld%ld": only the first two parts are separated by a point.
std::string FormatVersionText(const FileVersionParts& parts);

// Random access to the bytes of a file, so the section search reads only what it needs.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `out` from `offset`; false when that range is not wholly inside the source.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

// The contents of the version section of an ELF file, or nothing when the file is not ELF, has
// no such section, or any header, offset or size in the way is inconsistent.
std::optional<std::vector<std::uint8_t>> FindVersionSection(ByteSource& file);

struct ParsedVersionBlock {
  FixedFileInfo fixedInfo;
  std::size_t translationOffset = 0;  // into the block
  std::uint32_t translationCount = 0;
};

// Reads a block found by FindVersionSection. Nothing when it is truncated, its fixed record is
// missing or has the wrong signature, or it has no translation table.
std::optional<ParsedVersionBlock> ParseVersionBlock(std::span<const std::uint8_t> block);

}  // namespace wheelwatcher
