// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wheelwatcher {

// The session journal: one record a line, appended as the table changes, so that a session can be
// brought back exactly after a crash. Each line ends in a checksum of the rest, so a line torn by a
// kill or a power cut is recognised. The format is described in docs/journal.md.

inline constexpr int kJournalVersion = 1;
// A journal larger than this is not read: at about 12 bytes a spin it holds well over a million.
inline constexpr std::size_t kJournalMaxBytes = 16u << 20;

enum class JournalRecordKind {
  kBegin,   // a fresh table meets its first spin: its system, base stake and first bet's draws
  kSpin,    // a spin entered, with the draws of the bet chosen after it
  kRewind,  // REWIND
  kClear,   // CLEAR ALL: the session ends
};

struct JournalRecord {
  JournalRecordKind kind = JournalRecordKind::kSpin;
  int systemNumber = 0;             // kBegin
  int baseStake = 0;                // kBegin
  int number = 0;                   // kSpin
  std::vector<std::uint8_t> draws;  // kBegin, kSpin: the random bytes the system drew

  static JournalRecord Begin(int systemNumber, int baseStake, std::vector<std::uint8_t> draws) {
    return {JournalRecordKind::kBegin, systemNumber, baseStake, 0, std::move(draws)};
  }
  static JournalRecord Spin(int number, std::vector<std::uint8_t> draws) {
    return {JournalRecordKind::kSpin, 0, 0, number, std::move(draws)};
  }
  static JournalRecord Rewind() { return {JournalRecordKind::kRewind, 0, 0, 0, {}}; }
  static JournalRecord Clear() { return {JournalRecordKind::kClear, 0, 0, 0, {}}; }

  bool operator==(const JournalRecord&) const = default;
};

// The first line of every journal.
std::string FormatJournalHeader();
// One line, newline included.
std::string FormatJournalRecord(const JournalRecord& record);

// The session a journal ends with, when one is under way: its records from its kBegin on.
struct JournalSession {
  std::vector<JournalRecord> records;
  std::size_t spins = 0;  // in the table the records leave
};

struct JournalReading {
  // Empty when the journal ended with CLEAR ALL, held no spin, or could not be read.
  std::optional<JournalSession> session;
  // Why the journal cannot be used, for the player; empty when it can.
  std::string problem;
  bool tornLastLineDropped = false;
};

// Reads a whole journal. A last line without its line end or with a wrong checksum is the trace of
// an interrupted write and is dropped; any other fault sets the journal aside as a whole, so that
// a damaged journal never yields a table that was not played.
JournalReading ReadJournal(std::string_view text);

// CRC-32 (the polynomial of zlib and PNG) of a line's text.
std::uint32_t JournalChecksum(std::string_view text);

}  // namespace wheelwatcher
