// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/spin_file.h"

#include "engine/bet_code.h"
#include "table/session_journal.h"

namespace wheelwatcher {

namespace {

constexpr std::string_view kHistoryLabel = "Spin History";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kJournalHead = "wheelwatcher-journal ";

struct Line {
  std::string_view text;
  int number;
};

// Lines end with LF, CR LF or CR alone.
std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  int number = 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back({text.substr(start, i - start), number++});
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back({text.substr(start), number});
  return lines;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

std::string Located(std::string_view name, int line, std::size_t column, std::string_view what) {
  return std::string(name) + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
         std::string(what);
}

// The numbers of one line from `from` on; false with the error set at the first bad entry.
bool ReadNumbers(std::string_view name, const Line& line, std::size_t from,
                 std::vector<std::int32_t>& spins, std::string& error) {
  std::size_t i = from;
  while (i < line.text.size()) {
    if (IsSeparator(line.text[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < line.text.size() && !IsSeparator(line.text[i])) ++i;
    const std::string_view entry = line.text.substr(start, i - start);
    int value = 0;
    bool isNumber = true;
    for (char c : entry) {
      if (c < '0' || c > '9') {
        isNumber = false;
        break;
      }
      value = value * 10 + (c - '0');
      if (value > kHighestNumber) {
        isNumber = false;
        break;
      }
    }
    if (!isNumber) {
      // Long or unprintable entries are cut, so the message stays one readable line.
      std::string shown;
      for (char c : entry.substr(0, 20)) shown += c >= ' ' && c <= '~' ? c : '?';
      if (entry.size() > 20) shown += "...";
      error =
          Located(name, line.number, start + 1, "\"" + shown + "\" is not a number from 0 to 36");
      return false;
    }
    spins.push_back(value);
  }
  return true;
}

// The table the journal's last session left: REWIND takes back a spin and the draws of the bet
// chosen after it.
SpinFile ReadJournalFile(std::string_view name, std::string_view text) {
  SpinFile file;
  const JournalReading reading = ReadJournal(text);
  if (!reading.problem.empty()) {
    file.error = std::string(name) + ": " + reading.problem;
    return file;
  }
  if (!reading.session) {
    file.error = std::string(name) + ": the journal holds no session under way";
    return file;
  }
  RecordedPlay play;
  std::vector<std::vector<std::uint8_t>> drawsOfEachBet;
  for (const JournalRecord& record : reading.session->records) {
    switch (record.kind) {
      case JournalRecordKind::kBegin:
        play.systemNumber = record.systemNumber;
        play.baseStake = record.baseStake;
        drawsOfEachBet = {record.draws};
        break;
      case JournalRecordKind::kSpin:
        file.spins.push_back(record.number);
        drawsOfEachBet.push_back(record.draws);
        break;
      case JournalRecordKind::kRewind:
        if (!file.spins.empty()) {
          file.spins.pop_back();
          drawsOfEachBet.pop_back();
        }
        break;
      case JournalRecordKind::kClear:
        break;
    }
  }
  for (const auto& draws : drawsOfEachBet) {
    play.draws.insert(play.draws.end(), draws.begin(), draws.end());
  }
  file.recorded = std::move(play);
  return file;
}

}  // namespace

SpinFile ReadSpinFile(std::string_view name, std::string_view text) {
  // Some editors begin a UTF-8 file with a byte order mark.
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (text.substr(0, kJournalHead.size()) == kJournalHead) return ReadJournalFile(name, text);
  SpinFile file;
  const std::vector<Line> lines = SplitLines(text);
  for (const Line& line : lines) {
    if (line.text.substr(0, kHistoryLabel.size()) == kHistoryLabel) {
      if (!ReadNumbers(name, line, kHistoryLabel.size(), file.spins, file.error)) return file;
      if (file.spins.empty()) file.error = std::string(name) + ": the spin history is empty";
      return file;
    }
  }
  for (const Line& line : lines) {
    if (!ReadNumbers(name, line, 0, file.spins, file.error)) return file;
  }
  if (file.spins.empty()) file.error = std::string(name) + ": there are no spins in the file";
  return file;
}

}  // namespace wheelwatcher
