// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/journal_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace wheelwatcher {

namespace {

namespace fs = std::filesystem;

std::string JournalOf(int spins) {
  std::string text = FormatJournalHeader() + FormatJournalRecord(JournalRecord::Begin(1, 1, {7}));
  for (int i = 0; i < spins; ++i) text += FormatJournalRecord(JournalRecord::Spin(i % 37, {9}));
  return text;
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct StateFolder {
  QTemporaryDir scratch;
  fs::path root = scratch.path().toStdString();
  fs::path folder = root / "state" / "wheelwatcher";
};

// What may lie where the newest journal should be. Each is set aside with a reason and a fresh
// session; none hangs the start-up, none is followed elsewhere.
TEST(JournalStore, TheNewestJournalIsReadOnlyWhenItIsASaneRegularFile) {
  struct Case {
    const char* name;
    std::function<void(const fs::path& journal, const fs::path& elsewhere)> place;
    const char* problem;  // a part of the message; empty: the session is read
    std::size_t spins;
  };
  const Case cases[] = {
      {"a journal", [](const fs::path& j, const fs::path&) { WriteFile(j, JournalOf(4)); }, "", 4},
      {"a journal torn by a kill",
       [](const fs::path& j, const fs::path&) {
         const std::string text = JournalOf(4);
         WriteFile(j, text.substr(0, text.size() - 3));
       },
       "", 3},
      {"a symbolic link to a journal elsewhere",
       [](const fs::path& j, const fs::path& elsewhere) {
         WriteFile(elsewhere, JournalOf(4));
         fs::create_symlink(elsewhere, j);
       },
       "is a symbolic link", 0},
      {"a directory", [](const fs::path& j, const fs::path&) { fs::create_directory(j); },
       "is not a regular file", 0},
      {"a FIFO nobody writes", [](const fs::path& j, const fs::path&) { mkfifo(j.c_str(), 0600); },
       "is not a regular file", 0},
      {"huge",
       [](const fs::path& j, const fs::path&) {
         WriteFile(j, JournalOf(1));
         fs::resize_file(j, kJournalMaxBytes + 1);
       },
       "is too large", 0},
      {"damaged",
       [](const fs::path& j, const fs::path&) {
         std::string text = JournalOf(4);
         text[text.find("spin")] = 'S';
         WriteFile(j, text);
       },
       "line 3 is damaged", 0},
      {"from a newer version",
       [](const fs::path& j, const fs::path&) {
         const std::string header = "wheelwatcher-journal 9";
         char checksum[16];
         std::snprintf(checksum, sizeof checksum, " *%08x\n", JournalChecksum(header));
         WriteFile(j, header + checksum + JournalOf(3).substr(FormatJournalHeader().size()));
       },
       "was written by a newer version", 0},
      {"empty", [](const fs::path& j, const fs::path&) { WriteFile(j, ""); }, "it is empty", 0},
      {"unreadable",
       [](const fs::path& j, const fs::path&) {
         WriteFile(j, JournalOf(4));
         fs::permissions(j, fs::perms::none);
       },
       geteuid() == 0 ? "" : "cannot be read", geteuid() == 0 ? 4u : 0u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StateFolder state;
    fs::create_directories(state.folder);
    WriteFile(state.folder / "session-20260101T000000.000000Z.journal", JournalOf(2));
    const fs::path newest = state.folder / "session-20260102T000000.000000Z.journal";
    c.place(newest, state.root / "elsewhere.journal");

    JournalStore store(state.folder.string());
    const auto started = std::chrono::steady_clock::now();
    const JournalStore::LastSession last = store.ReadLastSessionAndPrune();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    if (c.problem[0] == '\0') {
      EXPECT_EQ(last.problem, "");
      ASSERT_TRUE(last.session);
      EXPECT_EQ(last.session->spins, c.spins);
    } else {
      EXPECT_FALSE(last.session);
      EXPECT_NE(last.problem.find(c.problem), std::string::npos) << last.problem;
      EXPECT_NE(last.problem.find(newest.string()), std::string::npos) << last.problem;
      EXPECT_NE(last.problem.find("A fresh session has begun."), std::string::npos);
    }
  }
}

TEST(JournalStore, AFolderThatIsALinkIsNeitherReadNorWritten) {
  StateFolder state;
  fs::create_directories(state.folder.parent_path());
  const fs::path target = state.root / "target";
  fs::create_directory(target);
  WriteFile(target / "session-20260102T000000.000000Z.journal", JournalOf(3));
  fs::create_directory_symlink(target, state.folder);

  JournalStore store(state.folder.string());
  std::vector<std::string> failures;
  store.SetFailureReport([&](const std::string& reason) { failures.push_back(reason); });
  EXPECT_FALSE(store.ReadLastSessionAndPrune().session);
  store.Append(FormatJournalRecord(JournalRecord::Rewind()));
  store.Append(FormatJournalRecord(JournalRecord::Rewind()));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("symbolic link"), std::string::npos) << failures[0];
  EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 1);
}

TEST(JournalStore, KeepsTheNewestTenJournalsAndNothingElseIsTouched) {
  StateFolder state;
  fs::create_directories(state.folder);
  fs::permissions(state.folder, fs::perms::all);  // made open by someone: closed again
  for (int day = 1; day <= 13; ++day) {
    char name[64];
    std::snprintf(name, sizeof name, "session-202601%02dT000000.000000Z.journal", day);
    WriteFile(state.folder / name, JournalOf(day));
  }
  WriteFile(state.folder / "notes.txt", "mine");

  JournalStore store(state.folder.string());
  const JournalStore::LastSession last = store.ReadLastSessionAndPrune();
  ASSERT_TRUE(last.session);
  EXPECT_EQ(last.session->spins, 13u);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(state.folder)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  ASSERT_EQ(left.size(), 11u);
  EXPECT_EQ(left.front(), "notes.txt");
  EXPECT_EQ(left[1], "session-20260104T000000.000000Z.journal");
  EXPECT_EQ(fs::status(state.folder).permissions() & fs::perms::all, fs::perms::owner_all);
}

// The journal a run writes, and the session resumed into a journal of its own, read back whole.
TEST(JournalStore, WritesWhatItIsGivenIntoANewFileForTheUserAlone) {
  StateFolder state;
  JournalStore resumed(state.folder.string());
  const JournalReading old = ReadJournal(JournalOf(5));
  ASSERT_TRUE(old.session);
  resumed.ContinueFrom(*old.session);
  resumed.Append(FormatJournalRecord(JournalRecord::Spin(17, {3})));
  ASSERT_FALSE(resumed.FilePath().empty());
  EXPECT_EQ(fs::status(state.folder).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(fs::status(resumed.FilePath()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  JournalStore next(state.folder.string());
  const JournalStore::LastSession last = next.ReadLastSessionAndPrune();
  ASSERT_TRUE(last.session);
  EXPECT_EQ(last.session->spins, 6u);
  EXPECT_EQ(last.session->records.back(), JournalRecord::Spin(17, {3}));
}

// A disk that fills while playing: play goes on, the player is told once, and what was written
// before stays readable.
TEST(JournalStore, AFullDiskIsReportedOnceAndTheJournalStaysReadable) {
  StateFolder state;
  JournalStore store(state.folder.string());
  std::vector<std::string> failures;
  store.SetFailureReport([&](const std::string& reason) { failures.push_back(reason); });
  store.Append(JournalOf(3).substr(FormatJournalHeader().size()));

  // A file size limit stands in for the full disk: writes past it fail as they would there.
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit limit = previous;
  limit.rlim_cur = static_cast<rlim_t>(fs::file_size(store.FilePath()) + 30);
  setrlimit(RLIMIT_FSIZE, &limit);
  for (int i = 0; i < 5; ++i) store.Append(FormatJournalRecord(JournalRecord::Spin(i, {1})));
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("cannot be written"), std::string::npos) << failures[0];
  std::ifstream file(store.FilePath(), std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(file)), {});
  const JournalReading reading = ReadJournal(written);
  EXPECT_EQ(reading.problem, "");
  ASSERT_TRUE(reading.session);
  EXPECT_EQ(reading.session->spins, 4u);  // the three, and the one that fitted
  EXPECT_TRUE(reading.tornLastLineDropped);
}

TEST(JournalStore, AFolderThatCannotBeMadeIsReportedAtTheFirstSpin) {
  StateFolder state;
  fs::create_directories(state.root / "state");
  WriteFile(state.root / "state" / "wheelwatcher", "a file, not a folder");
  JournalStore store(state.folder.string());
  std::vector<std::string> failures;
  store.SetFailureReport([&](const std::string& reason) { failures.push_back(reason); });
  EXPECT_FALSE(store.ReadLastSessionAndPrune().session);
  store.Append(JournalOf(1));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find(state.folder.string()), std::string::npos) << failures[0];
}

}  // namespace

}  // namespace wheelwatcher
