// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

TEST(SettingsStore, ReadsAndWritesTheSystemLineAloneAndLeavesTheRestOfTheFile) {
  const QString path =
      QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME")) + "/KORMEL/Wheelwatcher.conf";
  const auto writeFile = [&](const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  const auto readFile = [&] {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };

  QFile::remove(path);
  EXPECT_EQ(SettingsStore().ReadSystemText(), "1");
  SettingsStore().WriteSystemText("5");  // a first run creates the file
  EXPECT_EQ(readFile(), "[Settings]\nSYSTEM=5\n");

  const struct {
    const char* name;
    QByteArray before;
    std::string read;  // "1" when there is no SYSTEM line
    QByteArray after;  // once "3" is written
  } cases[] = {
      {"a comma and other lines", "; mine\r\n[Other]\nSYSTEM=9\n[Settings]\nSYSTEM=3,4\r\nX=1",
       "3,4", "; mine\r\n[Other]\nSYSTEM=9\n[Settings]\nSYSTEM=3\r\nX=1"},
      {"blanks around the key", "[ Settings ]\n SYSTEM = 4 \n", " 4 ",
       "[ Settings ]\n SYSTEM =3\n"},
      {"group without the key", "[Settings]\nX=1\n", "1", "[Settings]\nSYSTEM=3\nX=1\n"},
      {"group last, no line end", "[Settings]", "1", "[Settings]\nSYSTEM=3\n"},
      {"key only in another group", "[Other]\nSYSTEM=2", "1",
       "[Other]\nSYSTEM=2\n[Settings]\nSYSTEM=3\n"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.name);
    writeFile(each.before);
    EXPECT_EQ(SettingsStore().ReadSystemText(), each.read);
    SettingsStore().WriteSystemText("3");
    EXPECT_EQ(readFile(), each.after);
  }
}

// Guardrails share the file: setting them leaves a hand-edited SYSTEM and every other line as they
// were, and they read back as written.
TEST(SettingsStore, GuardrailsGoInTheirOwnGroupAndLeaveTheRestOfTheFile) {
  const QString path =
      QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME")) + "/KORMEL/Wheelwatcher.conf";
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; mine\r\n[Settings]\nSYSTEM= 4\n");
  }
  GuardrailLimits limits;
  limits.stopLoss = {true, 75};
  limits.sessionMinutes = {true, 90};
  SettingsStore().WriteGuardrailLimits(limits);

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            "; mine\r\n[Settings]\nSYSTEM= 4\n[Guardrails]\nSessionMinutes=90\nSessionTimeOn=true\n"
            "StopWin=100\nStopWinOn=false\nStopLoss=75\nStopLossOn=true\n");
  EXPECT_EQ(SettingsStore().ReadSystemText(), " 4");
  EXPECT_EQ(SettingsStore().ReadGuardrailLimits(), limits);
}
