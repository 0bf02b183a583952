// SPDX-License-Identifier: GPL-3.0-or-later
// The lab's real executable, run as a user runs it: its output, files, messages and exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace wheelwatcher {

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

// How the lab is started, besides its arguments.
struct Start {
  int stderrFd = -1;         // replaces the captured standard error
  std::string stdoutPath{};  // standard output appended to this file instead of captured
  bool stdoutClosed = false;
  std::string fault{};  // a fault the preloaded faults library plays
};

class LabCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/lab-cli-XXXXXX";
    folder_ = mkdtemp(pattern);
  }
  void TearDown() override {
    for (const fs::path& mounted : mounts_) umount(mounted.c_str());
    fs::remove_all(folder_);
  }

  fs::path In(const std::string& name) const { return folder_ / name; }

  void WriteFile(const std::string& name, const std::string& text) const {
    std::ofstream(In(name), std::ios::binary) << text;
  }

  // A tmpfs at `name` in the test's folder: a small one to fill, a read-only one. Only root may
  // mount: without it the caller skips.
  bool Mount(const std::string& name, const std::string& options, unsigned long flags = 0) {
    fs::create_directory(In(name));
    if (geteuid() != 0 || mount("tmpfs", In(name).c_str(), "tmpfs", flags, options.c_str()) != 0) {
      return false;
    }
    mounts_.push_back(In(name));
    return true;
  }

  // Runs the lab in the test's folder. A run that has not ended after 30 s is killed and has the
  // status -1, so a hang fails the test instead of stopping the suite.
  LabRun Lab(std::vector<std::string> arguments, const Start& start = {}) const {
    arguments.insert(arguments.begin(), WHEELWATCHER_LAB_EXECUTABLE);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      environment.emplace_back(*variable);
    }
    if (!start.fault.empty()) {
      environment.push_back(std::string("LD_PRELOAD=") + WHEELWATCHER_LAB_FAULTS_PRELOAD);
      environment.push_back("WHEELWATCHER_LAB_FAULT=" + start.fault);
    }
    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    const std::string out = (folder_ / ".stdout").string();
    const std::string err = (folder_ / ".stderr").string();
    const std::string& outPath = start.stdoutPath.empty() ? out : start.stdoutPath;
    const int outFlags = O_WRONLY | O_CREAT | (start.stdoutPath.empty() ? O_TRUNC : O_APPEND);
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(folder_.c_str()) != 0) _exit(127);
      dup2(start.stderrFd >= 0 ? start.stderrFd
                               : open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
           STDERR_FILENO);
      if (start.stdoutClosed) {
        close(STDOUT_FILENO);
      } else {
        dup2(open(outPath.c_str(), outFlags, 0600), STDOUT_FILENO);
      }
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (waitpid(child, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    LabRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(out);
    run.err = start.stderrFd >= 0 ? "" : ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return run;
  }

  // The names in a folder of the test's.
  std::vector<std::string> FolderEntries(const std::string& name = ".") const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(In(name))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
  std::vector<fs::path> mounts_;
};

