// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "tools/artgen/art.h"

namespace wheelwatcher {

namespace {

constexpr int kSampleRate = 22050;
constexpr int kSampleCount = 1258;  // 2516 bytes of 16-bit samples, about 57 ms

// A fixed-seed generator of our own, so the noise is the same on every machine and library.
class NoiseSource {
 public:
  explicit NoiseSource(std::uint32_t seed) : state_(seed) {}
  // Uniform in [-1, 1).
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  std::uint32_t state_;
};

struct Mode {
  double frequency;  // Hz
  double decay;      // seconds to fall to 1/e
  double level;
  double phase;
};

// One strike: a short noise burst for the contact, then the ringing of the struck parts.
double Strike(double time, double level, NoiseSource& noise) {
  if (time < 0) return 0;
  static constexpr Mode kBody[] = {
      {3150.0, 0.0040, 0.55, 0.3},
      {1870.0, 0.0070, 0.40, 1.1},
      {5400.0, 0.0018, 0.30, 2.0},
      {760.0, 0.0110, 0.18, 0.0},
  };
  double value = noise.Next() * std::exp(-time / 0.0006) * 0.9;
  for (const Mode& mode : kBody) {
    value += mode.level * std::exp(-time / mode.decay) *
             std::sin(2 * std::numbers::pi * mode.frequency * time + mode.phase);
  }
  return level * value;
}

void Append16(QByteArray& bytes, std::uint16_t value) {
  char buffer[2];
  qToLittleEndian(value, buffer);
  bytes.append(buffer, 2);
}

void Append32(QByteArray& bytes, std::uint32_t value) {
  char buffer[4];
  qToLittleEndian(value, buffer);
  bytes.append(buffer, 4);
}

}  // namespace

QByteArray MakeClickWave() {
  NoiseSource noise(0x5EED1234u);
  std::vector<double> samples(kSampleCount);
  for (int i = 0; i < kSampleCount; ++i) {
    const double time = static_cast<double>(i) / kSampleRate;
    // The latch hits, then its catch falls back a few milliseconds later, more softly.
    double value = Strike(time - 0.0005, 1.0, noise) + Strike(time - 0.0062, 0.35, noise);
    value += noise.Next() * 0.02 * std::exp(-time / 0.015);
    samples[i] = value;
  }
  // The last 5 ms fade to silence so the sound ends without a step.
  const int fadeLength = kSampleRate * 5 / 1000;
  for (int i = 0; i < fadeLength; ++i) {
    samples[kSampleCount - 1 - i] *= static_cast<double>(i) / fadeLength;
  }
  double peak = 0;
  for (double sample : samples) peak = std::max(peak, std::abs(sample));
  const double scale = 0.85 * 32767.0 / peak;

  QByteArray data;
  for (double sample : samples) {
    const long rounded = std::lround(std::clamp(sample * scale, -32767.0, 32767.0));
    Append16(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(rounded)));
  }

  QByteArray wave;
  wave.append("RIFF");
  Append32(wave, 36 + data.size());
  wave.append("WAVE");
  wave.append("fmt ");
  Append32(wave, 16);
  Append16(wave, 1);  // PCM
  Append16(wave, 1);  // mono
  Append32(wave, kSampleRate);
  Append32(wave, kSampleRate * 2);
  Append16(wave, 2);
  Append16(wave, 16);
  wave.append("data");
  Append32(wave, data.size());
  wave.append(data);
  return wave;
}

}  // namespace wheelwatcher
