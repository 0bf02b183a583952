// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "table/session_journal.h"
#include "table/session_recorder.h"

namespace wheelwatcher {

// The session journals in the program's state folder, $XDG_STATE_HOME/wheelwatcher (else
// ~/.local/state/wheelwatcher): one file for each run that entered a spin, named by the time it
// began, so the newest name is the last session. The folder is the user's alone (0700); every file
// in it is opened without following links and read only when it is a regular file of sane size, so
// nothing placed there can make the program read or write anywhere else.
//
// Each line is written before the change it records is shown, so a killed program has lost
// nothing; a worker thread then flushes it to the disk (fdatasync), so a power cut loses at most
// the lines written during the last flush. A failing disk never stops play: the journal stops, and
// says so once.
class JournalStore : public SessionRecorder {
 public:
  using FailureReport = std::function<void(const std::string& reason)>;

  // How many journals are kept; older ones are removed at start-up.
  static constexpr std::size_t kKeptJournals = 10;

  explicit JournalStore(std::string folder);
  ~JournalStore() override;
  JournalStore(const JournalStore&) = delete;
  JournalStore& operator=(const JournalStore&) = delete;

  // $XDG_STATE_HOME/wheelwatcher when that variable holds an absolute path, else
  // ~/.local/state/wheelwatcher.
  static std::string DefaultFolder();

  struct LastSession {
    std::optional<JournalSession> session;  // a session that can be resumed
    std::string problem;                    // why the newest journal was set aside, for the player
  };
  // The session of the newest journal; then removes all but the newest kKeptJournals.
  LastSession ReadLastSessionAndPrune();

  // Records from here on go to a journal of their own that starts with this session's records.
  void ContinueFrom(const JournalSession& session);
  void Append(const std::string& lines) override;

  // Told once, on the user-interface thread, when the session stops being kept.
  void SetFailureReport(FailureReport report) { report_ = std::move(report); }
  const std::string& FilePath() const { return filePath_; }

 private:
  bool OpenFolder();
  bool OpenNewFile();
  bool WriteAll(const std::string& bytes);
  void Fail(const std::string& reason);
  void FlushInBackground();

  std::string folder_;
  std::string folderProblem_;
  int folderFd_ = -1;
  int fileFd_ = -1;
  std::string filePath_;
  std::size_t fileBytes_ = 0;
  bool failed_ = false;
  FailureReport report_;

  std::mutex flushMutex_;
  std::condition_variable flushWanted_;
  bool flushPending_ = false;
  bool stopping_ = false;
  std::thread flusher_;
};

}  // namespace wheelwatcher