TEST_F(LabCli, BadInputWritesNothingAndSaysWhere) {
  WriteFile("evening.txt", "17 3 0\n21, 44, 5\n");
  fs::create_directory(In("folder"));
  ASSERT_EQ(mkfifo(In("fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", In("zeros"));
  // One byte over the size a spin file may have, and one spin over what a replay may play.
  WriteFile("huge.txt", std::string((4 << 20) + 1, ' '));
  std::string manySpins;
  for (int spin = 0; spin <= 100000; ++spin) manySpins += "7\n";
  WriteFile("many.txt", manySpins);
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<std::string> outputs = {"--json", "r.json", "--csv",
                                            "r.csv",  "--plot", "r.png"};
  const Case cases[] = {
      {{"replay", "evening.txt"},
       "wheelwatcher-lab: evening.txt:2:5: \"44\" is not a number from 0 to 36\n"},
      {{"replay", "missing.txt"},
       "wheelwatcher-lab: cannot read missing.txt: No such file or directory\n"},
      {{"replay", "folder"}, "wheelwatcher-lab: cannot read folder: Is a directory\n"},
      {{"replay", "fifo"}, "wheelwatcher-lab: cannot read fifo: it is not a regular file\n"},
      {{"replay", "zeros"}, "wheelwatcher-lab: cannot read zeros: it is not a regular file\n"},
      {{"replay", "huge.txt"},
       "wheelwatcher-lab: cannot read huge.txt: larger than 4 MiB, more than a spin file holds\n"},
      {{"replay", "many.txt"},
       "wheelwatcher-lab: many.txt: the files hold more than 100,000 spins, the most one replay "
       "plays\n"},
      {{"simulate", "--spins", "0"},
       "wheelwatcher-lab: --spins must be a whole number from 1 to 10,000,000, not \"0\"\n"
       "Try 'wheelwatcher-lab --help'.\n"},
  };
  const std::vector<std::string> before = FolderEntries();
  for (const Case& c : cases) {
    // The case's own options come last, so they win over the outputs'.
    std::vector<std::string> arguments = {c.arguments.front()};
    arguments.insert(arguments.end(), outputs.begin(), outputs.end());
    arguments.insert(arguments.end(), c.arguments.begin() + 1, c.arguments.end());
    const LabRun run = Lab(arguments);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_EQ(run.err, c.message);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(FolderEntries(), before) << c.message;
  }
}

// A result goes only to a regular file it may replace; anything else is left as it was, with
// status 1, and no other result is written.
TEST_F(LabCli, ResultPlacesThatTakeNoResultAreLeftAlone) {
  WriteFile("read-only.json", "old\n");
  fs::permissions(In("read-only.json"), fs::perms(0444));
  WriteFile("linked.json", "old\n");
  fs::create_hard_link(In("linked.json"), In("other-name.json"));
  fs::create_directory(In("folder"));
  ASSERT_EQ(mkfifo(In("fifo").c_str(), 0600), 0);
  fs::create_symlink("nowhere.json", In("dangling.json"));
  // The null device's numbers: a write to it would succeed and vanish.
  const bool device = mknod(In("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  const bool readOnlyMount = Mount("read-only-mount", "size=64k", MS_RDONLY);
  struct Case {
    std::string name;
    std::string target;
    std::string message;
    bool skip = false;
  };
  const Case cases[] = {
      {"ReadOnlyFile", "read-only.json", "read-only.json: it is read-only"},
      {"HardLinkedFile", "linked.json", "linked.json: the file has other names (hard links)"},
      {"Folder", "folder", "folder: it is a folder"},
      {"Fifo", "fifo", "fifo: it is not a regular file (- writes to standard output)"},
      {"DanglingLink", "dangling.json", "dangling.json: its symbolic link leads to no file"},
      {"MissingFolder", "no-such-folder/r.json",
       "no-such-folder/r.json: No such file or directory"},
      {"Device", "null", "null: it is not a regular file (- writes to standard output)", !device},
      {"ReadOnlyFileSystem", "read-only-mount/r.json",
       "read-only-mount/r.json: Read-only file system", !readOnlyMount},
  };
  const std::vector<std::string> before = FolderEntries();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.skip) {
      std::cout << c.name << " skipped: making it needs root\n";
      continue;
    }
    const LabRun run = Lab({"simulate", "--sessions", "10", "--csv", "r.csv", "--json", c.target});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "wheelwatcher-lab: cannot write " + c.message + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(FolderEntries(), before);
  }
  EXPECT_EQ(ReadFile(In("read-only.json")), "old\n");
  EXPECT_EQ(ReadFile(In("other-name.json")), "old\n");
  EXPECT_TRUE(fs::is_fifo(In("fifo")));
  if (device) {
    EXPECT_TRUE(fs::is_character_file(In("null")));
  }
}

// A replaced file keeps its permissions and owner; a symbolic link is followed to its file and
// stays a link.
TEST_F(LabCli, ReplacedFileKeepsItsModeAndALinkStaysALink) {
  fs::create_directory(In("kept"));
  WriteFile("kept/r.json", "old\n");
  fs::permissions(In("kept/r.json"), fs::perms(0640));
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(In("kept/r.json").c_str(), 1234, 5678), 0);
  }
  fs::create_symlink("kept/r.json", In("link.json"));
  WriteFile("private.csv", "old\n");
  fs::permissions(In("private.csv"), fs::perms(0600));

  const LabRun run = Lab({"simulate", "--sessions", "10", "--seed", "3", "--json", "link.json",
                          "--csv", "private.csv"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(In("link.json")));
  EXPECT_EQ(ReadFile(In("kept/r.json")).rfind("{\n  \"command\": \"simulate\"", 0), 0u);
  EXPECT_EQ(ReadFile(In("private.csv")).rfind("system,name,", 0), 0u);
  struct stat json {
  }, csv{};
  ASSERT_EQ(stat(In("kept/r.json").c_str(), &json), 0);
  ASSERT_EQ(stat(In("private.csv").c_str(), &csv), 0);
  EXPECT_EQ(json.st_mode & 07777, 0640u);
  EXPECT_EQ(csv.st_mode & 07777, 0600u);
  if (root) {
    EXPECT_EQ(json.st_uid, 1234u);
    EXPECT_EQ(json.st_gid, 5678u);
  }
  EXPECT_EQ(FolderEntries("kept"), std::vector<std::string>{"r.json"});
}

// Two names for one file, found by device and inode, are refused before any work: status 2 and
// nothing changed.
TEST_F(LabCli, OneFileUnderTwoNamesIsRefused) {
  WriteFile("spins.txt", "1 2 3\n");
  WriteFile("r.json", "old\n");
  fs::create_symlink("r.json", In("also-r.json"));
  const std::string roundabout = "../" + folder_.filename().string() + "/spins.txt";
  struct Case {
    std::string name;
    std::vector<std::string> arguments;
    std::string message;
    std::string standardOutput;
  };
  const Case cases[] = {
      {"NewFileTwice",
       {"simulate", "--json", "new.json", "--csv", "./new.json"},
       "--csv ./new.json is the same file as --json new.json",
       ""},
      {"ExistingFileThroughALink",
       {"simulate", "--json", "r.json", "--plot", "also-r.json"},
       "--plot also-r.json is the same file as --json r.json",
       ""},
      {"ResultOverTheSpins",
       {"replay", "spins.txt", "--csv", "spins.txt"},
       "--csv spins.txt is the same file as the spin file spins.txt",
       ""},
      {"ResultOverTheSpinsByAnotherPath",
       {"replay", "spins.txt", "--json", roundabout},
       "--json " + roundabout + " is the same file as the spin file spins.txt",
       ""},
      {"StandardOutputAppendedToTheSpins",
       {"replay", "spins.txt"},
       "standard output is the same file as the spin file spins.txt",
       "spins.txt"},
      {"StandardOutputIntoAResult",
       {"simulate", "--json", "r.json"},
       "standard output is the same file as --json r.json",
       "r.json"},
  };
  const std::vector<std::string> before = FolderEntries();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start start;
    if (!c.standardOutput.empty()) start.stdoutPath = In(c.standardOutput).string();
    const LabRun run = Lab(c.arguments, start);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "wheelwatcher-lab: " + c.message + "\n");
    EXPECT_EQ(FolderEntries(), before);
    EXPECT_EQ(ReadFile(In("spins.txt")), "1 2 3\n");
    EXPECT_EQ(ReadFile(In("r.json")), "old\n");
  }
}

