// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace wheelwatcher {

// Every spin, oldest first, each followed by ", ".
std::string BuildSpinList(std::span<const std::int32_t> spins);

// The saved spin-history report: the system's long name, the spin list and the twelve category
// counts, CR LF line ends and no line end after the last line.
std::string BuildSpinReport(int systemNumber, std::span<const std::int32_t> spins);

}  // namespace wheelwatcher
