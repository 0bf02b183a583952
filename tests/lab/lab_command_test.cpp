// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
}

TEST(LabCommand, RefusesWhatIsOutOfRangeOrMisplaced) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{}, "a command is needed: simulate or replay"},
      {{"simulat"}, "unknown command \"simulat\" (simulate or replay)"},
      {{"simulate", "--stake", "11"}, "--stake must be a whole number from 1 to 10, not \"11\""},
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