// Every failed write is said, with status 1, and leaves the old results as they were.
TEST_F(LabCli, EveryWriteFailureIsStatusOne) {
  std::string spins;
  for (int spin = 0; spin < 2000; ++spin) spins += std::to_string(spin % 37) + " ";
  WriteFile("evening.txt", spins);
  const bool smallDisk = Mount("small", "size=64k");
  if (smallDisk) {
    // The old results, and a file that leaves too little room for the new ones.
    WriteFile("small/r.json", "old\n");
    WriteFile("small/r.csv", "old\n");
    WriteFile("small/filler", std::string(40000, 'x'));
  }
  struct Case {
    std::string name;
    std::vector<std::string> arguments;
    Start start;
    std::string message;
  };
  const Case cases[] = {
      {"FullDisk",
       {"replay", "evening.txt", "--runs", "2", "--json", "small/r.json", "--csv", "small/r.csv"},
       {},
       "cannot write small/r.json: No space left on device"},
      {"FullStandardOutput",
       {"simulate", "--sessions", "10"},
       {.stdoutPath = "/dev/full"},
       "cannot write to standard output: No space left on device"},
      {"JsonToAFullStandardOutput",
       {"simulate", "--sessions", "10", "--json", "-"},
       {.stdoutPath = "/dev/full"},
       "cannot write to standard output: No space left on device"},
      {"CsvToAClosedStandardOutput",
       {"simulate", "--sessions", "10", "--csv", "-"},
       {.stdoutClosed = true},
       "cannot write to standard output: Bad file descriptor"},
      {"VersionToAClosedStandardOutput",
       {"--version"},
       {.stdoutClosed = true},
       "cannot write to standard output: Bad file descriptor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.name == "FullDisk" && !smallDisk) {
      std::cout << c.name << " skipped: mounting a small disk needs root\n";
      continue;
    }
    const LabRun run = Lab(c.arguments, c.start);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "wheelwatcher-lab: " + c.message + "\n");
  }
  if (smallDisk) {
    EXPECT_EQ(ReadFile(In("small/r.json")), "old\n");
    EXPECT_EQ(ReadFile(In("small/r.csv")), "old\n");
    EXPECT_EQ(FolderEntries("small"), (std::vector<std::string>{"filler", "r.csv", "r.json"}));
  }
}

