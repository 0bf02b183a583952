// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace wheelwatcher {

// Routes ALSA's "default" device into a file for the life of the object. Exclusive: the device
// can be held by one at a time, like hardware without mixing (tests/support/exclusive_pcm_plugin).
class AlsaDefaultToFile {
 public:
  enum class Sharing { kShared, kExclusive };

  explicit AlsaDefaultToFile(Sharing sharing = Sharing::kShared) {
    rawPath_ = folder_.filePath("played.raw");
    openLogPath_ = folder_.filePath("opens.log");
    const QString toFile =
        QStringLiteral("{ type file; slave.pcm { type null }; file \"%1\"; format \"raw\" }")
            .arg(rawPath_);
    QString config = QStringLiteral("pcm.!default %1\n").arg(toFile);
#ifdef WHEELWATCHER_EXCLUSIVE_PCM_PLUGIN
    if (sharing == Sharing::kExclusive) {
      config = QStringLiteral(
                   "pcm_type.exclusive { lib \"%1\" }\n"
                   "pcm.!default { type exclusive; lock \"%2\"; log \"%3\"; "
                   "slave.pcm %4 }\n")
                   .arg(WHEELWATCHER_EXCLUSIVE_PCM_PLUGIN, folder_.filePath("device.lock"),
                        openLogPath_, toFile);
    }
#else
    EXPECT_EQ(sharing, Sharing::kShared) << "this test binary has no exclusive device";
#endif
    const QString configPath = folder_.filePath("asound.conf");
    QFile file(configPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(config.toUtf8());
    file.close();
    setenv("ALSA_CONFIG_PATH", configPath.toLocal8Bit().constData(), 1);
  }
  ~AlsaDefaultToFile() { unsetenv("ALSA_CONFIG_PATH"); }

  QByteArray Played() const {
    QFile raw(rawPath_);
    return raw.open(QIODevice::ReadOnly) ? raw.readAll() : QByteArray();
  }
  // The mode of every open of an exclusive device, oldest first: "block" or "nonblock".
  QList<QByteArray> OpenModes() const {
    QFile log(openLogPath_);
    QList<QByteArray> modes;
    if (log.open(QIODevice::ReadOnly)) modes = log.readAll().split('\n');
    modes.removeAll(QByteArray());
    return modes;
  }

 private:
  QTemporaryDir folder_;
  QString rawPath_;
  QString openLogPath_;
};

// Routes ALSA's "default" device into a FIFO nobody reads, so playing blocks for good, as a stalled
// sound server does. At the end a reader drains it for a while, freeing whatever was stuck.
class BlockingAlsaDefault {
 public:
  BlockingAlsaDefault() {
    fifo_ = folder_.filePath("device.fifo").toLocal8Bit();
    EXPECT_EQ(mkfifo(fifo_.constData(), 0600), 0);
    const QString configPath = folder_.filePath("asound.conf");
    QFile file(configPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("pcm.!default { type file; slave.pcm { type null }; file \"" + fifo_ +
               "\"; format \"raw\" }\n");
    file.close();
    setenv("ALSA_CONFIG_PATH", configPath.toLocal8Bit().constData(), 1);
  }
  ~BlockingAlsaDefault() {
    unsetenv("ALSA_CONFIG_PATH");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    const int reader = open(fifo_.constData(), O_RDONLY | O_NONBLOCK);
    char buffer[4096];
    while (reader >= 0 && std::chrono::steady_clock::now() < until) {
      if (read(reader, buffer, sizeof buffer) <= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    if (reader >= 0) close(reader);
  }

 private:
  QTemporaryDir folder_;
  QByteArray fifo_;
};

}  // namespace wheelwatcher
