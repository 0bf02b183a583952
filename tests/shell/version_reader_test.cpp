// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/version_reader.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <fstream>

#include "tests/support/version_block_images.h"

namespace wheelwatcher {

namespace {

using test_images::BlockShape;
using test_images::ElfFile;
using test_images::VersionBlock;

// The test executable carries the same version block as the program.
TEST(VersionReaderTest, ReadsTheBlockOfTheRunningExecutable) {
  CVersionReader reader;
  ASSERT_TRUE(reader.Load(kOwnExecutablePath));
  EXPECT_EQ((FileVersionParts{5, 0, 0, 4}), reader.FileVersion());
  EXPECT_EQ(reader.TranslationCount(), 1u);
  EXPECT_EQ(ReadVersionText(kOwnExecutablePath), "V 5.004");
}

class VersionReaderFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = directory_.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  QTemporaryDir directory_;
};

TEST_F(VersionReaderFileTest, OnlyFilesWithACompleteBlockGiveAVersion) {
  BlockShape wrongSignature;
  wrongSignature.signature = 0x12345678;
  BlockShape noTranslation;
  noTranslation.translations.clear();
  BlockShape twoDigitParts;
  twoDigitParts.fileVersionHigh = 0x00010002;
  twoDigitParts.fileVersionLow = 0x000A0003;
  std::vector<std::uint8_t> truncated = ElfFile(VersionBlock());
  truncated.resize(truncated.size() / 2);

  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string text;
  } cases[] = {
      {"valid", ElfFile(VersionBlock()), "V 5.004"},
      {"two-digit parts", ElfFile(VersionBlock(twoDigitParts)), "V 1.2103"},
      {"wrong signature", ElfFile(VersionBlock(wrongSignature)), ""},
      {"no translation table", ElfFile(VersionBlock(noTranslation)), ""},
      {"truncated", truncated, ""},
      {"not ELF", {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'}, ""},
      {"empty", {}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadVersionText(Write(c.name, c.bytes)), c.text) << c.name;
  }
  EXPECT_EQ(ReadVersionText(directory_.filePath("missing").toStdString()), "");
  EXPECT_EQ(ReadVersionText(directory_.path().toStdString()), "") << "a folder";
  // Neither waited on nor read without end.
  const std::string fifo = directory_.filePath("fifo").toStdString();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ReadVersionText(fifo), "") << "a FIFO";
  EXPECT_EQ(ReadVersionText("/dev/zero"), "");
  EXPECT_EQ(ReadVersionText(""), "");
}

TEST_F(VersionReaderFileTest, AFailedLoadOrResetLeavesNothingOfTheLastBlock) {
  CVersionReader reader;
  ASSERT_TRUE(reader.Load(Write("valid", ElfFile(VersionBlock()))));
  BlockShape wrongSignature;
  wrongSignature.signature = 0;
  EXPECT_FALSE(reader.Load(Write("bad", ElfFile(VersionBlock(wrongSignature)))));
  EXPECT_EQ((FileVersionParts{0, 0, 0, 0}), reader.FileVersion());
  EXPECT_EQ(reader.TranslationCount(), 0u);

  ASSERT_TRUE(reader.Load(Write("valid", ElfFile(VersionBlock()))));
  reader.Reset();
  EXPECT_EQ((FileVersionParts{0, 0, 0, 0}), reader.FileVersion());
  EXPECT_EQ(reader.TranslationCount(), 0u);
}

}  // namespace

}  // namespace wheelwatcher
