// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/update_worker.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>

#include "online/document_fetch.h"

namespace wheelwatcher {

// What the worker thread and the user-interface thread share. Calls queued to the user-interface
// thread hold it, so they stay harmless when they run after the worker has gone.
struct UpdateCheckShared {
  std::mutex mutex;
  std::condition_variable wake;
  bool stopRequested = false;
  bool callDone = false;
  // User-interface thread only.
  QPointer<QMessageBox> question;
};

namespace {

// The address as it will be handed to the system's opener, or nothing when it would not be opened.
// The question is asked only when this gives an address, so Yes never opens nothing.
std::optional<QUrl> OpenableDownloadUrl(const std::string& address) {
  if (!IsOpenableDownloadAddress(address)) return std::nullopt;
  const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty() ||
      (url.scheme() != "http" && url.scheme() != "https")) {
    return std::nullopt;
  }
  return url;
}

void MarkCallDone(UpdateCheckShared& shared) {
  {
    std::lock_guard lock(shared.mutex);
    shared.callDone = true;
  }
  shared.wake.notify_all();
}

}  // namespace

CUpdateWorker::CUpdateWorker(UpdateRequest request, UpdateCheckObserver& observer,
                             UpdateCheckOptions options, DocumentFetchOptions fetch)
    : request_(std::move(request)),
      observer_(observer),
      options_(std::move(options)),
      fetch_(std::move(fetch)),
      agentName_(
          QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString()),
      shared_(std::make_shared<UpdateCheckShared>()) {}

CUpdateWorker::~CUpdateWorker() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stopRequested = true;
  }
  shared_->wake.notify_all();
  if (QMessageBox* question = shared_->question) {
    QObject::disconnect(question, nullptr, nullptr, nullptr);
    delete question;
  }
  if (thread_.joinable()) thread_.join();
}

bool CUpdateWorker::Start() {
  try {
    thread_ = std::thread(&CUpdateWorker::Run, this);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

bool CUpdateWorker::StopRequested() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->stopRequested;
}

void CUpdateWorker::Run() {
  if (!Notify(&UpdateCheckObserver::OnUpdateCheckStarted)) return;
  RunCheck();
  Notify(&UpdateCheckObserver::OnUpdateCheckFinished);
}

bool CUpdateWorker::Notify(void (UpdateCheckObserver::*notification)()) {
  std::unique_lock lock(shared_->mutex);
  if (shared_->stopRequested) return false;
  shared_->callDone = false;
  // A plain blocking queued call would deadlock against a destructor joining this thread; this wait
  // also ends when a stop is requested.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [shared = shared_, observer = &observer_, notification] {
        {
          std::lock_guard stopLock(shared->mutex);
          if (shared->stopRequested) return;
        }
        (observer->*notification)();
        MarkCallDone(*shared);
      },
      Qt::QueuedConnection);
  shared_->wake.wait(lock, [this] { return shared_->callDone || shared_->stopRequested; });
  return !shared_->stopRequested;
}

void CUpdateWorker::RunCheck() {
  if (StopRequested()) return;
  const auto location = SplitDocumentAddress(request_.documentAddress);
  if (!location) return;
  request_.server = location->server;
  request_.objectPath = location->objectPath;

  const auto document = FetchDocument(
      {request_.server, request_.objectPath, options_.port, agentName_},
      [this] { return StopRequested(); }, fetch_);
  if (!document || document->empty() || StopRequested()) return;
  ReadUpdateDocument(*document, request_);

  if (!IsNewerVersion(request_.currentVersion, request_.programVersion)) return;
  const std::optional<QUrl> download = OpenableDownloadUrl(request_.downloadAddress);
  if (!download || StopRequested()) return;
  AskQuestion(*download);
}

void CUpdateWorker::AskQuestion(const QUrl& download) {
  std::unique_lock lock(shared_->mutex);
  if (shared_->stopRequested) return;
  shared_->callDone = false;
  // The box lives on the user-interface thread with no owner and no modality, so the main window
  // stays usable; this thread waits for the answer, keeping the busy caption on meanwhile.
  QString text = QString::fromStdString(FormatUpdateQuestion(request_.programName));
  text.replace("\r\n", "\n");
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [shared = shared_, text, download, owner = options_.questionOwner,
       onShown = options_.onQuestionShown] {
        {
          std::lock_guard stopLock(shared->mutex);
          if (shared->stopRequested) return;
        }
        auto* box =
            new QMessageBox(QMessageBox::Question, QGuiApplication::applicationDisplayName(), text,
                            QMessageBox::Yes | QMessageBox::No, owner);
        box->setTextFormat(Qt::PlainText);
        box->setWindowModality(Qt::NonModal);
        // The main window stays above everything; without this the question would hide behind it.
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
        box->setDefaultButton(QMessageBox::Yes);
        // Escape and the window's close button answer No.
        box->setEscapeButton(QMessageBox::No);
        shared->question = box;
        QObject::connect(box, &QMessageBox::finished, box, [shared, box, download] {
          QAbstractButton* clicked = box->clickedButton();
          const bool yes = clicked && box->standardButton(clicked) == QMessageBox::Yes;
          shared->question = nullptr;
          box->deleteLater();
          if (yes) QDesktopServices::openUrl(download);
          MarkCallDone(*shared);
        });
        box->show();
        box->activateWindow();  // so Return and Escape answer it at once
        if (onShown) onShown(*box);
      },
      Qt::QueuedConnection);
  shared_->wake.wait(lock, [this] { return shared_->callDone || shared_->stopRequested; });
}

std::unique_ptr<CUpdateWorker> StartUpdateCheck(const std::string& documentAddress,
                                                const std::string& currentVersion,
                                                UpdateCheckObserver& observer,
                                                UpdateCheckOptions options,
                                                DocumentFetchOptions fetch) {
  UpdateRequest request;
  request.documentAddress = documentAddress;
  request.currentVersion = currentVersion;
  auto worker = std::make_unique<CUpdateWorker>(std::move(request), observer, std::move(options),
                                                std::move(fetch));
  if (!worker->Start()) return nullptr;
  return worker;
}

}  // namespace wheelwatcher
