// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/session_journal.h"

#include <array>
#include <charconv>

#include "engine/bet_code.h"
#include "systems/betting_systems.h"

namespace wheelwatcher {

namespace {

constexpr std::string_view kMagic = "wheelwatcher-journal";
constexpr std::size_t kMaxLineBytes = 120;
// No system draws more than three bytes for one bet.
constexpr std::size_t kMaxDraws = 3;
constexpr int kHighestBaseStake = 10;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

constexpr char kHexDigits[] = "0123456789abcdef";

std::string WithChecksum(std::string text) {
  const std::uint32_t crc = JournalChecksum(text);
  text += " *";
  for (int shift = 28; shift >= 0; shift -= 4) text += kHexDigits[(crc >> shift) & 0xF];
  text += '\n';
  return text;
}

void AppendDraws(std::string& text, const std::vector<std::uint8_t>& draws) {
  text += ' ';
  if (draws.empty()) text += '-';
  for (std::uint8_t byte : draws) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0xF];
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The line's text without its checksum, or nothing when the checksum is missing or wrong.
std::optional<std::string_view> CheckedText(std::string_view line) {
  constexpr std::size_t kSuffix = 10;  // " *" and eight hex digits
  if (line.size() < kSuffix || line.size() > kMaxLineBytes) return std::nullopt;
  const std::string_view text = line.substr(0, line.size() - kSuffix);
  const std::string_view suffix = line.substr(line.size() - kSuffix);
  if (suffix[0] != ' ' || suffix[1] != '*') return std::nullopt;
  std::uint32_t stated = 0;
  for (char c : suffix.substr(2)) {
    const int digit = HexValue(c);
    if (digit < 0) return std::nullopt;
    stated = stated << 4 | static_cast<std::uint32_t>(digit);
  }
  if (stated != JournalChecksum(text)) return std::nullopt;
  return text;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

std::optional<int> WholeNumber(std::string_view word, int low, int high) {
  int value = 0;
  if (word.empty() || word.size() > 3 || word[0] == '+' || word[0] == '-') return std::nullopt;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::vector<std::uint8_t>> Draws(std::string_view word) {
  std::vector<std::uint8_t> draws;
  if (word == "-") return draws;
  if (word.empty() || word.size() % 2 != 0 || word.size() > 2 * kMaxDraws) return std::nullopt;
  for (std::size_t i = 0; i < word.size(); i += 2) {
    const int high = HexValue(word[i]);
    const int low = HexValue(word[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    draws.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return draws;
}

std::optional<JournalRecord> ParseRecord(std::string_view text) {
  const std::vector<std::string_view> words = Words(text);
  JournalRecord record;
  if (words[0] == "begin" && words.size() == 4) {
    const auto system = WholeNumber(words[1], kFirstSystem, kLastSystem);
    const auto stake = WholeNumber(words[2], 1, kHighestBaseStake);
    auto draws = Draws(words[3]);
    if (!system || !stake || !draws) return std::nullopt;
    record = {JournalRecordKind::kBegin, *system, *stake, 0, std::move(*draws)};
  } else if (words[0] == "spin" && words.size() == 3) {
    const auto number = WholeNumber(words[1], 0, kHighestNumber);
    auto draws = Draws(words[2]);
    if (!number || !draws) return std::nullopt;
    record = {JournalRecordKind::kSpin, 0, 0, *number, std::move(*draws)};
  } else if (words[0] == "rewind" && words.size() == 1) {
    record.kind = JournalRecordKind::kRewind;
  } else if (words[0] == "clear" && words.size() == 1) {
    record.kind = JournalRecordKind::kClear;
  } else {
    return std::nullopt;
  }
  return record;
}

std::string LineProblem(std::size_t lineNumber, std::string_view what) {
  return "line " + std::to_string(lineNumber) + " " + std::string(what);
}

}  // namespace

std::uint32_t JournalChecksum(std::string_view text) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char c : text) crc = kCrcTable[(crc ^ static_cast<std::uint8_t>(c)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string FormatJournalHeader() {
  return WithChecksum(std::string(kMagic) + " " + std::to_string(kJournalVersion));
}

std::string FormatJournalRecord(const JournalRecord& record) {
  std::string text;
  switch (record.kind) {
    case JournalRecordKind::kBegin:
      text =
          "begin " + std::to_string(record.systemNumber) + " " + std::to_string(record.baseStake);
      AppendDraws(text, record.draws);
      break;
    case JournalRecordKind::kSpin:
      text = "spin " + std::to_string(record.number);
      AppendDraws(text, record.draws);
      break;
    case JournalRecordKind::kRewind:
      text = "rewind";
      break;
    case JournalRecordKind::kClear:
      text = "clear";
      break;
  }
  return WithChecksum(std::move(text));
}

JournalReading ReadJournal(std::string_view text) {
  JournalReading reading;
  if (text.size() > kJournalMaxBytes) {
    reading.problem = "it is too large";
    return reading;
  }
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      // A last line without its line end was cut short while it was written.
      reading.tornLastLineDropped = true;
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (lines.empty()) {
    reading.problem = "it is empty";
    return reading;
  }

  const std::optional<std::string_view> header = CheckedText(lines[0]);
  const std::string magic = std::string(kMagic) + " ";
  if (!header || header->substr(0, magic.size()) != magic) {
    reading.problem = "it is not a Wheelwatcher journal";
    return reading;
  }
  const auto version = WholeNumber(header->substr(magic.size()), 1, 999);
  if (!version) {
    reading.problem = "it is not a Wheelwatcher journal";
    return reading;
  }
  if (*version > kJournalVersion) {
    reading.problem = "it was written by a newer version of Wheelwatcher";
    return reading;
  }

  std::optional<JournalSession> session;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::optional<std::string_view> checked = CheckedText(lines[i]);
    if (!checked && i + 1 == lines.size() && !reading.tornLastLineDropped) {
      reading.tornLastLineDropped = true;
      break;
    }
    std::optional<JournalRecord> record;
    if (checked) record = ParseRecord(*checked);
    if (!record) {
      reading.problem = LineProblem(i + 1, "is damaged");
      return reading;
    }
    switch (record->kind) {
      case JournalRecordKind::kBegin:
        session.emplace();
        break;
      case JournalRecordKind::kSpin:
        if (session) ++session->spins;
        break;
      case JournalRecordKind::kRewind:
        if (session && session->spins > 0) --session->spins;
        break;
      case JournalRecordKind::kClear:
        session.reset();
        continue;
    }
    if (!session) {
      reading.problem = LineProblem(i + 1, "comes before the session begins");
      return reading;
    }
    session->records.push_back(std::move(*record));
  }
  if (session && session->spins > 0) reading.session = std::move(session);
  return reading;
}

}  // namespace wheelwatcher
