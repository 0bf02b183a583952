// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_command.h"

#include <charconv>
#include <limits>
#include <optional>

#include "lab/lab_report.h"
#include "systems/betting_systems.h"

namespace wheelwatcher {

const char* const kLabUsage =
    "Usage:\n"
    "  wheelwatcher-lab simulate [options]   sessions of every system on a fair single-zero "
    "wheel\n"
    "  wheelwatcher-lab replay [options] [--] FILE...\n"
    "                                        the spins of a file through every system\n"
    "  wheelwatcher-lab --help | --version\n"
    "\n"
    "FILE is a spin history saved by Wheelwatcher (SAVE), a session journal of Wheelwatcher,\n"
    "or a list of numbers 0 to 36 separated by blanks, commas or line ends: a regular file of\n"
    "at most 4 MiB. The files of one replay hold at most 100,000 spins. Every argument after\n"
    "-- is a FILE.\n"
    "\n"
    "Options of both:\n"
    "  --system 1..5|all   the system to play (default all)\n"
    "  --stake N           base stake, 1 to 10 (default 1)\n"
    "  --seed S            seed of the random draws, 0 to 18,446,744,073,709,551,615\n"
    "                      (default: a fresh one, printed)\n"
    "  --threads T         threads to run on, 1 to 256 (default: one per core; fewer\n"
    "                      when the system gives no more)\n"
    "  --json FILE         the results as JSON (- for standard output)\n"
    "  --csv FILE          the results as CSV (- for standard output)\n"
    "  --plot FILE.png     BANK over the spins, a panel per system: middle, mean, band, ruin\n"
    "Options of simulate:\n"
    "  --spins N           spins per session, 1 to 10,000,000 (default 1000)\n"
    "  --sessions N        sessions per system, 1 to 1,000,000 (default 10000)\n"
    "  --bankroll B        a session is ruined when its next bet would take BANK below -B;\n"
    "                      1 to 1,000,000,000,000 (default 1000)\n"
    "  --stop-win W        a session ends once BANK reaches W, 1 to 1,000,000,000,000\n"
    "                      (default: never)\n"
    "  One simulation plays at most 100,000,000,000 spins (systems x sessions x spins).\n"
    "Options of replay:\n"
    "  --runs K            plays of the file per system, each with its own draws,\n"
    "                      1 to 100,000 (default 100)\n"
    "\n"
    "A result FILE is a regular file, written whole and synced before it replaces the old\n"
    "one, whose permissions it keeps; a symbolic link is followed to its file. A read-only\n"
    "file, a file with other names (hard links), a device or a FIFO is not replaced, nor\n"
    "is one FILE taken for two results or for a result and the spins.\n"
    "\n"
    "Exit status: 0 done, 1 a result could not be written (standard output too),\n"
    "2 bad command line or input.\n";

namespace {

struct Range {
  std::uint64_t low;
  std::uint64_t high;
};

class Parser {
 public:
  Parser(std::span<const std::string> arguments, LabCommand& command)
      : arguments_(arguments), command_(command) {}

  bool Failed() const { return !command_.error.empty(); }
  void Fail(std::string message) {
    if (!Failed()) command_.error = std::move(message);
  }

  // The option's value, from "--name=value" or the next argument.
  std::optional<std::string> Value(std::size_t& index, const std::string& name,
                                   const std::string& argument) {
    const std::size_t equals = argument.find('=');
    if (equals != std::string::npos) return argument.substr(equals + 1);
    if (index + 1 >= arguments_.size()) {
      Fail(name + " needs a value");
      return std::nullopt;
    }
    return arguments_[++index];
  }

  std::uint64_t Number(const std::string& name, const std::string& text, Range range) {
    std::uint64_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size() ||
        value < range.low || value > range.high) {
      Fail(name + " must be a whole number from " + WithThousands(std::to_string(range.low)) +
           " to " + WithThousands(std::to_string(range.high)) + ", not \"" + text + "\"");
      return range.low;
    }
    return value;
  }

 private:
  std::span<const std::string> arguments_;
  LabCommand& command_;
};

std::vector<int> AllSystems() {
  std::vector<int> systems;
  for (int s = kFirstSystem; s <= kLastSystem; ++s) systems.push_back(s);
  return systems;
}

constexpr Range kStakes{1, 10};
constexpr Range kSpins{1, 10000000};
constexpr Range kSessions{1, 1000000};
constexpr Range kMoney{1, 1000000000000};
constexpr Range kThreads{1, 256};
constexpr Range kRuns{1, 100000};
constexpr Range kSeeds{0, std::numeric_limits<std::uint64_t>::max()};

}  // namespace

