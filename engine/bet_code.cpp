// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/bet_code.h"

#include <array>

namespace wheelwatcher {

namespace {

constexpr std::uint16_t Bit(Category category) {
  return static_cast<std::uint16_t>(1u << static_cast<int>(category));
}

constexpr bool IsRed(int n) {
  constexpr std::array<int, 18> kReds = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                         19, 21, 23, 25, 27, 30, 32, 34, 36};
  for (int red : kReds) {
    if (red == n) return true;
  }
  return false;
}

// One bit per category for every number 0..36, so a membership test is a single lookup.
constexpr std::array<std::uint16_t, kHighestNumber + 1> MakeMemberships() {
  std::array<std::uint16_t, kHighestNumber + 1> sets{};
  for (int n = 1; n <= kHighestNumber; ++n) {
    std::uint16_t bits = 0;
    bits |= IsRed(n) ? Bit(Category::kReds) : Bit(Category::kBlacks);
    bits |= n % 2 == 1 ? Bit(Category::kOdds) : Bit(Category::kEvens);
    bits |= n >= 19 ? Bit(Category::kHigh) : Bit(Category::kLow);
    bits |= n <= 12   ? Bit(Category::kFirst)
            : n <= 24 ? Bit(Category::kSecond)
                      : Bit(Category::kThird);
    bits |= n % 3 == 1   ? Bit(Category::kLeft)
            : n % 3 == 2 ? Bit(Category::kMiddle)
                         : Bit(Category::kRight);
    sets[n] = bits;
  }
  return sets;
}

constexpr auto kMemberships = MakeMemberships();

}  // namespace

bool IsInCategory(int number, Category category) {
  if (number < 0 || number > kHighestNumber) return false;
  return (kMemberships[number] & Bit(category)) != 0;
}

}  // namespace wheelwatcher
