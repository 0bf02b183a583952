// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

namespace wheelwatcher {

namespace {
using Clock = std::chrono::steady_clock;

// How long a running program that is too busy to take a connection is waited for before it counts
// as hung.
constexpr std::chrono::milliseconds kWaitForOtherStart{1000};
constexpr std::chrono::milliseconds kBusyRetryInterval{20};
constexpr int kListenBacklog = 16;

// How long a start waits for another start that is setting up or looking at the socket. Past it the
// program starts anyway: a second window beats none.
constexpr std::chrono::milliseconds kWaitForStartLock{1000};
// Places tried after the usual one when something other than a socket sits there (a folder
// someone made). Every start tries them in the same order, so they still find each other.
constexpr int kSocketPlaces = 3;

QString LockPathFor(const QString& socketPath) { return socketPath + QStringLiteral(".lock"); }

// The n-th place of the socket: the usual path, then "-2", "-3" before the suffix.
QString SocketPlace(const QString& socketPath, int index) {
  if (index == 0) return socketPath;
  QString place = socketPath;
  place.insert(place.lastIndexOf(QLatin1Char('.')), QStringLiteral("-%1").arg(index + 1));
  return place;
}

// Held by the start that is looking at the socket, and by an ending program while it removes its
// socket. A lock the kernel keeps on an ordinary file: a crashed holder releases it, its content
// does not matter, and a path that is not a regular file (a folder, a FIFO) is no lock at all.
class StartLock {
 public:
  explicit StartLock(const QString& path) {
    descriptor_ = open(QFile::encodeName(path).constData(),
                       O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, S_IRUSR | S_IWUSR);
    struct stat status {};
    if (descriptor_ < 0 || fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
      Release();
      return;
    }
    const Clock::time_point deadline = Clock::now() + kWaitForStartLock;
    while (flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || Clock::now() >= deadline) {
        Release();
        return;
      }
      std::this_thread::sleep_for(kBusyRetryInterval);
    }
  }
  ~StartLock() { Release(); }
  StartLock(const StartLock&) = delete;
  StartLock& operator=(const StartLock&) = delete;

 private:
  void Release() {
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = -1;
  }
  int descriptor_ = -1;
};

// The address of the socket at `path`. A path too long for an address is reached through the open
// folder (`folder`, a descriptor) under /proc, as a path cut short would name some other file.
std::optional<sockaddr_un> AddressOf(const QString& path, int folder) {
  QByteArray encoded = QFile::encodeName(path);
  sockaddr_un address{};
  if (static_cast<size_t>(encoded.size()) >= sizeof address.sun_path && folder >= 0) {
    encoded = "/proc/self/fd/" + QByteArray::number(folder) + '/' +
              QFile::encodeName(QFileInfo(path).fileName());
  }
  if (encoded.isEmpty() || static_cast<size_t>(encoded.size()) >= sizeof address.sun_path) {
    return std::nullopt;
  }
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, encoded.constData(), static_cast<size_t>(encoded.size()));
  return address;
}

const sockaddr* AsGeneric(const sockaddr_un& address) {
  return reinterpret_cast<const sockaddr*>(&address);
}

// True when a program listens at the address; the connection alone asks it to come forward.
// Connecting to a local socket never waits for the other side: a file nobody listens on refuses
// at once, and only a full queue, a running program that is busy, asks to try again.
bool AskRunningProgram(const sockaddr_un& address) {
  const Clock::time_point deadline = Clock::now() + kWaitForOtherStart;
  for (;;) {
    const int client = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (client < 0) return false;
    const int result = connect(client, AsGeneric(address), sizeof address);
    const int error = errno;
    close(client);
    if (result == 0) return true;
    if ((error != EAGAIN && error != EINTR) || Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kBusyRetryInterval);
  }
}

// One X display, however DISPLAY writes it: ":63", ":63.0" and "unix:63" are the same server;
// the screen number does not matter, as the program has one window.
QString DisplayName() {
  const QString x11 = qEnvironmentVariable("DISPLAY");
  if (x11.isEmpty()) return qEnvironmentVariable("WAYLAND_DISPLAY");
  const qsizetype colon = x11.lastIndexOf(QLatin1Char(':'));
  if (colon < 0) return x11;
  QString host = x11.left(colon);
  QString number = x11.mid(colon + 1);
  number.truncate(number.indexOf(QLatin1Char('.')) < 0 ? number.size()
                                                       : number.indexOf(QLatin1Char('.')));
  if (host == QLatin1String("unix")) host.clear();
  return host + QLatin1Char(':') + number;
}
}  // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() {
  if (listener_ >= 0) {
    // Under the lock, so that a start at this moment finds either this program or no socket, and
    // the socket it sets up is never the one removed here. Without the lock in time the socket is
    // removed all the same, as an ending program must not hang.
    StartLock lock(LockPathFor(socketPath_));
    unlink(QFile::encodeName(listenPath_).constData());
    listenerNotifier_.reset();
    close(listener_);
  }
  if (folder_ >= 0) close(folder_);
}

QString SingleInstance::SocketPathForThisDisplay() {
  // Qt's runtime folder falls back to a folder only this user may enter, never to a shared one
  // where another user could plant the socket.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  QString display = DisplayName();
  display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
  return folder + QStringLiteral("/wheelwatcher-") + display + QStringLiteral(".socket");
}

bool SingleInstance::Claim() {
  // Two starts at the same moment would both find no program and both listen; the lock lets one
  // finish before the other looks. Without the lock in time, the start goes on all the same.
  StartLock lock(LockPathFor(socketPath_));
  folder_ = open(QFile::encodeName(QFileInfo(socketPath_).path()).constData(),
                 O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (int index = 0; index < kSocketPlaces; ++index) {
    const QString place = SocketPlace(socketPath_, index);
    struct stat status {};
    const bool occupied = lstat(QFile::encodeName(place).constData(), &status) == 0;
    if (occupied && !S_ISSOCK(status.st_mode)) continue;
    const std::optional<sockaddr_un> address = AddressOf(place, folder_);
    if (!address) return true;
    if (occupied && AskRunningProgram(*address)) return false;
    Listen(place, *address);
    return true;
  }
  return true;
}

void SingleInstance::Listen(const QString& path, const sockaddr_un& address) {
  const QByteArray encodedPath = QFile::encodeName(path);
  // Nobody answers: whatever socket lies at the path was left by a program that crashed.
  unlink(encodedPath.constData());
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener < 0) return;
  if (bind(listener, AsGeneric(address), sizeof address) != 0) {
    close(listener);
    return;
  }
  // The runtime folder is the user's own already; the mode keeps the socket so where it is not.
  if (chmod(encodedPath.constData(), S_IRUSR | S_IWUSR) != 0 ||
      listen(listener, kListenBacklog) != 0) {
    unlink(encodedPath.constData());
    close(listener);
    return;
  }
  listener_ = listener;
  listenPath_ = path;
  listenerNotifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
  connect(listenerNotifier_.get(), &QSocketNotifier::activated, this,
          &SingleInstance::AcceptPending);
}

void SingleInstance::AcceptPending() {
  for (;;) {
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // none left (the listener does not block)
    }
    close(client);
    emit activationRequested();
  }
}

void BringWindowsToFront() {
  QWidget* focus = QApplication::activeModalWidget();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible() || window->windowType() == Qt::Popup ||
        window->windowType() == Qt::ToolTip) {
      continue;
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    if (focus == nullptr) focus = window;
  }
  if (focus != nullptr) {
    focus->raise();
    focus->activateWindow();
  }
}

}  // namespace wheelwatcher
