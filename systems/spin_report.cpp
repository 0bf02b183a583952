// SPDX-License-Identifier: GPL-3.0-or-later
#include "systems/spin_report.h"

#include <array>
#include <charconv>
#include <utility>

#include "engine/category_tallies.h"
#include "systems/betting_systems.h"

namespace wheelwatcher {

namespace {

// Black before Red, Evens before Odds, the columns before the dozens: the report's fixed order.
constexpr std::array<std::pair<const char*, Category>, kCategoryCount> kSections = {{
    {"\r\n\r\nBlack Spins ", Category::kBlacks},
    {"\r\n\r\nRed Spins ", Category::kReds},
    {"\r\n\r\nEvens Spins ", Category::kEvens},
    {"\r\n\r\nOdds Spins ", Category::kOdds},
    {"\r\n\r\nHigh Spins ", Category::kHigh},
    {"\r\n\r\nLow Spins ", Category::kLow},
    {"\r\n\r\nMiddle Spins ", Category::kMiddle},
    {"\r\n\r\nLeft Spins ", Category::kLeft},
    {"\r\n\r\nRight Spins ", Category::kRight},
    {"\r\n\r\nFirst Spins ", Category::kFirst},
    {"\r\n\r\nSecond Spins ", Category::kSecond},
    {"\r\n\r\nThird Spins ", Category::kThird},
}};

void AppendSpinList(std::string& text, std::span<const std::int32_t> spins) {
  char digits[16];
  for (std::int32_t spin : spins) {
    const auto end = std::to_chars(digits, digits + sizeof digits, spin).ptr;
    text.append(digits, end);
    text += ", ";
  }
}

}  // namespace

std::string BuildSpinList(std::span<const std::int32_t> spins) {
  std::string list;
  list.reserve(spins.size() * 4);
  AppendSpinList(list, spins);
  return list;
}

std::string BuildSpinReport(int systemNumber, std::span<const std::int32_t> spins) {
  std::string report;
  report.reserve(spins.size() * 4 + 512);
  report += "\r\n";
  report += GetSystemName(systemNumber, false);
  report += "\r\n\r\nSpin History ";
  AppendSpinList(report, spins);
  for (const auto& [label, category] : kSections) {
    report += label;
    report += std::to_string(CategorySpins(category, CategoryMode::kTally, spins));
  }
  return report;
}

}  // namespace wheelwatcher
