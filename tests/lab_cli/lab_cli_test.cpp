// SPDX-License-Identifier: GPL-3.0-or-later
// The lab's real executable, run as a user runs it: its output, files, messages and exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct LabRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LabCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/lab-cli-XXXXXX";
    folder_ = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path In(const std::string& name) const { return folder_ / name; }

  void WriteFile(const std::string& name, const std::string& text) const {
    std::ofstream(In(name), std::ios::binary) << text;
  }

  // Runs the lab in the test's folder; `stderrFd` replaces the captured standard error.
  LabRun Lab(std::vector<std::string> arguments, int stderrFd = -1) const {
    arguments.insert(arguments.begin(), WHEELWATCHER_LAB_EXECUTABLE);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string out = (folder_ / ".stdout").string();
    const std::string err = (folder_ / ".stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder_.c_str());
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (stderrFd >= 0) {
      posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
    } else {
      posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    pid_t child = 0;
    LabRun run;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
      int status = 0;
      waitpid(child, &status, 0);
      run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadFile(out);
    run.err = stderrFd >= 0 ? "" : ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return run;
  }

  // What the run left in the folder, besides the files the test wrote itself.
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

TEST_F(LabCli, BadInputWritesNothingAndSaysWhere) {
  WriteFile("evening.txt", "17 3 0\n21, 44, 5\n");
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<std::string> outputs = {"--json", "r.json", "--csv",
                                            "r.csv",  "--plot", "r.png"};
  const Case cases[] = {
      {{"replay", "evening.txt"},
       "wheelwatcher-lab: evening.txt:2:5: \"44\" is not a number from 0 to 36\n"},
      {{"replay", "missing.txt"}, "wheelwatcher-lab: cannot read missing.txt\n"},
      {{"simulate", "--spins", "0"},
       "wheelwatcher-lab: --spins must be a whole number from 1 to 10,000,000, not \"0\"\n"
       "Try 'wheelwatcher-lab --help'.\n"},
      {{"simulate", "--sessions", "10", "--csv", "no-such-folder/r.csv"},
       "wheelwatcher-lab: cannot write no-such-folder/r.csv: No such file or directory\n"},
      {{"simulate", "--sessions", "10", "--json", "."},
       "wheelwatcher-lab: cannot write .: it is a folder\n"},
  };
  for (const Case& c : cases) {
    // The case's own options come last, so they win over the outputs'.
    std::vector<std::string> arguments = {c.arguments.front()};
    arguments.insert(arguments.end(), outputs.begin(), outputs.end());
    arguments.insert(arguments.end(), c.arguments.begin() + 1, c.arguments.end());
    const LabRun run = Lab(arguments);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_EQ(run.err, c.message);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"evening.txt"}) << c.message;
  }
}

TEST_F(LabCli, SimulateWritesEveryResultAndTheThreadsChangeNothing) {
  const std::vector<std::string> arguments = {
      "simulate", "--sessions", "400", "--spins", "200", "--seed", "11", "--stop-win", "50"};
  std::vector<std::string> withFiles = arguments;
  withFiles.insert(withFiles.end(),
                   {"--threads", "1", "--json", "r.json", "--csv", "r.csv", "--plot", "r.png"});
  const LabRun run = Lab(withFiles);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("400 sessions of up to 200 spins per system"), std::string::npos);
  EXPECT_NE(run.out.find("seed 11"), std::string::npos);
  EXPECT_NE(run.out.find("sessions at stop-win"), std::string::npos);
  EXPECT_NE(run.out.find("house edge 1/37 = 2.70 %"), std::string::npos);
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"r.csv", "r.json", "r.png"}));

  const std::string csv = ReadFile(In("r.csv"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6);
  EXPECT_EQ(csv.rfind("system,name,sessions,", 0), 0u);
  const std::string json = ReadFile(In("r.json"));
  EXPECT_EQ(json.rfind("{\n  \"command\": \"simulate\"", 0), 0u);

  // The same run on other threads, its JSON and CSV on standard output.
  const auto with = [&arguments](std::vector<std::string> more) {
    more.insert(more.begin(), arguments.begin(), arguments.end());
    return more;
  };
  EXPECT_EQ(Lab(with({"--threads", "3", "--json", "-"})).out, json);
  EXPECT_EQ(Lab(with({"--threads", "3", "--csv", "-"})).out, csv);
  EXPECT_EQ(Lab(with({"--threads", "2"})).out, run.out);
}

