// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/control_ids.h"
#include "systems/random_bytes.h"
#include "table/spin_tracker.h"
#include "table/tracker_window.h"

namespace wheelwatcher {

// Records everything the tracker asks of its window; `events` keeps the order across kinds.
class FakeTrackerWindow : public TrackerWindow {
 public:
  void ShowControl(int controlId) override {
    visible.insert(controlId);
    Log("show " + std::to_string(controlId));
  }
  void HideControl(int controlId) override {
    visible.erase(controlId);
    Log("hide " + std::to_string(controlId));
  }
  void SetPanelText(int panelId, const std::string& text) override {
    panels[panelId] = text;
    ++panelWrites[panelId];
    Log("panel " + std::to_string(panelId));
    if (onPanelText) onPanelText(panelId);
  }
  void HistoryRowAdded() override {
    ++rows;
    Log("row added");
  }
  void NewestHistoryRowRemoved() override {
    --rows;
    Log("row removed");
  }
  void HistoryColumnsCleared() override {
    rows = 0;
    Log("rows cleared");
  }
  void HistoryColumnsRefilled() override {
    rows = refilledRows ? refilledRows() : 0;
    Log("rows refilled");
  }
  void StartTimer(int timerId, int periodMs) override {
    timers[timerId] = periodMs;
    Log("start timer " + std::to_string(timerId) + " " + std::to_string(periodMs));
  }
  void StopTimer(int timerId) override {
    timers.erase(timerId);
    Log("stop timer " + std::to_string(timerId));
  }
  void SetCaption(const std::string& text) override { caption = text; }
  void PlayClickSound() override { Log("click"); }
  void OpenLiveWheelLinks() override { Log("live wheel"); }
  void OpenHelpDocument() override { Log("help"); }
  void SaveSpinHistory(const std::string& report) override {
    savedReports.push_back(report);
    Log("save");
  }

  bool IsVisible(int id) const { return visible.count(id) != 0; }
  std::string Panel(int id) const {
    auto it = panels.find(id);
    return it == panels.end() ? "<never set>" : it->second;
  }
  std::string Advice() const { return Panel(control::kAdviceTicker); }

  std::set<int> visible;
  std::map<int, std::string> panels;
  std::map<int, int> panelWrites;
  std::map<int, int> timers;  // running timers and their periods
  std::string caption;
  long rows = 0;
  std::vector<std::string> savedReports;
  std::vector<std::string> events;
  std::function<void(int)> onPanelText;
  // The row count after a refill, read from the tracker the window shows.
  std::function<long()> refilledRows;

 private:
  void Log(std::string event) { events.push_back(std::move(event)); }
};

// Hands out the bytes a test scripted; any draw beyond them fails the test.
class ScriptedRandomBytes : public RandomBytes {
 public:
  std::uint8_t NextByte() override {
    ++draws;
    if (onDraw) onDraw();
    if (bytes.empty()) {
      ADD_FAILURE() << "unscripted random draw";
      return 0;
    }
    const std::uint8_t next = bytes.front();
    bytes.pop_front();
    return next;
  }
  void Add(std::initializer_list<int> more) {
    for (int b : more) bytes.push_back(static_cast<std::uint8_t>(b));
  }

  std::deque<std::uint8_t> bytes;
  int draws = 0;
  std::function<void()> onDraw;
};

// A started tracker on a given system, "$" currency and version "V 5.004".
struct TrackerFixture {
  TrackerFixture(const std::string& storedSystem, std::initializer_list<int> firstBytes)
      : tracker(window, bytes) {
    bytes.Add(firstBytes);
    tracker.Start("$", storedSystem, "V 5.004");
  }
  const TableState& State() const { return tracker.State(); }
  BetCode CurrentCode() const { return tracker.State().betCodes.back(); }

  FakeTrackerWindow window;
  ScriptedRandomBytes bytes;
  SpinTracker tracker;
};

}  // namespace wheelwatcher
