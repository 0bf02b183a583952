// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/region_code.h"

namespace wheelwatcher {

const std::array<RegionColour, 47> kRegionColours = {{
    {0, PackRgb(0, 0, 0)},        {1, PackRgb(248, 248, 152)},  {2, PackRgb(48, 48, 48)},
    {3, PackRgb(0, 0, 56)},       {4, PackRgb(0, 48, 96)},      {5, PackRgb(128, 0, 128)},
    {6, PackRgb(0, 128, 128)},    {7, PackRgb(248, 184, 184)},  {8, PackRgb(48, 152, 96)},
    {9, PackRgb(152, 0, 248)},    {10, PackRgb(48, 96, 248)},   {11, PackRgb(248, 152, 0)},
    {12, PackRgb(0, 232, 0)},     {13, PackRgb(128, 128, 128)}, {14, PackRgb(255, 0, 255)},
    {15, PackRgb(48, 48, 0)},     {16, PackRgb(248, 152, 200)}, {17, PackRgb(248, 96, 0)},
    {18, PackRgb(208, 0, 0)},     {19, PackRgb(0, 48, 0)},      {20, PackRgb(200, 248, 200)},
    {21, PackRgb(48, 48, 152)},   {22, PackRgb(192, 0, 0)},     {23, PackRgb(48, 200, 200)},
    {24, PackRgb(192, 192, 192)}, {25, PackRgb(128, 0, 0)},     {26, PackRgb(176, 176, 0)},
    {27, PackRgb(96, 96, 152)},   {28, PackRgb(0, 136, 0)},     {29, PackRgb(248, 128, 128)},
    {30, PackRgb(152, 200, 0)},   {31, PackRgb(200, 152, 248)}, {32, PackRgb(152, 48, 0)},
    {33, PackRgb(248, 200, 152)}, {34, PackRgb(128, 128, 0)},   {35, PackRgb(88, 248, 88)},
    {36, PackRgb(248, 0, 0)},     {40, PackRgb(153, 0, 0)},     {41, PackRgb(255, 255, 51)},
    {42, PackRgb(153, 51, 0)},    {43, PackRgb(0, 0, 153)},     {44, PackRgb(153, 51, 153)},
    {45, PackRgb(255, 51, 51)},   {46, PackRgb(51, 255, 255)},  {47, PackRgb(153, 102, 0)},
    {48, PackRgb(153, 153, 153)}, {49, PackRgb(102, 102, 102)},
}};

int RegionCodeForColour(std::uint32_t packedColour) {
  for (const RegionColour& entry : kRegionColours) {
    if (entry.packedColour == packedColour) return entry.code;
  }
  return region::kNone;
}

}  // namespace wheelwatcher
