// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace wheelwatcher {

namespace {

LabCommand Parse(std::vector<std::string> arguments) { return ParseLabCommand(arguments, 2, 99); }

TEST(LabCommand, SimulateWithEveryOption) {
  const LabCommand c = Parse({"simulate",   "--system",
                              "4",          "--stake=3",
                              "--spins",    "500",
                              "--sessions", "2000",
                              "--bankroll", "250",
                              "--stop-win", "100",
                              "--seed",     "18446744073709551615",
                              "--threads",  "3",
                              "--json",     "-",
                              "--csv",      "out.csv",
                              "--plot",     "bank.png"});
  ASSERT_EQ(c.error, "");
  EXPECT_EQ(c.kind, LabCommandKind::kSimulate);
  const SimulationSettings& s = c.simulation;
  EXPECT_EQ(s.systems, std::vector<int>{4});
  EXPECT_EQ(s.baseStake, 3);
  EXPECT_EQ(s.spinsPerSession, 500);
  EXPECT_EQ(s.sessions, 2000);
  EXPECT_EQ(s.bankroll, 250);
  EXPECT_EQ(s.stopWin, 100);
  EXPECT_EQ(s.seed, 18446744073709551615u);
  EXPECT_EQ(s.threads, 3);
  EXPECT_TRUE(s.bankCurves);
  EXPECT_EQ(c.outputs.json, "-");
  EXPECT_EQ(c.outputs.csv, "out.csv");
  EXPECT_EQ(c.outputs.plot, "bank.png");
}

TEST(LabCommand, DefaultsAndReplayFiles) {
  const LabCommand simulate = Parse({"simulate"});
  EXPECT_EQ(simulate.simulation.systems, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(simulate.simulation.seed, 99u);
  EXPECT_EQ(simulate.simulation.threads, 2);
  EXPECT_FALSE(simulate.simulation.stopWin);
  EXPECT_FALSE(simulate.simulation.bankCurves);

  const LabCommand replay = Parse({"replay", "a.txt", "--runs", "7", "b.txt", "--system", "all"});
  ASSERT_EQ(replay.error, "");
  EXPECT_EQ(replay.kind, LabCommandKind::kReplay);
  EXPECT_EQ(replay.files, (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(replay.replay.runs, 7);
  EXPECT_EQ(replay.replay.systems.size(), 5u);

  for (const auto& help : {std::vector<std::string>{"--help"}, {"help"}, {"simulate", "--help"}}) {
    EXPECT_EQ(Parse(help).kind, LabCommandKind::kHelp);
  }
  for (const auto& version :
       {std::vector<std::string>{"--version"}, {"replay", "a", "--version"}}) {
    EXPECT_EQ(Parse(version).kind, LabCommandKind::kVersion);
  }
}

// Every value an option takes, at the edges of its range: each lands where it belongs.
TEST(LabCommand, EveryRangeIsTakenToItsEdges) {
  using Read = std::function<std::uint64_t(const LabCommand&)>;
  const Read stake = [](const LabCommand& c) { return c.simulation.baseStake; };
  const Read spins = [](const LabCommand& c) { return c.simulation.spinsPerSession; };
  const Read sessions = [](const LabCommand& c) { return c.simulation.sessions; };
  const Read bankroll = [](const LabCommand& c) { return c.simulation.bankroll; };
  const Read stopWin = [](const LabCommand& c) { return c.simulation.stopWin.value_or(0); };
  const Read threads = [](const LabCommand& c) { return c.simulation.threads; };
  const Read seed = [](const LabCommand& c) { return c.simulation.seed; };
  const Read runs = [](const LabCommand& c) { return c.replay.runs; };
  const Read system = [](const LabCommand& c) {
    return c.simulation.systems.size() == 1 ? c.simulation.systems[0] : 0;
  };
  struct Case {
    std::string name;
    std::vector<std::string> arguments;
    Read read;
    std::uint64_t value;
  };
  const Case cases[] = {
      {"StakeLowest", {"simulate", "--stake", "1"}, stake, 1},
      {"StakeHighest", {"simulate", "--stake", "10"}, stake, 10},
      {"SpinsLowest", {"simulate", "--spins", "1"}, spins, 1},
      // Also exactly the most spins one simulation plays.
      {"SpinsHighest",
       {"simulate", "--system", "1", "--sessions", "10000", "--spins", "10000000"},
       spins,
       10000000},
      {"SessionsLowest", {"simulate", "--sessions", "1"}, sessions, 1},
      {"SessionsHighest", {"simulate", "--sessions", "1000000"}, sessions, 1000000},
      {"BankrollLowest", {"simulate", "--bankroll", "1"}, bankroll, 1},
      {"BankrollHighest", {"simulate", "--bankroll", "1000000000000"}, bankroll, 1000000000000},
      {"StopWinLowest", {"simulate", "--stop-win", "1"}, stopWin, 1},
      {"StopWinHighest", {"simulate", "--stop-win", "1000000000000"}, stopWin, 1000000000000},
      {"ThreadsLowest", {"simulate", "--threads", "1"}, threads, 1},
      {"ThreadsHighest", {"simulate", "--threads", "256"}, threads, 256},
      {"SeedLowest", {"simulate", "--seed", "0"}, seed, 0},
      {"SeedHighest", {"simulate", "--seed", "18446744073709551615"}, seed, 18446744073709551615u},
      {"RunsLowest", {"replay", "a.txt", "--runs", "1"}, runs, 1},
      {"RunsHighest", {"replay", "a.txt", "--runs", "100000"}, runs, 100000},
      {"System1", {"simulate", "--system", "1"}, system, 1},
      {"System2", {"simulate", "--system", "2"}, system, 2},
      {"System3", {"simulate", "--system", "3"}, system, 3},
      {"System4", {"simulate", "--system", "4"}, system, 4},
      {"System5", {"simulate", "--system", "5"}, system, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LabCommand command = Parse(c.arguments);
    ASSERT_EQ(command.error, "");
    EXPECT_EQ(c.read(command), c.value);
  }
}

TEST(LabCommand, DoubleDashEndsTheOptions) {
  const LabCommand replay = Parse({"replay", "--runs", "3", "--", "--runs", "--", "-"});
  ASSERT_EQ(replay.error, "");
  EXPECT_EQ(replay.files, (std::vector<std::string>{"--runs", "--", "-"}));
  EXPECT_EQ(replay.replay.runs, 3);
  EXPECT_EQ(Parse({"simulate", "--", "x"}).error, "simulate takes no file: \"x\"");
}

TEST(LabCommand, RefusesWhatIsOutOfRangeOrMisplaced) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{}, "a command is needed: simulate or replay"},
      {{"simulat"}, "unknown command \"simulat\" (simulate or replay)"},
      {{"simulate", "--stake", "0"}, "--stake must be a whole number from 1 to 10, not \"0\""},
      {{"simulate", "--stake", "11"}, "--stake must be a whole number from 1 to 10, not \"11\""},
      {{"simulate", "--spins", "10000001"},
       "--spins must be a whole number from 1 to 10,000,000, not \"10000001\""},
      {{"simulate", "--sessions", "0"},
       "--sessions must be a whole number from 1 to 1,000,000, not \"0\""},
      {{"simulate", "--sessions", "1000001"},
       "--sessions must be a whole number from 1 to 1,000,000, not \"1000001\""},
      {{"simulate", "--bankroll", "0"},
       "--bankroll must be a whole number from 1 to 1,000,000,000,000, not \"0\""},
      {{"simulate", "--bankroll", "1000000000001"},
       "--bankroll must be a whole number from 1 to 1,000,000,000,000, not \"1000000000001\""},
      {{"simulate", "--stop-win", "0"},
       "--stop-win must be a whole number from 1 to 1,000,000,000,000, not \"0\""},
      {{"simulate", "--stop-win", "1000000000001"},
       "--stop-win must be a whole number from 1 to 1,000,000,000,000, not \"1000000000001\""},
      {{"simulate", "--threads", "0"}, "--threads must be a whole number from 1 to 256, not \"0\""},
      {{"simulate", "--threads", "257"},
       "--threads must be a whole number from 1 to 256, not \"257\""},
      {{"replay", "a.txt", "--runs", "100001"},
       "--runs must be a whole number from 1 to 100,000, not \"100001\""},
      {{"simulate", "--system", "0"}, "--system must be 1, 2, 3, 4, 5 or all, not \"0\""},
      {{"simulate", "--system", "15"}, "--system must be 1, 2, 3, 4, 5 or all, not \"15\""},
      {{"simulate", "--system", "1", "--sessions", "100001", "--spins", "1000000"},
       "the simulation would play 100,001,000,000 spins; one plays at most 100,000,000,000: fewer "
       "--sessions, --spins or systems"},
      {{"simulate", "--spins", "0"},
       "--spins must be a whole number from 1 to 10,000,000, not \"0\""},
      {{"simulate", "--sessions", "1e5"},
       "--sessions must be a whole number from 1 to 1,000,000, not \"1e5\""},
      {{"simulate", "--bankroll", "-5"},
       "--bankroll must be a whole number from 1 to 1,000,000,000,000, not \"-5\""},
      {{"simulate", "--seed", "18446744073709551616"},
       "--seed must be a whole number from 0 to 18,446,744,073,709,551,615, not "
       "\"18446744073709551616\""},
      {{"simulate", "--threads", ""}, "--threads must be a whole number from 1 to 256, not \"\""},
      {{"simulate", "--system", "6"}, "--system must be 1, 2, 3, 4, 5 or all, not \"6\""},
      {{"simulate", "--spins"}, "--spins needs a value"},
      {{"simulate", "--colour", "red"}, "unknown option --colour"},
      {{"simulate", "spins.txt"}, "simulate takes no file: \"spins.txt\""},
      {{"simulate", "--runs", "3"}, "--runs is an option of replay"},
      {{"replay", "a.txt", "--bankroll", "3"}, "--bankroll is an option of simulate"},
      {{"replay", "--runs", "0", "a.txt"},
       "--runs must be a whole number from 1 to 100,000, not \"0\""},
      {{"replay"}, "replay needs at least one FILE"},
      {{"replay", "a.txt", "b.txt", "--plot", "p.png"},
       "--plot draws one file: replay one FILE at a time to plot it"},
      {{"simulate", "--json", "-", "--csv", "-"},
       "--json and --csv cannot both go to standard output"},
      {{"simulate", "--plot", "-"}, "--plot needs a file name"},
      {{"simulate", "--csv="}, "--csv needs a file name"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Parse(c.arguments).error, c.error) << c.error;
  }
}

}  // namespace

}  // namespace wheelwatcher