// A run ended while its results are being written leaves the old results and no temporary file.
TEST_F(LabCli, InterruptedWhileWritingLeavesTheOldResults) {
  WriteFile("r.json", "old\n");
  const LabRun run = Lab({"simulate", "--sessions", "10", "--json", "r.json", "--csv", "r.csv"},
                         {.fault = "terminate-at-sync"});
  EXPECT_EQ(run.status, -1);
  EXPECT_EQ(ReadFile(In("r.json")), "old\n");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"r.json"});
}

// A spin list that begins with a byte order mark, a FILE after --, and no thread to spare: the
// same results as a plain run.
TEST_F(LabCli, ByteOrderMarkDoubleDashAndNoThreadsChangeNothing) {
  WriteFile("plain.txt", "5 5 5 5 5 12 0\n");
  WriteFile("--marked.txt",
            "\xEF\xBB\xBF"
            "5 5 5 5 5 12 0\n");
  const std::vector<std::string> options = {"--runs",    "20", "--seed", "9",
                                            "--threads", "4",  "--csv",  "-"};
  const auto replay = [&](const std::string& file, const Start& start = {}) {
    std::vector<std::string> arguments = {"replay"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"--", file});
    return Lab(arguments, start);
  };
  const LabRun plain = replay("plain.txt");
  ASSERT_EQ(plain.status, 0) << plain.err;
  const LabRun marked = replay("--marked.txt");
  ASSERT_EQ(marked.status, 0) << marked.err;
  // The CSV names the file in each row.
  std::string expected = plain.out;
  for (std::size_t at = 0; (at = expected.find("plain.txt", at)) != std::string::npos;) {
    expected.replace(at, 9, "--marked.txt");
  }
  EXPECT_EQ(marked.out, expected);
  const LabRun threadless = replay("plain.txt", {.fault = "no-threads"});
  EXPECT_EQ(threadless.status, 0) << threadless.err;
  EXPECT_EQ(threadless.out, plain.out);
  const std::vector<std::string> simulate = {"simulate",  "--sessions", "300",    "--seed", "2",
                                             "--threads", "8",          "--json", "-"};
  const LabRun simulated = Lab(simulate, {.fault = "no-threads"});
  EXPECT_EQ(simulated.status, 0) << simulated.err;
  EXPECT_EQ(simulated.out, Lab(simulate).out);
}

TEST_F(LabCli, VersionAndHelp) {
  const LabRun version = Lab({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("wheelwatcher-lab ") + WHEELWATCHER_VERSION + "\n");
  const LabRun help = Lab({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage:\n  wheelwatcher-lab simulate", 0), 0u);
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
                         {.stderrFd = terminal});
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

}  // namespace wheelwatcher
