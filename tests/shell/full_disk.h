// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

namespace wheelwatcher {

// A small file system of its own (a 256 KiB tmpfs) that a test fills to the last byte, as a user's
// full disk. Mounting needs root: Mounted() is false otherwise, and the test skips.
class SmallDisk {
 public:
  SmallDisk() {
    if (geteuid() != 0) return;
    mounted_ = mount("tmpfs", Path("").c_str(), "tmpfs", 0, "size=256k,mode=0777") == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(Path("").c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  std::string Path(const std::string& name) const {
    return folder_.path().toStdString() + (name.empty() ? "" : "/" + name);
  }
  QString QPath(const std::string& name) const { return QString::fromStdString(Path(name)); }

  // Writes `bytes` to a new file, or replaces its content.
  static void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
  }

  // Takes every free byte.
  void Fill() const {
    const int filler = open(Path("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    ASSERT_GE(filler, 0);
    const std::string block(4096, 'f');
    while (write(filler, block.data(), block.size()) > 0) {
    }
    while (write(filler, block.data(), 1) > 0) {
    }
    close(filler);
  }

  // Names in the folder other than the filler and `keep`: what a failed write left behind.
  QStringList Leftovers(const QStringList& keep) const {
    QStringList names = QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(QStringLiteral("filler"));
    for (const QString& name : keep) names.removeAll(name);
    return names;
  }

 private:
  QTemporaryDir folder_;
  bool mounted_ = false;
};

}  // namespace wheelwatcher
