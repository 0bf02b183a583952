// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace wheelwatcher {

// What the spin tracker asks of the window that shows it. The Qt main window implements it;
// tests record the calls. Control, panel and timer ids are those of engine/control_ids.h.
class TrackerWindow {
 public:
  virtual ~TrackerWindow() = default;

  // Shows a control without activating it or taking the focus.
  virtual void ShowControl(int controlId) = 0;
  virtual void HideControl(int controlId) = 0;
  virtual void SetPanelText(int panelId, const std::string& text) = 0;

  // The History columns are a view over the tracker's spin history (SpinTracker::HistoryCellText).
  // Each notification comes after the change: the newest spin is already row 0, or already gone.
  virtual void HistoryRowAdded() = 0;
  virtual void NewestHistoryRowRemoved() = 0;
  virtual void HistoryColumnsCleared() = 0;
  // The whole history was replaced (a session resumed): every row is read afresh.
  virtual void HistoryColumnsRefilled() = 0;

  // Starting a running timer starts its period again.
  virtual void StartTimer(int timerId, int periodMs) = 0;
  virtual void StopTimer(int timerId) = 0;

  virtual void SetCaption(const std::string& caption) = 0;
  // Synchronous: returns when the click has been played (or could not be).
  virtual void PlayClickSound() = 0;
  virtual void OpenLiveWheelLinks() = 0;
  virtual void OpenHelpDocument() = 0;
  // Asks the user where to save the report and writes it there; cancel or failure are silent.
  virtual void SaveSpinHistory(const std::string& report) = 0;
};

}  // namespace wheelwatcher
