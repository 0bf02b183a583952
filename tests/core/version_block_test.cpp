// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/version_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/support/version_block_images.h"

namespace wheelwatcher {

namespace {

using test_images::BlockShape;
using test_images::ElfFile;
using test_images::ElfShape;
using test_images::VersionBlock;

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
    std::memcpy(out.data(), bytes_.data() + offset, out.size());
    return true;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::optional<std::vector<std::uint8_t>> Find(std::vector<std::uint8_t> file) {
  MemoryByteSource source(std::move(file));
  return FindVersionSection(source);
}

void Put(std::vector<std::uint8_t>& file, std::size_t offset, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) file[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Offsets in a 64-bit little-endian file made by ElfFile.
constexpr std::size_t kShoff = 40, kShnum = 60, kShstrndx = 62, kSectionHeader = 64;
std::size_t OwnSectionHeader(const std::vector<std::uint8_t>& file) {
  return file.size() - kSectionHeader;
}

TEST(VersionSectionTest, FindsTheSectionInEveryElfClassAndByteOrder) {
  const std::vector<std::uint8_t> block = VersionBlock();
  for (bool is64 : {true, false}) {
    for (bool bigEndian : {false, true}) {
      ElfShape shape;
      shape.is64 = is64;
      shape.bigEndian = bigEndian;
      const auto found = Find(ElfFile(block, shape));
      ASSERT_TRUE(found) << "64-bit " << is64 << ", big-endian " << bigEndian;
      EXPECT_EQ(*found, block);
    }
  }
}

TEST(VersionSectionTest, DamagedOrForeignFilesGiveNothing) {
  const std::vector<std::uint8_t> valid = ElfFile(VersionBlock());
  struct Case {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"empty file", [](auto& f) { f.clear(); }},
      {"not ELF", [](auto& f) { f[1] = 'X'; }},
      {"unknown class", [](auto& f) { f[4] = 3; }},
      {"header cut short", [](auto& f) { f.resize(30); }},
      {"section table past the end", [](auto& f) { Put(f, kShoff, f.size() - 10, 8); }},
      {"section table offset overflows", [](auto& f) { Put(f, kShoff, ~0ull - 5, 8); }},
      {"more sections than the file holds", [](auto& f) { Put(f, kShnum, 0xFFFF, 2); }},
      {"no sections", [](auto& f) { Put(f, kShnum, 0, 2); }},
      {"name table index out of range", [](auto& f) { Put(f, kShstrndx, 3, 2); }},
      {"section contents past the end",
       [](auto& f) { Put(f, OwnSectionHeader(f) + 24, f.size() - 4, 8); }},
      {"section size overflows", [](auto& f) { Put(f, OwnSectionHeader(f) + 32, ~0ull, 8); }},
      {"name offset outside the name table",
       [](auto& f) { Put(f, OwnSectionHeader(f), 0xFFFFFFF0, 4); }},
      {"file truncated inside the section table", [](auto& f) { f.resize(f.size() - 1); }},
  };
  ASSERT_TRUE(Find(valid));
  for (const Case& c : cases) {
    std::vector<std::uint8_t> file = valid;
    c.damage(file);
    EXPECT_FALSE(Find(file)) << c.name;
  }
}

TEST(VersionSectionTest, OnlyTheExactNameWithContentsCounts) {
  for (const char* name : {".wheelwatcher.versio", ".wheelwatcher.version2", ".data"}) {
    ElfShape shape;
    shape.sectionName = name;
    EXPECT_FALSE(Find(ElfFile(VersionBlock(), shape))) << name;
  }
  ElfShape noBits;
  noBits.sectionType = 8;
  EXPECT_FALSE(Find(ElfFile(VersionBlock(), noBits)));
}

TEST(VersionBlockTest, ValidBlockGivesFixedRecordAndTranslations) {
  BlockShape shape;
  shape.translations = {0x04E40409, 0x04B00407};
  const std::vector<std::uint8_t> block = VersionBlock(shape);
  const auto parsed = ParseVersionBlock(block);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->fixedInfo.signature, kFixedFileInfoSignature);
  EXPECT_EQ(parsed->translationCount, 2u);
  EXPECT_EQ(block[parsed->translationOffset], 0x09);
  EXPECT_EQ((FileVersionParts{5, 0, 0, 4}), FileVersionOf(parsed->fixedInfo));
}

TEST(VersionBlockTest, BadBlocksGiveNothing) {
  BlockShape wrongSignature;
  wrongSignature.signature = 0xFEEF04BC;
  BlockShape noTranslation;
  noTranslation.translations.clear();
  const std::vector<std::uint8_t> valid = VersionBlock();

  std::vector<std::uint8_t> truncated = valid;
  truncated.resize(truncated.size() - 2);
  std::vector<std::uint8_t> shortFixedRecord = valid;
  shortFixedRecord[4] = 48;
  std::vector<std::uint8_t> tableLongerThanBlock = valid;
  tableLongerThanBlock[8 + 52] = 8;
  std::vector<std::uint8_t> tableLengthOverflows = valid;
  Put(tableLengthOverflows, 8 + 52, 0xFFFFFFFF, 4);
  std::vector<std::uint8_t> cutInsideFixedRecord(valid.begin(), valid.begin() + 30);

  const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
      {"wrong signature", VersionBlock(wrongSignature)},
      {"no translation table", VersionBlock(noTranslation)},
      {"truncated", truncated},
      {"fixed record of the wrong length", shortFixedRecord},
      {"table longer than the block", tableLongerThanBlock},
      {"table length overflows", tableLengthOverflows},
      {"cut inside the fixed record", cutInsideFixedRecord},
      {"empty", {}},
  };
  for (const auto& [name, block] : cases) EXPECT_FALSE(ParseVersionBlock(block)) << name;
}

TEST(VersionTextTest, FormatsPartsWithOnlyTheFirstPointAndNoPadding) {
  const std::pair<FileVersionParts, const char*> cases[] = {
      {{5, 0, 0, 4}, "V 5.004"},
      {{1, 2, 10, 3}, "V 1.2103"},
      {{65535, 65535, 65535, 65535}, "V 65535.655356553565535"},
      {{0, 0, 0, 0}, "V 0.000"},
  };
  for (const auto& [parts, text] : cases) EXPECT_EQ(FormatVersionText(parts), text);
}

TEST(VersionTextTest, FileVersionSplitsHighAndLowWords) {
  FixedFileInfo info;
  info.fileVersionHigh = 0x0001000A;
  info.fileVersionLow = 0x00030002;
  EXPECT_EQ((FileVersionParts{1, 10, 3, 2}), FileVersionOf(info));
}

}  // namespace

}  // namespace wheelwatcher
