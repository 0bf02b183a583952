#pragma once

#include <QString>

#include <string>

// The one setting kept between runs: the selected system, as the text the user's store holds.
// It lives in the user's config folder as KORMEL/Wheelwatcher.conf, an INI file: group "Settings",
// key "SYSTEM". The value is read and written as the bytes after "=" on its line, so a hand-edited
// value (" 4", "2;x", "\"a,b\"") comes back exactly as written, and every other line of the file
// stays as it is.
class SettingsStore {
 public:
  SettingsStore();

  // The stored text, or "1" when there is none.
  std::string ReadSystemText() const;
  // Failures to write are not reported: the setting is a convenience, never worth an error.
  void WriteSystemText(const std::string& text);

 private:
  QString filePath_;
};
