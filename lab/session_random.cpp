// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/session_random.h"

namespace wheelwatcher {

namespace {

std::uint64_t SplitMix64(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint64_t RotateLeft(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

SessionRandom::SessionRandom(std::uint64_t seed) {
  for (std::uint64_t& word : state_) word = SplitMix64(seed);
}

std::uint64_t SessionRandom::NextWord() {
  const std::uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
  const std::uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = RotateLeft(state_[3], 45);
  return result;
}

std::uint8_t SessionRandom::NextByte() {
  if (bytesLeft_ == 0) {
    bytes_ = NextWord();
    bytesLeft_ = 8;
  }
  const auto byte = static_cast<std::uint8_t>(bytes_);
  bytes_ >>= 8;
  --bytesLeft_;
  return byte;
}

int SessionRandom::NextWheelNumber() {
  // Multiply-and-shift of 32 random bits onto 0..36, rejecting the few low products that would
  // favour some numbers.
  constexpr std::uint64_t kNumbers = 37;
  constexpr std::uint64_t kThreshold = ((std::uint64_t{1} << 32) - kNumbers) % kNumbers;
  for (;;) {
    const std::uint64_t product = (NextWord() >> 32) * kNumbers;
    if ((product & 0xFFFFFFFFu) >= kThreshold) return static_cast<int>(product >> 32);
  }
}

std::uint64_t StreamSeed(std::uint64_t runSeed, std::uint64_t sessionIndex, std::uint64_t stream) {
  std::uint64_t state = runSeed;
  std::uint64_t mixed = SplitMix64(state);
  state = mixed ^ sessionIndex;
  mixed = SplitMix64(state);
  state = mixed ^ stream;
  return SplitMix64(state);
}

}  // namespace wheelwatcher
