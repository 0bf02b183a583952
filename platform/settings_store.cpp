// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_store.h"

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/safe_file.h"

namespace wheelwatcher {

namespace {

struct ByteRange {
  qsizetype start;
  qsizetype end;
};

struct KeyPlace {
  std::optional<ByteRange> value;       // the bytes after "=" on the key's line
  std::optional<qsizetype> afterGroup;  // where the line after the group's header starts
};

// A hand-edited file may start with a UTF-8 byte-order mark and end its lines the way of any
// system: "\r\n", "\n" or a lone "\r".
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool EndsWithLineEnd(const QByteArray& file) { return file.endsWith('\n') || file.endsWith('\r'); }

// The line end new lines get: a file's own lone "\r" where it has no "\n", else "\n".
QByteArray LineEndOf(const QByteArray& file) {
  return !file.contains('\n') && file.contains('\r') ? "\r" : "\n";
}

// The line holding `key` in `group`, read the way an INI reader splits it: groups in brackets,
// keys before the first "=", blanks around keys and group names ignored.
KeyPlace FindKey(const QByteArray& file, const QByteArray& group, const QByteArray& key) {
  KeyPlace place;
  bool inGroup = false;
  qsizetype lineStart = file.startsWith(kByteOrderMark) ? qsizetype{3} : 0;
  while (lineStart < file.size()) {
    qsizetype lineEnd = lineStart;
    while (lineEnd < file.size() && file[lineEnd] != '\n' && file[lineEnd] != '\r') ++lineEnd;
    qsizetype next = lineEnd < file.size() ? lineEnd + 1 : lineEnd;
    if (lineEnd + 1 < file.size() && file[lineEnd] == '\r' && file[lineEnd + 1] == '\n') ++next;
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
  const QByteArray lineEnd = LineEndOf(file);
  if (place.value) {
    file.replace(place.value->start, place.value->end - place.value->start, value);
  } else if (place.afterGroup) {
    QByteArray line = key + '=' + value + lineEnd;
    if (*place.afterGroup == file.size() && !EndsWithLineEnd(file)) line.prepend(lineEnd);
    file.insert(*place.afterGroup, line);
  } else {
    if (!file.isEmpty() && !EndsWithLineEnd(file)) file += lineEnd;
    file += '[' + group + ']' + lineEnd + key + '=' + value + lineEnd;
  }
}

const QByteArray kSettingsGroup = "Settings";
const QByteArray kSystemKey = "SYSTEM";
const QByteArray kGuardrailsGroup = "Guardrails";

struct GuardrailKeys {
  Guardrail guardrail;
  QByteArray on;
  QByteArray value;
};
const GuardrailKeys kGuardrailKeys[] = {
    {Guardrail::kStopLoss, "StopLossOn", "StopLoss"},
    {Guardrail::kStopWin, "StopWinOn", "StopWin"},
    {Guardrail::kSessionTime, "SessionTimeOn", "SessionMinutes"},
};

// Far beyond any hand-edited settings file; a file this large is not one.
constexpr std::size_t kMaxSettingsBytes = 256 * 1024;

// Where the user's settings belong: $XDG_CONFIG_HOME, else ~/.config. Without HOME the account's
// home folder, never "/.config". Empty when there is no home at all.
QString ConfigFolder() {
  const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
  if (configHome.startsWith('/')) return QFile::decodeName(configHome);
  QByteArray home = qgetenv("HOME");
  if (!home.startsWith('/')) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
      home = found->pw_dir;
    }
  }
  return home.startsWith('/') ? QFile::decodeName(home) + QStringLiteral("/.config") : QString();
}

void ReportSettingsFailure(const QString& what, const QString& path, const std::string& reason) {
  std::fprintf(stderr, "wheelwatcher: %s %s: %s\n", qPrintable(what),
               qPrintable(path.isEmpty() ? QStringLiteral("(no home folder)") : path),
               reason.c_str());
}

}  // namespace

SettingsStore::SettingsStore() {
  const QString folder = ConfigFolder();
  if (!folder.isEmpty()) filePath_ = folder + QStringLiteral("/KORMEL/Wheelwatcher.conf");
}

std::optional<QByteArray> SettingsStore::ReadFile() const {
  if (filePath_.isEmpty()) return QByteArray();
  const BoundedFileRead read =
      ReadRegularFile(QFile::encodeName(filePath_).toStdString(), kMaxSettingsBytes);
  switch (read.outcome) {
    case BoundedFileRead::Outcome::kRead:
      return QByteArray::fromStdString(read.bytes);
    case BoundedFileRead::Outcome::kAbsent:
      return QByteArray();
    case BoundedFileRead::Outcome::kFailed:
      break;
  }
  ReportSettingsFailure(QStringLiteral("cannot read the settings in"), filePath_, read.error);
  return std::nullopt;
}

bool SettingsStore::WriteFile(const QByteArray& file) {
  std::string error = filePath_.isEmpty() ? "no folder for settings" : std::string();
  if (error.empty()) {
    QDir().mkpath(QFileInfo(filePath_).path());
    error = PublishFile(QFile::encodeName(filePath_).toStdString(),
                        std::string_view(file.constData(), static_cast<std::size_t>(file.size())));
  }
  if (error.empty()) return true;
  ReportSettingsFailure(QStringLiteral("the settings were not saved in"), filePath_, error);
  return false;
}

bool SettingsStore::Update(const std::function<void(QByteArray&)>& change) {
  std::optional<QByteArray> file = ReadFile();
  if (!file) {
    // What could not be read would be lost by writing the file anew.
    ReportSettingsFailure(QStringLiteral("the settings were not saved in"), filePath_,
                          "the file could not be read, so it is left as it was");
    return false;
  }
  change(*file);
  return WriteFile(*file);
}

std::string SettingsStore::ReadSystemText() const {
  return ReadValue(ReadFile().value_or(QByteArray()), kSettingsGroup, kSystemKey)
      .value_or("1")
      .toStdString();
}

bool SettingsStore::WriteSystemText(const std::string& text) {
  return Update([&text](QByteArray& file) {
    WriteValue(file, kSettingsGroup, kSystemKey, QByteArray::fromStdString(text));
  });
}

GuardrailLimits SettingsStore::ReadGuardrailLimits(std::vector<std::string>* rejected) const {
  const QByteArray file = ReadFile().value_or(QByteArray());
  GuardrailLimits limits;
  for (const GuardrailKeys& keys : kGuardrailKeys) {
    GuardrailLimit& limit = limits[keys.guardrail];
    limit.on = ReadValue(file, kGuardrailsGroup, keys.on).value_or("").trimmed() == "true";
    bool isNumber = false;
    const std::optional<QByteArray> text = ReadValue(file, kGuardrailsGroup, keys.value);
    const qlonglong value = text.value_or("").trimmed().toLongLong(&isNumber);
    if (isNumber && value >= 1 && value <= LargestLimit(keys.guardrail)) {
      limit.value = value;
    } else if (text && rejected != nullptr) {
      rejected->push_back((keys.value + '=' + text->trimmed()).toStdString());
    }
  }
  return limits;
}

bool SettingsStore::WriteGuardrailLimits(const GuardrailLimits& limits) {
  return Update([&limits](QByteArray& file) {
    for (const GuardrailKeys& keys : kGuardrailKeys) {
      const GuardrailLimit& limit = limits[keys.guardrail];
      WriteValue(file, kGuardrailsGroup, keys.on, limit.on ? "true" : "false");
      WriteValue(file, kGuardrailsGroup, keys.value, QByteArray::number(limit.value));
    }
  });
}

}  // namespace wheelwatcher
