#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>

namespace {

struct ByteRange {
  qsizetype start;
  qsizetype end;
};

struct SystemPlace {
  std::optional<ByteRange> value;          // the bytes after "=" on the SYSTEM line
  std::optional<qsizetype> afterSettings;  // where the line after "[Settings]" starts
};

// The line holding SYSTEM in group Settings, read the way an INI reader splits it: groups in
// brackets, keys before the first "=", blanks around keys and group names ignored.
SystemPlace FindSystem(const QByteArray& file) {
  SystemPlace place;
  bool inSettings = false;
  for (qsizetype lineStart = 0; lineStart < file.size();) {
    qsizetype lineEnd = file.indexOf('\n', lineStart);
    const qsizetype next = lineEnd < 0 ? file.size() : lineEnd + 1;
    if (lineEnd < 0) lineEnd = file.size();
    if (lineEnd > lineStart && file[lineEnd - 1] == '\r') --lineEnd;
    const QByteArray line = file.mid(lineStart, lineEnd - lineStart);
    const QByteArray trimmed = line.trimmed();
    if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
      inSettings = trimmed.mid(1, trimmed.size() - 2).trimmed() == "Settings";
      if (inSettings && !place.afterSettings) place.afterSettings = next;
    } else if (const qsizetype equals = line.indexOf('=');
               inSettings && equals >= 0 && line.left(equals).trimmed() == "SYSTEM") {
      place.value = ByteRange{lineStart + equals + 1, lineEnd};
      return place;
    }
    lineStart = next;
  }
  return place;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

SettingsStore::SettingsStore()
    : filePath_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/KORMEL/Wheelwatcher.conf")) {}

std::string SettingsStore::ReadSystemText() const {
  const QByteArray file = ReadFile(filePath_);
  const std::optional<ByteRange> value = FindSystem(file).value;
  if (!value) return "1";
  return file.mid(value->start, value->end - value->start).toStdString();
}

void SettingsStore::WriteSystemText(const std::string& text) {
  QByteArray file = ReadFile(filePath_);
  const QByteArray value = QByteArray::fromStdString(text);
  const SystemPlace place = FindSystem(file);
  if (place.value) {
    file.replace(place.value->start, place.value->end - place.value->start, value);
  } else if (place.afterSettings) {
    QByteArray line = "SYSTEM=" + value + '\n';
    if (*place.afterSettings == file.size() && !file.endsWith('\n')) line.prepend('\n');
    file.insert(*place.afterSettings, line);
  } else {
    if (!file.isEmpty() && !file.endsWith('\n')) file += '\n';
    file += "[Settings]\nSYSTEM=" + value + '\n';
  }
  QDir().mkpath(QFileInfo(filePath_).path());
  QSaveFile out(filePath_);
  if (out.open(QIODevice::WriteOnly) && out.write(file) == file.size()) out.commit();
}
