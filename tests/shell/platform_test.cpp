// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <pwd.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/click_sound.h"
#include "platform/safe_file.h"
#include "platform/settings_store.h"
#include "tests/shell/alsa_to_file.h"
#include "tests/shell/full_disk.h"

namespace wheelwatcher {

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
  {
    ClickSound sound(MakeWave(samples), [&] { ++beeps; });
    sound.Play();
  }  // the end of the sound lets the click finish playing
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
      {"byte-order mark", "\xEF\xBB\xBF[Settings]\r\nSYSTEM=4\r\n", "4",
       "\xEF\xBB\xBF[Settings]\r\nSYSTEM=3\r\n"},
      {"lone CR line ends", "; mine\r[Settings]\rSYSTEM=2\rX=1\r", "2",
       "; mine\r[Settings]\rSYSTEM=3\rX=1\r"},
      {"lone CR, key missing", "[Settings]\rX=1", "1", "[Settings]\rSYSTEM=3\rX=1"},
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

namespace {

using Clock = std::chrono::steady_clock;

// Points the settings at `folder` for the life of the object.
class SettingsFolder {
 public:
  explicit SettingsFolder(const QString& folder) : saved_(qgetenv("XDG_CONFIG_HOME")) {
    setenv("XDG_CONFIG_HOME", folder.toLocal8Bit().constData(), 1);
    QDir().mkpath(folder + "/KORMEL");
  }
  ~SettingsFolder() { setenv("XDG_CONFIG_HOME", saved_.constData(), 1); }
  QString File() const { return SettingsStore().FilePath(); }

 private:
  QByteArray saved_;
};

const QByteArray kHandEdited = "; my notes\n[Settings]\nSYSTEM= 4\n[Guardrails]\nStopLossOn=true\n";

}  // namespace

// The settings are written as the window closes: a full disk or a file the program may write but
// not read must leave every line of the file as it was, and the writer must know.
TEST(SettingsStore, AFullDiskOrAnUnreadableFileIsLeftAsItWas) {
  SmallDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  SettingsFolder settings(disk.QPath("config"));
  SmallDisk::Write(settings.File(), kHandEdited);

  // Mode 0200 for a user who is not root: root reads every file.
  ASSERT_EQ(chmod(disk.Path("config/KORMEL").c_str(), 0777), 0);
  ASSERT_EQ(chown(settings.File().toLocal8Bit().constData(), 65534, 65534), 0);
  ASSERT_EQ(chmod(settings.File().toLocal8Bit().constData(), 0200), 0);
  ASSERT_EQ(seteuid(65534), 0);
  const bool writtenUnreadable = SettingsStore().WriteSystemText("3");
  ASSERT_EQ(seteuid(0), 0);
  EXPECT_FALSE(writtenUnreadable);
  EXPECT_EQ(SmallDisk::Read(settings.File()), kHandEdited);

  ASSERT_EQ(chmod(settings.File().toLocal8Bit().constData(), 0644), 0);
  disk.Fill();
  for (const std::string& text : {std::string("3"), std::string(20000, '3')}) {
    SCOPED_TRACE(text.size());
    EXPECT_FALSE(SettingsStore().WriteSystemText(text));
    EXPECT_EQ(SmallDisk::Read(settings.File()), kHandEdited);
  }
  GuardrailLimits limits;
  limits.stopWin = {true, 50};
  EXPECT_FALSE(SettingsStore().WriteGuardrailLimits(limits));
  EXPECT_EQ(SmallDisk::Read(settings.File()), kHandEdited);
  EXPECT_TRUE(QDir(disk.QPath("config/KORMEL")).entryList(QDir::Files | QDir::Hidden) ==
              QStringList{"Wheelwatcher.conf"});
}

// Something other than a settings file at its place is neither waited on, nor read without end,
// nor replaced.
TEST(SettingsStore, WhatIsNotARegularFileOfSettingsIsNeitherWaitedOnNorReplaced) {
  QTemporaryDir folder;
  SettingsFolder settings(folder.path());
  const QByteArray path = settings.File().toLocal8Bit();
  const struct {
    const char* name;
    std::function<void()> make;
  } cases[] = {
      {"FIFO", [&] { ASSERT_EQ(mkfifo(path.constData(), 0644), 0); }},
      {"link to /dev/zero", [&] { ASSERT_EQ(symlink("/dev/zero", path.constData()), 0); }},
      {"folder", [&] { ASSERT_EQ(mkdir(path.constData(), 0755), 0); }},
      {"a file far too large",
       [&] {
         SmallDisk::Write(settings.File(), "[Settings]\nSYSTEM=3\n" + QByteArray(300000, ';'));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    struct stat before {};
    ASSERT_EQ(lstat(path.constData(), &before), 0);
    const auto start = Clock::now();
    EXPECT_EQ(SettingsStore().ReadSystemText(), "1");
    EXPECT_FALSE(SettingsStore().WriteSystemText("2"));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    struct stat after {};
    ASSERT_EQ(lstat(path.constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_size, before.st_size);
    QFile::remove(settings.File());
    rmdir(path.constData());
  }
}

TEST(SettingsStore, WithoutHomeTheSettingsGoToTheAccountsHomeNeverToTheRoot) {
  const QByteArray home = qgetenv("HOME");
  const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  unsetenv("XDG_CONFIG_HOME");
  const QString path = SettingsStore().FilePath();
  setenv("HOME", home.constData(), 1);
  setenv("XDG_CONFIG_HOME", configHome.constData(), 1);
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  EXPECT_EQ(path, QString::fromLocal8Bit(account->pw_dir) + "/.config/KORMEL/Wheelwatcher.conf");
}

// A replaced file keeps its permissions and the links that lead to it; what is not a regular
// file is refused.
TEST(PublishFile, KeepsPermissionsFollowsLinksAndRefusesWhatIsNoFile) {
  QTemporaryDir folder;
  const std::string target = folder.filePath("target.txt").toStdString();
  const std::string link = folder.filePath("link.txt").toStdString();
  SmallDisk::Write(QString::fromStdString(target), "old");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_EQ(PublishFile(link, "new"), "");
  struct stat status {};
  ASSERT_EQ(lstat(link.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(SmallDisk::Read(QString::fromStdString(target)), "new");

  const std::string fifo = folder.filePath("fifo").toStdString();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(PublishFile(fifo, "x"), "not a regular file");
  ASSERT_EQ(lstat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_EQ(QDir(folder.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            (QStringList{"fifo", "link.txt", "target.txt"}));
}

// ALSA's "default" writes into a FIFO nobody reads: the device blocks for good. Clicks and the end
// of the program must not wait for it.
TEST(ClickSound, ADeviceThatBlocksHoldsUpNeitherPlayNorTheEnd) {
  BlockingAlsaDefault device;
  const auto start = Clock::now();
  {
    ClickSound sound(MakeWave(Ramp(1258)), [] {});
    for (int press = 0; press < 3; ++press) sound.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the device is stuck by now
    sound.Play();
  }
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

}  // namespace wheelwatcher
