// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

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
