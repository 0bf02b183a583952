// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace wheelwatcher {

// Region codes of the layout: 0 to 36 a number, 40 to 49 a button, 100 nothing clickable.
namespace region {
inline constexpr int kLiveWheel = 40;
inline constexpr int kHelp = 41;
inline constexpr int kSystem = 42;
inline constexpr int kStake = 43;
inline constexpr int kRewind = 44;
inline constexpr int kClearAll = 48;
inline constexpr int kNone = 100;
// Codes below this one show the hand cursor.
inline constexpr int kFirstUnclickable = 50;
}  // namespace region

// A colour packed with red in the low byte, then green, then blue.
constexpr std::uint32_t PackRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red | (green << 8) | (static_cast<std::uint32_t>(blue) << 16);
}

// A colour that no pixel has: used for "no colour recorded" and for unreadable pixels.
inline constexpr std::uint32_t kNoColour = 0xFFFFFFFF;

struct RegionColour {
  int code;
  std::uint32_t packedColour;
};

// The hit map's colour table: each clickable area is painted in its own colour.
extern const std::array<RegionColour, 47> kRegionColours;

// The region code of a hit-map colour; only an exact match counts, everything else is kNone.
int RegionCodeForColour(std::uint32_t packedColour);

}  // namespace wheelwatcher
