// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/journal_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace wheelwatcher {

namespace {

constexpr std::string_view kFilePrefix = "session-";
constexpr std::string_view kFileSuffix = ".journal";
constexpr std::string_view kFolderName = "wheelwatcher";

bool IsJournalName(std::string_view name) {
  return name.size() > kFilePrefix.size() + kFileSuffix.size() &&
         name.substr(0, kFilePrefix.size()) == kFilePrefix &&
         name.substr(name.size() - kFileSuffix.size()) == kFileSuffix;
}

// session-20261207T151234.123456Z.journal: names sort as the times they carry.
std::string NewFileName(std::chrono::system_clock::time_point now) {
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(micros / 1000000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &utc);
  char fraction[16];
  std::snprintf(fraction, sizeof fraction, ".%06lldZ", static_cast<long long>(micros % 1000000));
  return std::string(kFilePrefix) + text + fraction + std::string(kFileSuffix);
}

std::string ErrorText(int error) { return std::strerror(error); }

// Makes each missing folder of an absolute path, for the user alone.
bool MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

std::vector<std::string> JournalNames(int folderFd) {
  std::vector<std::string> names;
  const int listFd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return names;
  DIR* folder = fdopendir(listFd);
  if (folder == nullptr) {
    close(listFd);
    return names;
  }
  while (const dirent* entry = readdir(folder)) {
    if (IsJournalName(entry->d_name)) names.emplace_back(entry->d_name);
  }
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

JournalStore::JournalStore(std::string folder) : folder_(std::move(folder)) {}

JournalStore::~JournalStore() {
  {
    std::lock_guard lock(flushMutex_);
    stopping_ = true;
  }
  flushWanted_.notify_one();
  if (flusher_.joinable()) flusher_.join();
  if (fileFd_ >= 0) close(fileFd_);
  if (folderFd_ >= 0) close(folderFd_);
}

std::string JournalStore::DefaultFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/')
    return std::string(state) + "/" + std::string(kFolderName);
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    // Started without a home in its environment (by a service, say): the user's own.
    const passwd* user = getpwuid(geteuid());
    home = user != nullptr ? user->pw_dir : "";
  }
  return std::string(home) + "/.local/state/" + std::string(kFolderName);
}

bool JournalStore::OpenFolder() {
  if (folderFd_ >= 0) return true;
  if (!folderProblem_.empty()) return false;
  const std::size_t lastSlash = folder_.rfind('/');
  if (folder_.empty() || folder_[0] != '/' || lastSlash == 0 || lastSlash + 1 == folder_.size()) {
    folderProblem_ = "the folder " + folder_ + " is not an absolute path";
    return false;
  }
  const std::string parent = folder_.substr(0, lastSlash);
  const std::string name = folder_.substr(lastSlash + 1);
  if (!MakeFolders(parent)) {
    folderProblem_ = "the folder " + parent + " cannot be made: " + ErrorText(errno);
    return false;
  }
  const int parentFd = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parentFd < 0) {
    folderProblem_ = "the folder " + parent + " cannot be opened: " + ErrorText(errno);
    return false;
  }
  if (mkdirat(parentFd, name.c_str(), 0700) != 0 && errno != EEXIST) {
    folderProblem_ = "the folder " + folder_ + " cannot be made: " + ErrorText(errno);
    close(parentFd);
    return false;
  }
  // Not through a link: the journals stay in the folder the user owns.
  const int fd = openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  const int openError = errno;
  struct stat link {};
  const bool isLink = fd < 0 && fstatat(parentFd, name.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
                      S_ISLNK(link.st_mode);
  close(parentFd);
  if (fd < 0) {
    folderProblem_ = "the folder " + folder_ + " cannot be opened: " +
                     (isLink ? std::string("it is a symbolic link") : ErrorText(openError));
    return false;
  }
  struct stat status {};
  if (fstat(fd, &status) != 0 || status.st_uid != geteuid()) {
    folderProblem_ = "the folder " + folder_ + " belongs to another user";
    close(fd);
    return false;
  }
  if ((status.st_mode & 077) != 0) fchmod(fd, 0700);
  folderFd_ = fd;
  return true;
}

