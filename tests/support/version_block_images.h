// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds version blocks and minimal ELF files around them, for the version reader's tests.

#include <cstdint>
#include <string>
#include <vector>

namespace wheelwatcher {

namespace test_images {

inline void AppendWord(std::vector<std::uint8_t>& bytes, std::uint64_t value, int width,
                       bool bigEndian = false) {
  for (int i = 0; i < width; ++i) {
    const int shift = 8 * (bigEndian ? width - 1 - i : i);
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

struct BlockShape {
  std::uint32_t signature = 0xFEEF04BD;
  std::uint32_t fileVersionHigh = 0x00050000;
  std::uint32_t fileVersionLow = 0x00000004;
  std::vector<std::uint32_t> translations = {0x04E40409};
};

inline std::vector<std::uint8_t> VersionBlock(const BlockShape& shape = {}) {
  std::vector<std::uint8_t> block;
  const std::uint32_t tableBytes = static_cast<std::uint32_t>(shape.translations.size() * 4);
  AppendWord(block, 8 + 13 * 4 + 4 + tableBytes, 4);
  AppendWord(block, 13 * 4, 4);
  const std::uint32_t words[13] = {shape.signature,
                                   0x00010000,
                                   shape.fileVersionHigh,
                                   shape.fileVersionLow,
                                   shape.fileVersionHigh,
                                   shape.fileVersionLow,
                                   0x3F,
                                   0,
                                   0x00040004,
                                   1,
                                   0,
                                   0,
                                   0};
  for (std::uint32_t word : words) AppendWord(block, word, 4);
  AppendWord(block, tableBytes, 4);
  for (std::uint32_t entry : shape.translations) AppendWord(block, entry, 4);
  return block;
}

struct ElfShape {
  bool is64 = true;
  bool bigEndian = false;
  std::string sectionName = ".wheelwatcher.version";
  std::uint32_t sectionType = 1;  // PROGBITS
};

// An ELF file with a null section, the section-name table and one section holding `contents`.
inline std::vector<std::uint8_t> ElfFile(const std::vector<std::uint8_t>& contents,
                                         const ElfShape& shape = {}) {
  const int width = shape.is64 ? 8 : 4;
  const std::size_t headerBytes = shape.is64 ? 64 : 52;
  const std::size_t sectionHeaderBytes = shape.is64 ? 64 : 40;
  std::vector<std::uint8_t> names = {0};
  names.insert(names.end(), {'.', 's', 'h', 's', 't', 'r', 't', 'a', 'b', 0});
  const std::uint32_t ownNameOffset = static_cast<std::uint32_t>(names.size());
  names.insert(names.end(), shape.sectionName.begin(), shape.sectionName.end());
  names.push_back(0);

  const std::uint64_t namesOffset = headerBytes;
  const std::uint64_t contentsOffset = namesOffset + names.size();
  const std::uint64_t tableOffset = contentsOffset + contents.size();

  std::vector<std::uint8_t> file = {0x7f,
                                    'E',
                                    'L',
                                    'F',
                                    static_cast<std::uint8_t>(shape.is64 ? 2 : 1),
                                    static_cast<std::uint8_t>(shape.bigEndian ? 2 : 1),
                                    1};
  file.resize(16, 0);
  const bool be = shape.bigEndian;
  AppendWord(file, 2, 2, be);                // e_type: executable
  AppendWord(file, 62, 2, be);               // e_machine
  AppendWord(file, 1, 4, be);                // e_version
  AppendWord(file, 0, width, be);            // e_entry
  AppendWord(file, 0, width, be);            // e_phoff
  AppendWord(file, tableOffset, width, be);  // e_shoff
  AppendWord(file, 0, 4, be);                // e_flags
  AppendWord(file, headerBytes, 2, be);
  AppendWord(file, 0, 2, be);  // e_phentsize
  AppendWord(file, 0, 2, be);  // e_phnum
  AppendWord(file, sectionHeaderBytes, 2, be);
  AppendWord(file, 3, 2, be);  // e_shnum
  AppendWord(file, 1, 2, be);  // e_shstrndx
  file.insert(file.end(), names.begin(), names.end());
  file.insert(file.end(), contents.begin(), contents.end());

  auto sectionHeader = [&](std::uint32_t name, std::uint32_t type, std::uint64_t offset,
                           std::uint64_t size) {
    const std::size_t begin = file.size();
    AppendWord(file, name, 4, be);
    AppendWord(file, type, 4, be);
    AppendWord(file, 0, width, be);  // flags
    AppendWord(file, 0, width, be);  // address
    AppendWord(file, offset, width, be);
    AppendWord(file, size, width, be);
    file.resize(begin + sectionHeaderBytes, 0);
  };
  sectionHeader(0, 0, 0, 0);
  sectionHeader(1, 3, namesOffset, names.size());
  sectionHeader(ownNameOffset, shape.sectionType, contentsOffset, contents.size());
  return file;
}

}  // namespace test_images

}  // namespace wheelwatcher
