// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/region_code.h"

#include <gtest/gtest.h>

#include <set>

namespace wheelwatcher {

TEST(RegionCode, PackedValuesMatchTheTable) {
  // A few packed values as the platform writes them: red low, blue high.
  EXPECT_EQ(PackRgb(248, 248, 152), 0x98F8F8u);
  EXPECT_EQ(RegionCodeForColour(0x98F8F8), 1);
  EXPECT_EQ(RegionCodeForColour(0x0060F8), 17);
  EXPECT_EQ(RegionCodeForColour(0x000000), 0);
  EXPECT_EQ(RegionCodeForColour(0x000099), region::kLiveWheel);
  EXPECT_EQ(RegionCodeForColour(0x33FFFF), region::kHelp);
  EXPECT_EQ(RegionCodeForColour(0x993399), region::kRewind);
  EXPECT_EQ(RegionCodeForColour(0x999999), region::kClearAll);
  EXPECT_EQ(RegionCodeForColour(0x666666), 49);
}

TEST(RegionCode, OnlyExactColoursMatch) {
  EXPECT_EQ(RegionCodeForColour(PackRgb(255, 255, 255)), region::kNone);
  EXPECT_EQ(RegionCodeForColour(PackRgb(0, 230, 0)), region::kNone);  // ring round the 12
  EXPECT_EQ(RegionCodeForColour(PackRgb(3, 230, 3)), region::kNone);
  EXPECT_EQ(RegionCodeForColour(PackRgb(0, 0, 1)), region::kNone);
  EXPECT_EQ(RegionCodeForColour(kNoColour), region::kNone);
}

TEST(RegionCode, TableHasDistinctCodesAndColours) {
  std::set<int> codes;
  std::set<std::uint32_t> colours;
  for (const RegionColour& entry : kRegionColours) {
    codes.insert(entry.code);
    colours.insert(entry.packedColour);
  }
  EXPECT_EQ(codes.size(), kRegionColours.size());
  EXPECT_EQ(colours.size(), kRegionColours.size());
  for (int code = 0; code <= 36; ++code) EXPECT_TRUE(codes.count(code)) << code;
  for (int code : {37, 38, 39}) EXPECT_FALSE(codes.count(code)) << code;
  for (int code = 40; code <= 49; ++code) EXPECT_TRUE(codes.count(code)) << code;
}

}  // namespace wheelwatcher