JournalStore::LastSession JournalStore::ReadLastSessionAndPrune() {
  LastSession last;
  if (!OpenFolder()) return last;
  std::vector<std::string> names = JournalNames(folderFd_);
  // This run's own journal, begun by a spin entered before the last session was read, is no
  // session to resume.
  std::erase_if(names, [this](const std::string& name) {
    return !filePath_.empty() && filePath_ == folder_ + "/" + name;
  });
  if (names.empty()) return last;
  const std::string& newest = names.back();
  const std::string shown = folder_ + "/" + newest;
  const auto setAside = [&](const std::string& why) {
    last.problem = "The last session could not be brought back from " + shown + ": " + why +
                   ". A fresh session has begun.";
  };

  // Non-blocking, so a FIFO put in its place cannot hold the start-up.
  const int fd =
      openat(folderFd_, newest.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    setAside(errno == ELOOP ? "it is a symbolic link"
                            : "it cannot be read (" + ErrorText(errno) + ")");
  } else {
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
      setAside("it is not a regular file");
    } else if (static_cast<std::size_t>(status.st_size) > kJournalMaxBytes) {
      setAside("it is too large");
    } else {
      std::string text(static_cast<std::size_t>(status.st_size), '\0');
      std::size_t got = 0;
      int readError = 0;
      while (got < text.size()) {
        const ssize_t n = read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError = errno;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
      }
      if (readError != 0) {
        setAside("it cannot be read (" + ErrorText(readError) + ")");
      } else {
        text.resize(got);
        JournalReading reading = ReadJournal(text);
        if (!reading.problem.empty()) {
          setAside(reading.problem);
        } else {
          last.session = std::move(reading.session);
        }
      }
    }
    close(fd);
  }

  if (names.size() > kKeptJournals) {
    for (std::size_t i = 0; i + kKeptJournals < names.size(); ++i) {
      unlinkat(folderFd_, names[i].c_str(), 0);
    }
  }
  return last;
}

bool JournalStore::OpenNewFile() {
  if (!OpenFolder()) {
    Fail(folderProblem_);
    return false;
  }
  auto now = std::chrono::system_clock::now();
  int fd = -1;
  std::string name;
  // A name already taken (two starts in one microsecond, or something placed there) is never
  // opened: O_EXCL makes a new file or fails.
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    name = NewFileName(now + std::chrono::microseconds(attempt));
    fd = openat(folderFd_, name.c_str(),
                O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    Fail("the journal cannot be made in " + folder_ + ": " + ErrorText(errno));
    return false;
  }
  {
    std::lock_guard lock(flushMutex_);
    fileFd_ = fd;
  }
  filePath_ = folder_ + "/" + name;
  fileBytes_ = 0;
  flusher_ = std::thread(&JournalStore::FlushInBackground, this);
  return WriteAll(FormatJournalHeader());
}

void JournalStore::ContinueFrom(const JournalSession& session) {
  if (failed_ || fileFd_ >= 0) return;
  std::string lines;
  for (const JournalRecord& record : session.records) lines += FormatJournalRecord(record);
  if (OpenNewFile()) WriteAll(lines);
}

void JournalStore::Append(const std::string& lines) {
  if (failed_) return;
  if (fileFd_ < 0 && !OpenNewFile()) return;
  WriteAll(lines);
}

bool JournalStore::WriteAll(const std::string& bytes) {
  if (failed_) return false;
  if (fileBytes_ + bytes.size() > kJournalMaxBytes) {
    Fail("the journal has reached its largest size");
    return false;
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fileFd_, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail("the journal cannot be written (" + ErrorText(errno) + ")");
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  fileBytes_ += written;
  {
    std::lock_guard lock(flushMutex_);
    flushPending_ = true;
  }
  flushWanted_.notify_one();
  return true;
}

void JournalStore::FlushInBackground() {
  std::unique_lock lock(flushMutex_);
  while (true) {
    flushWanted_.wait(lock, [this] { return flushPending_ || stopping_; });
    if (!flushPending_) return;
    flushPending_ = false;
    const int fd = fileFd_;
    lock.unlock();
    fdatasync(fd);
    lock.lock();
  }
}

void JournalStore::Fail(const std::string& reason) {
  if (failed_) return;
  failed_ = true;
  if (report_) report_(reason);
}

}  // namespace wheelwatcher
