// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <QPointer>
#include <QWidget>

#include "online/document_fetch.h"
#include "online/update_document.h"

class QMessageBox;
class QUrl;

namespace wheelwatcher {

// Told, on the user-interface thread, when an update check begins its network work and when it has
// ended whatever its outcome. Each call is synchronous: the worker waits until it returns.
class UpdateCheckObserver {
 public:
  virtual void OnUpdateCheckStarted() = 0;
  virtual void OnUpdateCheckFinished() = 0;

 protected:
  ~UpdateCheckObserver() = default;
};

struct UpdateCheckOptions {
  // The program always asks the default HTTP port; tests serve on a free loopback port.
  std::uint16_t port = 80;
  // The window the question stands in front of: its transient parent, so window managers stack it
  // above that window even when the window is always on top. None gives a free-standing box.
  QPointer<QWidget> questionOwner;
  // Called on the user-interface thread right after the question is shown, so a test can look.
  std::function<void(QMessageBox&)> onQuestionShown;
};

struct UpdateCheckShared;

// Runs one update check on a thread of its own: fetches the update description document, and when
// it offers a newer version that can be opened, asks the user, without blocking the main window,
// whether to open its download address. Failures end the check silently.
//
// Destroy it on the user-interface thread. Destruction stops the check promptly wherever it is
// (transfer, notification or open question; the question is closed) and no notification is
// delivered after it has begun, so the observer may be going away too. Destroying it from inside
// OnUpdateCheckFinished is safe.
class CUpdateWorker {
 public:
  // `fetch`: the fetch's deadline and resolver; the program uses the defaults.
  CUpdateWorker(UpdateRequest request, UpdateCheckObserver& observer,
                UpdateCheckOptions options = {}, DocumentFetchOptions fetch = {});
  ~CUpdateWorker();
  CUpdateWorker(const CUpdateWorker&) = delete;
  CUpdateWorker& operator=(const CUpdateWorker&) = delete;

  // Starts the thread; false when it cannot be started.
  bool Start();

 private:
  void Run();
  void RunCheck();
  bool Notify(void (UpdateCheckObserver::*notification)());
  void AskQuestion(const QUrl& download);
  bool StopRequested() const;

  UpdateRequest request_;
  UpdateCheckObserver& observer_;
  UpdateCheckOptions options_;
  DocumentFetchOptions fetch_;
  std::string agentName_;
  std::shared_ptr<UpdateCheckShared> shared_;
  std::thread thread_;
};

// Starts the check of `documentAddress` against `currentVersion` (the version text; empty counts
// as 0). Nothing when the worker cannot be started; then no notification comes either.
std::unique_ptr<CUpdateWorker> StartUpdateCheck(const std::string& documentAddress,
                                                const std::string& currentVersion,
                                                UpdateCheckObserver& observer,
                                                UpdateCheckOptions options = {},
                                                DocumentFetchOptions fetch = {});

}  // namespace wheelwatcher
