// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The spins of a file: the program's own spin-history export (the numbers of its "Spin History"
// line), or a plain list of numbers 0 to 36 separated by blanks, commas or line ends.
struct SpinFile {
  std::vector<std::int32_t> spins;
  // "NAME:LINE:COLUMN: what is wrong" (1-based, columns in bytes); empty when the file is sound.
  std::string error;
};

SpinFile ReadSpinFile(std::string_view name, std::string_view text);
