// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace wheelwatcher {

// Where the tracker keeps its session as it is played: the journal's lines, given before the
// change they record is shown.
class SessionRecorder {
 public:
  virtual ~SessionRecorder() = default;
  // Whole lines of the journal (table/session_journal.h), newline included.
  virtual void Append(const std::string& lines) = 0;
};

}  // namespace wheelwatcher
