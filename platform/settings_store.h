// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

#include "stats/guardrails.h"

// What is kept between runs, in the user's config folder as KORMEL/Wheelwatcher.conf, an INI file:
// the selected system (group "Settings", key "SYSTEM") and the player's guardrails (group
// "Guardrails"). A value is read and written as the bytes after "=" on its line, so a hand-edited
// SYSTEM (" 4", "2;x", "\"a,b\"") comes back exactly as written, and every other line of the file
// stays as it is. Failures to write are not reported: settings are a convenience, never worth an
// error.
class SettingsStore {
 public:
  SettingsStore();

  // The stored text, or "1" when there is none.
  std::string ReadSystemText() const;
  void WriteSystemText(const std::string& text);

  // All off when absent; a value out of range gives that guardrail's default, and its line
  // ("StopLoss=-20") goes to `rejected` when given, so the player can be told.
  GuardrailLimits ReadGuardrailLimits(std::vector<std::string>* rejected = nullptr) const;
  void WriteGuardrailLimits(const GuardrailLimits& limits);

 private:
  QByteArray ReadFile() const;
  void WriteFile(const QByteArray& file);

  QString filePath_;
};
