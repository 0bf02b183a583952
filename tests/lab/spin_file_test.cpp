// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/spin_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "systems/spin_report.h"

namespace wheelwatcher {

namespace {

using Spins = std::vector<std::int32_t>;

TEST(ReadSpinFile, PlainListsWithAnySeparators) {
  struct Case {
    std::string text;
    Spins spins;
  };
  const Case cases[] = {
      {"17", {17}},
      {"0 36\n5", {0, 36, 5}},
      {"1,2,3\r\n4, 5 ,6\r\n", {1, 2, 3, 4, 5, 6}},
      {"7\r8\r\r9", {7, 8, 9}},
      {"\t12,,  013\n\n", {12, 13}},
      {"\xEF\xBB\xBF"
       "3 4",
       {3, 4}},
      {"\xEF\xBB\xBF"
       "Spin History 8, 9, ",
       {8, 9}},
  };
  for (const Case& c : cases) {
    const SpinFile file = ReadSpinFile("spins.txt", c.text);
    EXPECT_EQ(file.error, "") << c.text;
    EXPECT_EQ(file.spins, c.spins) << c.text;
  }
}

// What SAVE writes reads back as the spins that were saved, whatever the system and the counts.
TEST(ReadSpinFile, TheProgramsOwnExport) {
  for (const Spins& spins : {Spins{2, 5, 0}, Spins{36}, Spins{0, 0, 0, 0, 0, 14, 19}}) {
    const std::string report = BuildSpinReport(4, spins);
    const SpinFile file = ReadSpinFile("history.txt", report);
    EXPECT_EQ(file.error, "");
    EXPECT_EQ(file.spins, spins);
  }
  // The counts below the spin list are not spins.
  EXPECT_EQ(ReadSpinFile("h.txt", "Spin History 3, \nBlack Spins 0\n").spins, Spins{3});
}

TEST(ReadSpinFile, NamesTheFileLineAndColumnOfTheFirstBadEntry) {
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"1 2\n3 37 4", "in.txt:2:3: \"37\" is not a number from 0 to 36"},
      {"5,x7", "in.txt:1:3: \"x7\" is not a number from 0 to 36"},
      {"1\r\n\r\n -3", "in.txt:3:2: \"-3\" is not a number from 0 to 36"},
      {"1 2.5", "in.txt:1:3: \"2.5\" is not a number from 0 to 36"},
      {"99999999999999999999999",
       "in.txt:1:1: \"99999999999999999999...\" is not a number from 0 to 36"},
      {std::string("4 \x01\xff", 4), "in.txt:1:3: \"??\" is not a number from 0 to 36"},
      {"", "in.txt: there are no spins in the file"},
      {" ,\n\n", "in.txt: there are no spins in the file"},
      {"\r\nYou are using system KAVRI\r\n\r\nSpin History \r\n",
       "in.txt: the spin history is empty"},
      {"Spin History 1, 2, 40, ", "in.txt:1:20: \"40\" is not a number from 0 to 36"},
      // A byte order mark counts only at the very start, and takes no column.
      {"\xEF\xBB\xBF"
       "5 x",
       "in.txt:1:3: \"x\" is not a number from 0 to 36"},
      {"1\n\xEF\xBB\xBF"
       "2",
       "in.txt:2:1: \"???2\" is not a number from 0 to 36"},
  };
  for (const Case& c : cases) {
    const SpinFile file = ReadSpinFile("in.txt", c.text);
    EXPECT_EQ(file.error, c.error) << c.text;
  }
}

}  // namespace

}  // namespace wheelwatcher
