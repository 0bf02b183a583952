// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wheelwatcher {

// How a session kept in a journal was played: its system, base stake and every random byte its
// bets were drawn with, oldest first, so that replaying it makes the very bets the window advised.
struct RecordedPlay {
  int systemNumber = 1;
  int baseStake = 1;
  std::vector<std::uint8_t> draws;
};

// The spins of a file: the program's own spin-history export (the numbers of its "Spin History"
// line), a session journal (the table its last session left), or a plain list of numbers 0 to 36
// separated by blanks, commas or line ends.
struct SpinFile {
  std::vector<std::int32_t> spins;
  std::optional<RecordedPlay> recorded;  // a journal's
  // "NAME:LINE:COLUMN: what is wrong" (1-based, columns in bytes); empty when the file is sound.
  std::string error;
};

SpinFile ReadSpinFile(std::string_view name, std::string_view text);

}  // namespace wheelwatcher
