// SPDX-License-Identifier: GPL-3.0-or-later
// The table a session would show had it never been interrupted: the presses of a script played on
// one fresh tracker, drawing the random bytes a journal recorded, in the order it recorded them.
// Prints the panels and History columns, one per line, for the desktop test to hold against the
// resumed window. Usage: journal_table JOURNAL PRESS... (a number 0..36, or R for REWIND).
// Exits 1 when the journal's spins are not the script's.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/control_ids.h"
#include "engine/region_code.h"
#include "table/session_journal.h"
#include "tests/core/tracker_test_support.h"

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  if (argc < 3) {
    std::cerr << "usage: journal_table JOURNAL PRESS...\n";
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  const JournalReading reading = ReadJournal(text);
  if (!reading.session) {
    std::cerr << "no session in the journal: " << reading.problem << "\n";
    return 1;
  }
  const std::vector<JournalRecord>& records = reading.session->records;
  std::vector<std::string> recordedPresses;
  FakeTrackerWindow window;
  ScriptedRandomBytes bytes;
  for (const JournalRecord& record : records) {
    for (std::uint8_t byte : record.draws) bytes.bytes.push_back(byte);
    if (record.kind == JournalRecordKind::kSpin)
      recordedPresses.push_back(std::to_string(record.number));
    if (record.kind == JournalRecordKind::kRewind) recordedPresses.push_back("R");
  }
  const std::vector<std::string> script(argv + 2, argv + argc);
  if (recordedPresses != script) {
    std::cerr << "the journal holds " << recordedPresses.size() << " presses, the script "
              << script.size() << ", or they differ\n";
    return 1;
  }

  SpinTracker tracker(window, bytes);
  tracker.Start("$", std::to_string(records.front().systemNumber), "");
  // STAKE steps the base stake from the second press on.
  for (int press = 0; press < records.front().baseStake; ++press) tracker.OnStakeButton();
  tracker.OnTimerTick(timer::kStakeWindow);
  for (const std::string& press : script) {
    tracker.OnRegionClicked(press == "R" ? region::kRewind : std::stoi(press));
  }

  std::cout << "Advice=" << window.Advice() << "\n";
  std::cout << "Status=" << window.Panel(control::kStatusPanel) << "\n";
  std::cout << "Bank=" << window.Panel(control::kBankPanel) << "\n";
  for (const auto& [name, column] :
       {std::pair{"red", HistoryColumn::kRed}, std::pair{"zero", HistoryColumn::kZero},
        std::pair{"black", HistoryColumn::kBlack}}) {
    std::cout << "History, " << name << "=";
    for (std::size_t row = 0; row < tracker.HistoryRowCount(); ++row) {
      std::cout << (row == 0 ? "" : ",") << tracker.HistoryCellText(row, column);
    }
    std::cout << "\n";
  }
  return 0;
}
