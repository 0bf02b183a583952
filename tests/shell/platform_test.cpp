#include <gtest/gtest.h>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>

#include "platform/click_sound.h"
#include "platform/settings_store.h"
#include "tests/shell/alsa_to_file.h"

namespace {

QByteArray LittleEndian(quint32 value, int size) {
  QByteArray bytes;
  for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
  return bytes;
}

QByteArray MakeWave(const QByteArray& samples, int sampleRate = 22050) {
  QByteArray format = LittleEndian(1, 2) + LittleEndian(1, 2) + LittleEndian(sampleRate, 4) +
                      LittleEndian(sampleRate * 2, 4) + LittleEndian(2, 2) + LittleEndian(16, 2);
  QByteArray body = "WAVE" + QByteArray("fmt ") + LittleEndian(16, 4) + format + "data" +
                    LittleEndian(samples.size(), 4) + samples;
  return "RIFF" + LittleEndian(body.size(), 4) + body;
}

QByteArray Ramp(int sampleCount) {
  QByteArray samples;
  for (int i = 0; i < sampleCount; ++i) samples += LittleEndian(static_cast<quint16>(i * 37), 2);
  return samples;
}

}  // namespace

TEST(ClickSound, WritesEverySampleToTheDefaultDevice) {
  AlsaDefaultToFile alsa;
  const QByteArray samples = Ramp(1258);
  int beeps = 0;
  ClickSound sound(MakeWave(samples), [&] { ++beeps; });
  sound.Play();
  EXPECT_EQ(alsa.Played(), samples);
  EXPECT_EQ(beeps, 0);
}

TEST(ClickSound, MissingOrBrokenWaveGivesTheDefaultSound) {
  int beeps = 0;
  ClickSound missing(QByteArray(), [&] { ++beeps; });
  missing.Play();
  ClickSound truncated(MakeWave(Ramp(100)).left(50), [&] { ++beeps; });
  truncated.Play();
  QByteArray eightBit = MakeWave(Ramp(100));
  eightBit[34] = 8;  // bits per sample
  ClickSound unsupported(eightBit, [&] { ++beeps; });
  unsupported.Play();
  EXPECT_EQ(beeps, 3);
}

TEST(ClickSound, WithoutASoundDeviceReturnsAtOnce) {
  QTemporaryDir folder;
  const QString configPath = folder.filePath("asound.conf");
  QFile config(configPath);
  ASSERT_TRUE(config.open(QIODevice::WriteOnly));
  config.write("pcm.!default { type no_such_plugin }\n");
  config.close();
  setenv("ALSA_CONFIG_PATH", configPath.toLocal8Bit().constData(), 1);
  int beeps = 0;
  ClickSound sound(MakeWave(Ramp(22050)), [&] { ++beeps; });
  const auto start = std::chrono::steady_clock::now();
  sound.Play();
  unsetenv("ALSA_CONFIG_PATH");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(beeps, 0);
}

TEST(SettingsStore, DefaultsToOneAndRoundTripsTextExactly) {
  SettingsStore store;
  QSettings("KORMEL", "Wheelwatcher").clear();
  EXPECT_EQ(store.ReadSystemText(), "1");
  for (const char* text : {"3", " 4", "abc", "-2", ""}) {
    store.WriteSystemText(text);
    EXPECT_EQ(SettingsStore().ReadSystemText(), text);
  }
  const QString file =
      QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME")) + "/KORMEL/Wheelwatcher.conf";
  // A hand-edited value with a comma is read back as it stands.
  {
    QFile handEdited(file);
    ASSERT_TRUE(handEdited.open(QIODevice::WriteOnly));
    handEdited.write("[Settings]\nSYSTEM=3,4\n");
  }
  EXPECT_EQ(SettingsStore().ReadSystemText(), "3,4");
  store.WriteSystemText("5");
  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_TRUE(written.readAll().contains("[Settings]\nSYSTEM=5"));
}
