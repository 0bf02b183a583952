// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/typed_number_entry.h"
#include "online/update_worker.h"
#include "table/session_journal.h"
#include "table/spin_tracker.h"
#include "table/tracker_window.h"

class QFileDialog;
class QTimer;

namespace wheelwatcher {

class AccessibleAnnouncer;
class CLayoutPicture;
class CTickerPanel;
class ClickSound;
class HistoryColumnModel;
class JournalStore;
class RandomBytes;
class SessionWatch;
class SettingsStore;

// What the main window is given from outside; tests hand in their own.
struct MainDialogServices {
  RandomBytes& random;
  ClickSound& clickSound;
  SettingsStore& settings;
  std::string versionText;           // empty when the executable carries no version
  std::string localeCurrencySymbol;  // the user's locale's currency symbol
  // Runs the configured save dialog and returns the chosen file, or an empty text on cancel.
  std::function<QString(QFileDialog&)> runSaveDialog;
  // Tells the user that the spin history could not be saved, and why.
  std::function<void(const QString& reason)> reportSaveFailure;
  // The update check, started last at start-up; tests leave it out. The window is both the observer
  // and the owner of the question, which must stand in front of it.
  std::function<std::unique_ptr<CUpdateWorker>(UpdateCheckObserver&, QWidget& questionOwner)>
      startUpdateCheck;
  std::string helpAddress;
  std::array<std::string, 3> casinoAddresses;
};

// The one window: the layout picture with its panels, History columns and overlays on top, always
// on top of other windows and never resized. It owns the spin tracker and shows what it is told.
// It is shown, never run modally: a modal run would block every other top-level window, the
// update question among them.
class CMainDialog : public QDialog, public TrackerWindow, public UpdateCheckObserver {
  Q_OBJECT
 public:
  explicit CMainDialog(MainDialogServices services, QWidget* parent = nullptr);
  ~CMainDialog() override;

  // Keeps the session in the journal from now on; its last session is read after the first paint
  // and offered in the window menu. Without it (tests) nothing is kept.
  void KeepSessionIn(JournalStore& journal);

  const SpinTracker& Tracker() const { return tracker_; }
  SessionWatch& Session() const { return *sessionWatch_; }
  // The control with this id, found by its object name.
  QWidget* Control(int controlId) const;

  // TrackerWindow
  void ShowControl(int controlId) override;
  void HideControl(int controlId) override;
  void SetPanelText(int panelId, const std::string& text) override;
  void HistoryRowAdded() override;
  void NewestHistoryRowRemoved() override;
  void HistoryColumnsCleared() override;
  void HistoryColumnsRefilled() override;
  void StartTimer(int timerId, int periodMs) override;
  void StopTimer(int timerId) override;
  void SetCaption(const std::string& caption) override;
  void PlayClickSound() override;
  void OpenLiveWheelLinks() override;
  void OpenHelpDocument() override;
  void SaveSpinHistory(const std::string& report) override;

  // UpdateCheckObserver
  void OnUpdateCheckStarted() override;
  void OnUpdateCheckFinished() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnInitDialog();
  void ConfigurePanel(CTickerPanel* panel, int columns, int direction);
  int HitTest() const;
  void OnPictureClicked();
  void OnSetCursor();
  void ShowWindowMenu(const QPoint& globalPosition);
  void ShowAboutBox();
  void ReadLastSession();
  bool CanResume() const;
  void ResumeLastSession();
  // A note about the journal beside the table; play goes on while it is up.
  void ShowJournalMessage(const QString& text);
  // Typed numbers: a digit, and the pause after a lone one.
  void OnDigitTyped(int digit);
  void OnTypedNumberPause();
  void WaitForTypedNumberPause();
  void EnterTypedNumber(std::optional<int> number);
  void ShowAdvisedNumberName();
  void OnFirstIdle();
  void WarmHistoryFont();

  MainDialogServices services_;
  SpinTracker tracker_;
  // The statistics window and the guardrails follow the tracker; declared after it, gone before it.
  std::unique_ptr<SessionWatch> sessionWatch_;
  CLayoutPicture* picture_;
  std::map<int, CTickerPanel*> panels_;
  std::array<HistoryColumnModel*, 3> historyColumns_{};
  std::map<int, QTimer*> timers_;
  JournalStore* journal_ = nullptr;
  // The journal's last session, offered in the window menu until a spin is entered.
  std::optional<JournalSession> resumable_;
  // Says what a press, a typed number or a timer changed, once it is done.
  AccessibleAnnouncer* announcer_ = nullptr;
  TypedNumberEntry typedNumber_;
  QTimer* typedNumberPause_;
  // Last, so the check is stopped before anything it reports to goes away.
  std::unique_ptr<CUpdateWorker> updateWorker_;
};

}  // namespace wheelwatcher
