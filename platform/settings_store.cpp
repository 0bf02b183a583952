// SPDX-License-Identifier: GPL-3.0-or-later
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

struct KeyPlace {
  std::optional<ByteRange> value;       // the bytes after "=" on the key's line
  std::optional<qsizetype> afterGroup;  // where the line after the group's header starts
};

// The line holding `key` in `group`, read the way an INI reader splits it: groups in brackets,
// keys before the first "=", blanks around keys and group names ignored.
KeyPlace FindKey(const QByteArray& file, const QByteArray& group, const QByteArray& key) {
  KeyPlace place;
  bool inGroup = false;
  for (qsizetype lineStart = 0; lineStart < file.size();) {
    qsizetype lineEnd = file.indexOf('\n', lineStart);
    const qsizetype next = lineEnd < 0 ? file.size() : lineEnd + 1;
    if (lineEnd < 0) lineEnd = file.size();
    if (lineEnd > lineStart && file[lineEnd - 1] == '\r') --lineEnd;
    const QByteArray line = file.mid(lineStart, lineEnd - lineStart);
    const QByteArray trimmed = line.trimmed();
    if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
      inGroup = trimmed.mid(1, trimmed.size() - 2).trimmed() == group;
      if (inGroup && !place.afterGroup) place.afterGroup = next;
    } else if (const qsizetype equals = line.indexOf('=');
               inGroup && equals >= 0 && line.left(equals).trimmed() == key) {
      place.value = ByteRange{lineStart + equals + 1, lineEnd};
      return place;
    }
    lineStart = next;
  }
  return place;
}

std::optional<QByteArray> ReadValue(const QByteArray& file, const QByteArray& group,
                                    const QByteArray& key) {
  const std::optional<ByteRange> value = FindKey(file, group, key).value;
  if (!value) return std::nullopt;
  return file.mid(value->start, value->end - value->start);
}

// Replaces the value where the key stands, else adds the key at the head of its group, else adds
// the group at the end of the file.
void WriteValue(QByteArray& file, const QByteArray& group, const QByteArray& key,
                const QByteArray& value) {
  const KeyPlace place = FindKey(file, group, key);
  if (place.value) {
    file.replace(place.value->start, place.value->end - place.value->start, value);
  } else if (place.afterGroup) {
    QByteArray line = key + '=' + value + '\n';
    if (*place.afterGroup == file.size() && !file.endsWith('\n')) line.prepend('\n');
    file.insert(*place.afterGroup, line);
  } else {
    if (!file.isEmpty() && !file.endsWith('\n')) file += '\n';
    file += '[' + group + "]\n" + key + '=' + value + '\n';
  }
}

const QByteArray kSettingsGroup = "Settings";
const QByteArray kSystemKey = "SYSTEM";
const QByteArray kGuardrailsGroup = "Guardrails";

struct GuardrailKeys {
  Guardrail guardrail;
  QByteArray on;
  QByteArray value;
  std::int64_t maximum;
};
const GuardrailKeys kGuardrailKeys[] = {
    {Guardrail::kStopLoss, "StopLossOn", "StopLoss", 1000000000},
    {Guardrail::kStopWin, "StopWinOn", "StopWin", 1000000000},
    {Guardrail::kSessionTime, "SessionTimeOn", "SessionMinutes", 24 * 60},
};

}  // namespace

SettingsStore::SettingsStore()
    : filePath_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/KORMEL/Wheelwatcher.conf")) {}

QByteArray SettingsStore::ReadFile() const {
  QFile file(filePath_);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SettingsStore::WriteFile(const QByteArray& file) {
  QDir().mkpath(QFileInfo(filePath_).path());
  QSaveFile out(filePath_);
  if (out.open(QIODevice::WriteOnly) && out.write(file) == file.size()) out.commit();
}

std::string SettingsStore::ReadSystemText() const {
  return ReadValue(ReadFile(), kSettingsGroup, kSystemKey).value_or("1").toStdString();
}

void SettingsStore::WriteSystemText(const std::string& text) {
  QByteArray file = ReadFile();
  WriteValue(file, kSettingsGroup, kSystemKey, QByteArray::fromStdString(text));
  WriteFile(file);
}

GuardrailLimits SettingsStore::ReadGuardrailLimits(std::vector<std::string>* rejected) const {
  const QByteArray file = ReadFile();
  GuardrailLimits limits;
  for (const GuardrailKeys& keys : kGuardrailKeys) {
    GuardrailLimit& limit = limits[keys.guardrail];
    limit.on = ReadValue(file, kGuardrailsGroup, keys.on).value_or("").trimmed() == "true";
    bool isNumber = false;
    const std::optional<QByteArray> text = ReadValue(file, kGuardrailsGroup, keys.value);
    const qlonglong value = text.value_or("").trimmed().toLongLong(&isNumber);
    if (isNumber && value >= 1 && value <= keys.maximum) {
      limit.value = value;
    } else if (text && rejected != nullptr) {
      rejected->push_back((keys.value + '=' + text->trimmed()).toStdString());
    }
  }
  return limits;
}

void SettingsStore::WriteGuardrailLimits(const GuardrailLimits& limits) {
  QByteArray file = ReadFile();
  for (const GuardrailKeys& keys : kGuardrailKeys) {
    const GuardrailLimit& limit = limits[keys.guardrail];
    WriteValue(file, kGuardrailsGroup, keys.on, limit.on ? "true" : "false");
    WriteValue(file, kGuardrailsGroup, keys.value, QByteArray::number(limit.value));
  }
  WriteFile(file);
}
