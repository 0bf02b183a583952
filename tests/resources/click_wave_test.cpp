// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace wheelwatcher {

namespace {

class ClickWaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(QStringLiteral(":/click.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    bytes_ = file.readAll();
    ASSERT_GE(bytes_.size(), 44);
    for (int offset = 44; offset + 1 < bytes_.size(); offset += 2) {
      samples_.push_back(qFromLittleEndian<std::int16_t>(bytes_.constData() + offset));
    }
  }
  std::uint32_t U32(int offset) const {
    return qFromLittleEndian<std::uint32_t>(bytes_.constData() + offset);
  }
  std::uint16_t U16(int offset) const {
    return qFromLittleEndian<std::uint16_t>(bytes_.constData() + offset);
  }
  double Rms(std::size_t from, std::size_t to) const {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(samples_[i]) * samples_[i];
    return std::sqrt(sum / static_cast<double>(to - from));
  }

  QByteArray bytes_;
  std::vector<std::int16_t> samples_;
};

TEST_F(ClickWaveTest, IsSixteenBitMonoPcmAt22050WithItsDataSize) {
  EXPECT_EQ(bytes_.left(4), QByteArray("RIFF"));
  EXPECT_EQ(U32(4), static_cast<std::uint32_t>(bytes_.size() - 8));
  EXPECT_EQ(bytes_.mid(8, 8), QByteArray("WAVEfmt "));
  EXPECT_EQ(U32(16), 16u);
  EXPECT_EQ(U16(20), 1);  // PCM
  EXPECT_EQ(U16(22), 1);  // mono
  EXPECT_EQ(U32(24), 22050u);
  EXPECT_EQ(U32(28), 44100u);
  EXPECT_EQ(U16(32), 2);
  EXPECT_EQ(U16(34), 16);
  EXPECT_EQ(bytes_.mid(36, 4), QByteArray("data"));
  EXPECT_EQ(U32(40), 2516u);
  EXPECT_EQ(bytes_.size(), 44 + 2516);
}

// A click: loud at once, then dying away; not silence and not a steady tone.
TEST_F(ClickWaveTest, StartsSharplyAndDecaysToSilence) {
  ASSERT_EQ(samples_.size(), 1258u);
  int peakIndex = 0;
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    if (std::abs(samples_[i]) > std::abs(samples_[peakIndex])) peakIndex = static_cast<int>(i);
  }
  EXPECT_GT(std::abs(samples_[peakIndex]), 16000);
  EXPECT_LT(peakIndex, 100);  // within the first 5 ms
  const double start = Rms(0, 220);
  const double end = Rms(1038, 1258);
  EXPECT_GT(start, 20 * end);
  EXPECT_LT(std::abs(samples_.back()), 50);
  EXPECT_LT(std::abs(samples_.front()), 2000);  // no step into the first sample
}

}  // namespace

}  // namespace wheelwatcher