LabCommand ParseLabCommand(std::span<const std::string> arguments, int defaultThreads,
                           std::uint64_t defaultSeed) {
  LabCommand command;
  if (arguments.empty()) {
    command.error = "a command is needed: simulate or replay";
    return command;
  }
  if (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") return command;
  if (arguments[0] == "--version") {
    command.kind = LabCommandKind::kVersion;
    return command;
  }
  if (arguments[0] == "simulate") {
    command.kind = LabCommandKind::kSimulate;
  } else if (arguments[0] == "replay") {
    command.kind = LabCommandKind::kReplay;
  } else {
    command.error = "unknown command \"" + arguments[0] + "\" (simulate or replay)";
    return command;
  }
  const bool simulate = command.kind == LabCommandKind::kSimulate;
  std::vector<int> systems = AllSystems();
  int baseStake = 1;
  std::uint64_t seed = defaultSeed;
  int threads = std::max(1, std::min(defaultThreads, static_cast<int>(kThreads.high)));
  Parser parser(arguments, command);
  bool optionsEnded = false;
  for (std::size_t i = 1; i < arguments.size() && !parser.Failed(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--" && !optionsEnded) {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || argument.rfind("--", 0) != 0) {
      if (simulate) {
        parser.Fail("simulate takes no file: \"" + argument + "\"");
      } else {
        command.files.push_back(argument);
      }
      continue;
    }
    const std::string name = argument.substr(0, argument.find('='));
    const auto forCommand = [&](bool simulateOnly) {
      if (simulateOnly != simulate) {
        parser.Fail(name + " is an option of " + (simulateOnly ? "simulate" : "replay"));
        return false;
      }
      return true;
    };
    if (name == "--help" || name == "--version") {
      command.kind = name == "--help" ? LabCommandKind::kHelp : LabCommandKind::kVersion;
      return command;
    }
    const std::optional<std::string> value = parser.Value(i, name, argument);
    if (!value) break;
    if (name == "--system") {
      if (*value == "all") {
        systems = AllSystems();
      } else if (value->size() == 1 && (*value)[0] >= '1' && (*value)[0] <= '5') {
        systems = {(*value)[0] - '0'};
      } else {
        parser.Fail("--system must be 1, 2, 3, 4, 5 or all, not \"" + *value + "\"");
      }
    } else if (name == "--stake") {
      baseStake = static_cast<int>(parser.Number(name, *value, kStakes));
    } else if (name == "--seed") {
      seed = parser.Number(name, *value, kSeeds);
    } else if (name == "--threads") {
      threads = static_cast<int>(parser.Number(name, *value, kThreads));
    } else if (name == "--json" || name == "--csv" || name == "--plot") {
      if (value->empty()) parser.Fail(name + " needs a file name");
      (name == "--json"  ? command.outputs.json
       : name == "--csv" ? command.outputs.csv
                         : command.outputs.plot) = *value;
    } else if (name == "--spins" && forCommand(true)) {
      command.simulation.spinsPerSession =
          static_cast<std::int64_t>(parser.Number(name, *value, kSpins));
    } else if (name == "--sessions" && forCommand(true)) {
      command.simulation.sessions =
          static_cast<std::int64_t>(parser.Number(name, *value, kSessions));
    } else if (name == "--bankroll" && forCommand(true)) {
      command.simulation.bankroll = static_cast<Money>(parser.Number(name, *value, kMoney));
    } else if (name == "--stop-win" && forCommand(true)) {
      command.simulation.stopWin = static_cast<Money>(parser.Number(name, *value, kMoney));
    } else if (name == "--runs" && forCommand(false)) {
      command.replay.runs = static_cast<int>(parser.Number(name, *value, kRuns));
    } else if (!parser.Failed()) {
      parser.Fail("unknown option " + name);
    }
  }
  if (!parser.Failed()) {
    const LabOutputs& outputs = command.outputs;
    if (outputs.json == "-" && outputs.csv == "-") {
      parser.Fail("--json and --csv cannot both go to standard output");
    } else if (outputs.plot == "-") {
      parser.Fail("--plot needs a file name");
    } else if (!simulate && command.files.empty()) {
      parser.Fail("replay needs at least one FILE");
    } else if (!outputs.plot.empty() && command.files.size() > 1) {
      parser.Fail("--plot draws one file: replay one FILE at a time to plot it");
    } else if (simulate) {
      // Each factor is within its range, so the product fits.
      const std::uint64_t spins = systems.size() *
                                  static_cast<std::uint64_t>(command.simulation.sessions) *
                                  static_cast<std::uint64_t>(command.simulation.spinsPerSession);
      if (spins > kMostSimulatedSpins) {
        parser.Fail("the simulation would play " + WithThousands(std::to_string(spins)) +
                    " spins; one plays at most " +
                    WithThousands(std::to_string(kMostSimulatedSpins)) +
                    ": fewer --sessions, --spins or systems");
      }
    }
  }
  command.simulation.systems = command.replay.systems = systems;
  command.simulation.baseStake = command.replay.baseStake = baseStake;
  command.simulation.seed = command.replay.seed = seed;
  command.simulation.threads = command.replay.threads = threads;
  command.simulation.bankCurves = !command.outputs.plot.empty();
  return command;
}

}  // namespace wheelwatcher
