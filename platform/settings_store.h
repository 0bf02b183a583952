// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "stats/guardrails.h"

namespace wheelwatcher {

// What is kept between runs, in the user's config folder as KORMEL/Wheelwatcher.conf, an INI file:
// the selected system (group "Settings", key "SYSTEM") and the player's guardrails (group
// "Guardrails"). A value is read and written as the bytes after "=" on its line, so a hand-edited
// SYSTEM (" 4", "2;x", "\"a,b\"") comes back exactly as written, and every other line of the file
// stays as it is. The file is replaced only whole and synced (a full disk leaves the old one),
// never when it exists but cannot be read, and it is read only when it is a regular file of a
// sensible size. Failures are said on standard error: settings are written as the window closes,
// when a message box would hold up a logout for the sake of the next run's choice of system.
class SettingsStore {
 public:
  SettingsStore();

  // Where the file is: in $XDG_CONFIG_HOME, else in ~/.config of $HOME or, without it, of the
  // user's account. Empty when there is no home folder at all; nothing is then kept.
  const QString& FilePath() const { return filePath_; }

  // The stored text, or "1" when there is none.
  std::string ReadSystemText() const;
  // False when the file was left as it was.
  bool WriteSystemText(const std::string& text);

  // All off when absent; a value out of range gives that guardrail's default, and its line
  // ("StopLoss=-20") goes to `rejected` when given, so the player can be told.
  GuardrailLimits ReadGuardrailLimits(std::vector<std::string>* rejected = nullptr) const;
  bool WriteGuardrailLimits(const GuardrailLimits& limits);

 private:
  // Nothing when a file is there but cannot be read.
  std::optional<QByteArray> ReadFile() const;
  bool WriteFile(const QByteArray& file);
  // Reads the file, changes it and writes it back, unless it could not be read.
  bool Update(const std::function<void(QByteArray&)>& change);

  QString filePath_;
};

}  // namespace wheelwatcher