// The plot: its size, the felt background, and a panel per system, two to a row, each with the
// system's lines in its colour, the ruin line and the share still playing.
TEST_F(LabCli, PlotShowsAPanelPerSystem) {
  const LabRun run = Lab({"simulate", "--sessions", "300", "--spins", "300", "--seed", "5",
                          "--bankroll", "200", "--plot", "bank.png"});
  ASSERT_EQ(run.status, 0) << run.err;
  const QImage image(QString::fromStdString(In("bank.png").string()));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(1400, 1020));
  EXPECT_GT(image.pixelColor(5, 5).green(), image.pixelColor(5, 5).red());
  const QColor systems[] = {QColor(238, 204, 110), QColor(255, 140, 200), QColor(200, 160, 255),
                            QColor(120, 240, 110), QColor(255, 165, 60)};
  const QColor ruin(255, 70, 70);
  const QColor playing(90, 220, 255);
  for (int panel = 0; panel < 5; ++panel) {
    const QRect cell(24 + panel % 2 * 676, 96 + panel / 2 * 300, 676, 300);
    std::map<QRgb, int> counts;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
      for (int x = cell.left(); x <= cell.right(); ++x) ++counts[image.pixel(x, y)];
    }
    for (const QColor& colour : {systems[panel], ruin, playing}) {
      EXPECT_GT(counts[colour.rgb()], 50)
          << "panel " << panel << ", " << colour.name().toStdString();
    }
    // Each panel holds its own system's colour only.
    for (int other = 0; other < 5; ++other) {
      if (other != panel) {
        EXPECT_LT(counts[systems[other].rgb()], 5) << panel << " " << other;
      }
    }
  }
}

TEST_F(LabCli, ReplaysTheProgramsOwnExport) {
  WriteFile("history.txt",
            "\r\nYou are using system VESPIN\r\n\r\nSpin History 5, 5, 5, 5, 5, 5, 12, \r\n\r\n"
            "Black Spins 1\r\n\r\nRed Spins 6");
  const LabRun run =
      Lab({"replay", "history.txt", "--system", "1", "--runs", "10", "--seed", "4", "--csv", "-"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream rows(run.out);
  std::string row;
  std::getline(rows, row);
  EXPECT_EQ(row,
            "file,system,name,runs,base_stake,seed,spin,number,bank_mean,bank_p5,bank_p95,"
            "worst_bank,largest_deficit,largest_stake");
  std::vector<std::string> lines;
  while (std::getline(rows, row)) lines.push_back(row);
  ASSERT_EQ(lines.size(), 7u);
  // After four 5s every run bets on 5: the sixth spin wins 36 for a stake of 1 in every run.
  EXPECT_EQ(lines[0].rfind("history.txt,1,KAVRI,10,1,4,1,5,", 0), 0u);
}

// On a terminal a long run shows a progress bar on standard error, and clears it at the end.
TEST_F(LabCli, ProgressBarOnATerminal) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  std::string shown;
  std::thread reader([&] {
    char buffer[4096];
    for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
  });
  const auto started = std::chrono::steady_clock::now();
  const LabRun run = Lab({"simulate", "--system", "2", "--sessions", "30000", "--spins", "1000",
                          "--bankroll", "1000000", "--threads", "1", "--seed", "1"},
                         terminal);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  close(terminal);
  reader.join();
  close(master);
  ASSERT_EQ(run.status, 0);
  if (seconds < 1.5) GTEST_SKIP() << "the run took " << seconds << " s, too short for the bar";
  EXPECT_NE(shown.find("M spins/s"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\r\033[K"), std::string::npos);
}

}  // namespace
