#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

// Routes ALSA's "default" device into a file for the life of the object.
class AlsaDefaultToFile {
 public:
  AlsaDefaultToFile() {
    rawPath_ = folder_.filePath("played.raw");
    const QString configPath = folder_.filePath("asound.conf");
    QFile config(configPath);
    EXPECT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("pcm.!default { type file; slave.pcm { type null }; file \"%1\"; "
                                "format \"raw\" }\n")
                     .arg(rawPath_)
                     .toUtf8());
    config.close();
    setenv("ALSA_CONFIG_PATH", configPath.toLocal8Bit().constData(), 1);
  }
  ~AlsaDefaultToFile() { unsetenv("ALSA_CONFIG_PATH"); }

  QByteArray Played() const {
    QFile raw(rawPath_);
    return raw.open(QIODevice::ReadOnly) ? raw.readAll() : QByteArray();
  }

 private:
  QTemporaryDir folder_;
  QString rawPath_;
};
