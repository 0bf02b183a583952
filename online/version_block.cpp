// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/version_block.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace wheelwatcher {

namespace {

constexpr std::uint64_t kMaxSectionBytes = 64 * 1024;
constexpr std::uint32_t kSectionTypeNoBits = 8;

// Reads unsigned integers of either byte order out of a byte span, refusing out-of-range reads.
class FieldReader {
 public:
  FieldReader(std::span<const std::uint8_t> bytes, bool bigEndian)
      : bytes_(bytes), bigEndian_(bigEndian) {}

  std::optional<std::uint64_t> Unsigned(std::size_t offset, std::size_t width) const {
    if (offset > bytes_.size() || width > bytes_.size() - offset) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      const std::size_t index = bigEndian_ ? offset + i : offset + width - 1 - i;
      value = (value << 8) | bytes_[index];
    }
    return value;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  bool bigEndian_;
};

struct ElfLayout {
  bool is64 = false;
  bool bigEndian = false;
  std::size_t headerBytes() const { return is64 ? 64 : 52; }
  std::size_t sectionHeaderBytes() const { return is64 ? 64 : 40; }
  std::size_t addressWidth() const { return is64 ? 8 : 4; }
};

struct SectionHeader {
  std::uint32_t name = 0;
  std::uint32_t type = 0;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

std::optional<SectionHeader> ReadSectionHeader(ByteSource& file, const ElfLayout& layout,
                                               std::uint64_t headerOffset) {
  std::vector<std::uint8_t> raw(layout.sectionHeaderBytes());
  if (!file.Read(headerOffset, raw)) return std::nullopt;
  const FieldReader fields(raw, layout.bigEndian);
  const std::size_t width = layout.addressWidth();
  // sh_name, sh_type, sh_flags, sh_addr, sh_offset, sh_size: the last four are address-wide.
  const auto name = fields.Unsigned(0, 4);
  const auto type = fields.Unsigned(4, 4);
  const auto offset = fields.Unsigned(8 + 2 * width, width);
  const auto size = fields.Unsigned(8 + 3 * width, width);
  if (!name || !type || !offset || !size) return std::nullopt;
  return SectionHeader{static_cast<std::uint32_t>(*name), static_cast<std::uint32_t>(*type),
                       *offset, *size};
}

std::optional<std::vector<std::uint8_t>> ReadSectionContents(ByteSource& file,
                                                             const SectionHeader& header) {
  if (header.type == kSectionTypeNoBits || header.size > kMaxSectionBytes) return std::nullopt;
  std::vector<std::uint8_t> contents(static_cast<std::size_t>(header.size));
  if (!file.Read(header.offset, contents)) return std::nullopt;
  return contents;
}

bool NameMatches(std::span<const std::uint8_t> nameTable, std::uint32_t nameOffset) {
  constexpr std::size_t nameLength = sizeof(kVersionSectionName);  // with its terminator
  if (nameOffset > nameTable.size() || nameLength > nameTable.size() - nameOffset) return false;
  return std::memcmp(nameTable.data() + nameOffset, kVersionSectionName, nameLength) == 0;
}

}  // namespace

FileVersionParts FileVersionOf(const FixedFileInfo& fixedInfo) {
  return {static_cast<std::uint16_t>(fixedInfo.fileVersionHigh >> 16),
          static_cast<std::uint16_t>(fixedInfo.fileVersionHigh & 0xFFFF),
          static_cast<std::uint16_t>(fixedInfo.fileVersionLow >> 16),
          static_cast<std::uint16_t>(fixedInfo.fileVersionLow & 0xFFFF)};
}

std::string FormatVersionText(const FileVersionParts& parts) {
  char text[64];
  std::snprintf(text, sizeof text, "V %ld.%ld%ld%ld", static_cast<long>(parts[0]),
                static_cast<long>(parts[1]), static_cast<long>(parts[2]),
                static_cast<long>(parts[3]));
  return text;
}

std::optional<std::vector<std::uint8_t>> FindVersionSection(ByteSource& file) {
  std::uint8_t ident[16];
  if (!file.Read(0, ident)) return std::nullopt;
  if (std::memcmp(ident,
                  "\x7f"
                  "ELF",
                  4) != 0)
    return std::nullopt;
  ElfLayout layout;
  if (ident[4] != 1 && ident[4] != 2) return std::nullopt;
  if (ident[5] != 1 && ident[5] != 2) return std::nullopt;
  layout.is64 = ident[4] == 2;
  layout.bigEndian = ident[5] == 2;

  std::vector<std::uint8_t> header(layout.headerBytes());
  if (!file.Read(0, header)) return std::nullopt;
  const FieldReader fields(header, layout.bigEndian);
  const std::size_t width = layout.addressWidth();
  // e_shoff follows e_type, e_machine, e_version, e_entry, e_phoff; then e_flags, e_ehsize,
  // e_phentsize, e_phnum, e_shentsize, e_shnum, e_shstrndx.
  const std::size_t tail = 24 + 3 * width;
  const auto sectionTableOffset = fields.Unsigned(24 + 2 * width, width);
  const auto entrySize = fields.Unsigned(tail + 10, 2);
  const auto sectionCount = fields.Unsigned(tail + 12, 2);
  const auto nameTableIndex = fields.Unsigned(tail + 14, 2);
  if (!sectionTableOffset || !entrySize || !sectionCount || !nameTableIndex) return std::nullopt;
  if (*entrySize < layout.sectionHeaderBytes() || *sectionCount == 0 ||
      *nameTableIndex >= *sectionCount) {
    return std::nullopt;
  }
  // Every section header must lie inside the file; the count is at most 65535, so no overflow.
  const std::uint64_t tableBytes = *entrySize * *sectionCount;
  if (*sectionTableOffset > file.Size() || tableBytes > file.Size() - *sectionTableOffset) {
    return std::nullopt;
  }

  const auto nameTableHeader =
      ReadSectionHeader(file, layout, *sectionTableOffset + *nameTableIndex * *entrySize);
  if (!nameTableHeader) return std::nullopt;
  const auto nameTable = ReadSectionContents(file, *nameTableHeader);
  if (!nameTable) return std::nullopt;

  for (std::uint64_t index = 0; index < *sectionCount; ++index) {
    const auto section = ReadSectionHeader(file, layout, *sectionTableOffset + index * *entrySize);
    if (!section) return std::nullopt;
    if (NameMatches(*nameTable, section->name)) return ReadSectionContents(file, *section);
  }
  return std::nullopt;
}

std::optional<ParsedVersionBlock> ParseVersionBlock(std::span<const std::uint8_t> block) {
  // The block is written by our own build on a little-endian machine.
  const FieldReader fields(block, false);
  const auto blockLength = fields.Unsigned(0, 4);
  const auto fixedLength = fields.Unsigned(4, 4);
  if (!blockLength || *blockLength > block.size() || !fixedLength ||
      *fixedLength != kFixedFileInfoWords * 4) {
    return std::nullopt;
  }
  const std::span<const std::uint8_t> inBlock = block.first(static_cast<std::size_t>(*blockLength));
  const FieldReader blockFields(inBlock, false);

  std::uint32_t words[kFixedFileInfoWords];
  for (std::size_t i = 0; i < kFixedFileInfoWords; ++i) {
    const auto word = blockFields.Unsigned(8 + 4 * i, 4);
    if (!word) return std::nullopt;
    words[i] = static_cast<std::uint32_t>(*word);
  }
  ParsedVersionBlock parsed;
  FixedFileInfo& info = parsed.fixedInfo;
  std::uint32_t* const targets[kFixedFileInfoWords] = {
      &info.signature,          &info.structVersion,
      &info.fileVersionHigh,    &info.fileVersionLow,
      &info.productVersionHigh, &info.productVersionLow,
      &info.flagsMask,          &info.flags,
      &info.operatingSystem,    &info.fileType,
      &info.fileSubtype,        &info.fileDateHigh,
      &info.fileDateLow};
  for (std::size_t i = 0; i < kFixedFileInfoWords; ++i) *targets[i] = words[i];
  if (info.signature != kFixedFileInfoSignature) return std::nullopt;

  const std::size_t tableLengthOffset = 8 + kFixedFileInfoWords * 4;
  const auto tableLength = blockFields.Unsigned(tableLengthOffset, 4);
  const std::size_t tableOffset = tableLengthOffset + 4;
  if (!tableLength || *tableLength < 4 || *tableLength > inBlock.size() - tableOffset) {
    return std::nullopt;
  }
  parsed.translationOffset = tableOffset;
  parsed.translationCount = static_cast<std::uint32_t>(*tableLength / 4);
  return parsed;
}

}  // namespace wheelwatcher
