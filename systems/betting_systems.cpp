// SPDX-License-Identifier: GPL-3.0-or-later
#include "systems/betting_systems.h"

#include <array>
#include <cstdint>

#include "systems/random_bytes.h"

namespace wheelwatcher {

namespace {

struct SystemTraits {
  const char* name;
  double stakeTarget;
  double payoutDivisor;
};

// Systems 2 and 3 aim at a quarter stake of profit (0.24, as a double) on an even-money bet.
constexpr std::array<SystemTraits, 5> kSystems = {{
    {"KAVRI", 24, 35},
    {"MODENT", 0.24, 1},
    {"TRAVO", 0.24, 1},
    {"VESPIN", 24, 33},
    {"DALQUE", 24, 32},
}};

bool IsSystem(int systemNumber) {
  return systemNumber >= kFirstSystem && systemNumber <= kLastSystem;
}

const SystemTraits& Traits(int systemNumber) {
  return kSystems[IsSystem(systemNumber) ? systemNumber - 1 : 0];
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Systems 4 and 5: a number always, outside chips only while BANK is above the limits.
BetCode NumberWithOutsideBets(Money bank, int baseStake, int dozenLimit, int evenLimit,
                              std::span<const std::int32_t> spins, RandomBytes& randomBytes) {
  BetCode code = NumberPick(spins, randomBytes);
  if (bank >= SaturatingMultiply(-dozenLimit, baseStake)) {
    code += 1000 * (CategoryPick(randomBytes) + 1);
    if (bank >= SaturatingMultiply(-evenLimit, baseStake)) {
      code += 100 * (CategoryPick(randomBytes) + 1);
    }
  }
  return code;
}

}  // namespace

std::string GetSystemName(int systemNumber, bool shortName) {
  if (!IsSystem(systemNumber)) return "Error";
  const std::string name = Traits(systemNumber).name;
  return shortName ? "SY  " + name : "You are using system " + name;
}

double StakeTarget(int systemNumber) { return Traits(systemNumber).stakeTarget; }

double PayoutDivisor(int systemNumber) { return Traits(systemNumber).payoutDivisor; }

Money StakeForDeficit(int systemNumber, int baseStake, Money deficit) {
  // The quotient rounds up only when its fraction is at least 0.1.
  const double target = static_cast<double>(baseStake) * StakeTarget(systemNumber);
  const double x = (static_cast<double>(deficit) + target) / PayoutDivisor(systemNumber) + 0.9;
  const Money stake = SaturatingFromDouble(x);
  return stake < baseStake ? baseStake : stake;
}

int NumberPick(std::span<const std::int32_t> spins, RandomBytes& randomBytes) {
  const std::size_t count = spins.size();
  if (count >= 5) {
    const std::int32_t last = spins[count - 1];
    if (spins[count - 2] == last && spins[count - 3] == last && spins[count - 4] == last) {
      return last;
    }
  }
  return randomBytes.NextByte() % 37;
}

int CategoryPick(RandomBytes& randomBytes) { return randomBytes.NextByte() % 6; }

BetCode ChooseBetCode(int systemNumber, Money bank, int baseStake,
                      std::span<const std::int32_t> spins, RandomBytes& randomBytes) {
  switch (systemNumber) {
    case 2:
      return kNoNumber + 100 * (CategoryPick(randomBytes) + 1);
    case 3: {
      const int dozenColumn = CategoryPick(randomBytes);
      const int evenChance = CategoryPick(randomBytes);
      return kNoNumber + 1000 * (dozenColumn + 1) + 100 * (evenChance + 1);
    }
    case 4:
      return NumberWithOutsideBets(bank, baseStake, 50, 40, spins, randomBytes);
    case 5:
      return NumberWithOutsideBets(bank, baseStake, 60, 50, spins, randomBytes);
    default:
      return NumberPick(spins, randomBytes);
  }
}

int SystemNumberFromStoredText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Only whether the value lies in 1..5 matters, so the magnitude is capped instead of overflowing.
  constexpr std::int64_t kCap = 1000;
  std::int64_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > kCap) value = kCap;
    ++i;
  }
  if (negative) value = -value;
  return value < kFirstSystem || value > kLastSystem ? kFirstSystem : static_cast<int>(value);
}

}  // namespace wheelwatcher
