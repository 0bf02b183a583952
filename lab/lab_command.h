// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lab/replay.h"
#include "lab/simulation.h"

namespace wheelwatcher {

enum class LabCommandKind { kHelp, kVersion, kSimulate, kReplay };

// Where results go besides the text on standard output; empty for nowhere, "-" for standard
// output (which then carries that alone).
struct LabOutputs {
  std::string json;
  std::string csv;
  std::string plot;
};

struct LabCommand {
  LabCommandKind kind = LabCommandKind::kHelp;
  SimulationSettings simulation;
  ReplaySettings replay;
  std::vector<std::string> files;  // replay
  LabOutputs outputs;
  // What is wrong with the command line; empty when it is sound.
  std::string error;
};

// `arguments` without the program name. `defaultThreads` and `defaultSeed` stand where the
// options are not given.
LabCommand ParseLabCommand(std::span<const std::string> arguments, int defaultThreads,
                           std::uint64_t defaultSeed);

extern const char* const kLabUsage;

// What one run may take on: a spin file's size, the spins of one replay, and the spins one
// simulation plays (systems x sessions x spins), about an hour on one thread.
inline constexpr std::size_t kMostSpinFileBytes = 4 << 20;
inline constexpr std::size_t kMostReplaySpins = 100000;
inline constexpr std::uint64_t kMostSimulatedSpins = 100000000000;

}  // namespace wheelwatcher
