// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <string>
#include <vector>

namespace wheelwatcher {

// Qt ends the process with abort() when its platform plugin cannot open a display. While a guard
// lives (around the construction of the application object), that failure prints one line naming
// the display instead and exits with status 1. Qt's messages meanwhile are held back and passed on
// when the guard ends, so a failed start shows only that line.
class DisplayGuard {
 public:
  DisplayGuard();
  ~DisplayGuard();
  DisplayGuard(const DisplayGuard&) = delete;
  DisplayGuard& operator=(const DisplayGuard&) = delete;

  // The line printed when no display could be opened, from the display variables.
  static std::string FailureLine(const char* display, const char* waylandDisplay);

 private:
  static void HandleMessage(QtMsgType type, const QMessageLogContext& context,
                            const QString& message);

  struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString message;
  };
  static inline std::vector<HeldMessage> held_;
  static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace wheelwatcher
