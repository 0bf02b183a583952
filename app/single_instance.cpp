// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

// How long a running program that is too busy to take a connection is waited for before it counts
// as hung, and how long an ending program waits for a start that is looking at the socket.
constexpr std::chrono::milliseconds kWaitForOtherStart{1000};
constexpr std::chrono::milliseconds kBusyRetryInterval{20};
constexpr int kListenBacklog = 16;

QString LockPathFor(const QString& socketPath) { return socketPath + QStringLiteral(".lock"); }

// The address of the socket, or nothing when the path does not fit: cut short, it would name
// some other file.
std::optional<sockaddr_un> AddressOf(const QString& socketPath) {
  const QByteArray encoded = QFile::encodeName(socketPath);
  sockaddr_un address{};
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
}  // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() {
  if (listener_ < 0) return;
  // Under the lock, so that a start at this moment finds either this program or no socket, and
  // the socket it sets up is never the one removed here. Without the lock in time the socket is
  // removed all the same, as an ending program must not hang.
  QLockFile lock(LockPathFor(socketPath_));
  lock.tryLock(kWaitForOtherStart);
  unlink(QFile::encodeName(socketPath_).constData());
  listenerNotifier_.reset();
  close(listener_);
}

QString SingleInstance::SocketPathForThisDisplay() {
  // Qt's runtime folder falls back to a folder only this user may enter, never to a shared one
  // where another user could plant the socket.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  QString display = qEnvironmentVariable("DISPLAY", qEnvironmentVariable("WAYLAND_DISPLAY"));
  display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
  return folder + QStringLiteral("/wheelwatcher-") + display + QStringLiteral(".socket");
}

bool SingleInstance::Claim() {
  // Two starts at the same moment would both find no program and both listen; the lock lets one
  // finish before the other looks. A lock left by a crashed process is taken over.
  QLockFile lock(LockPathFor(socketPath_));
  if (!lock.lock()) return true;
  const std::optional<sockaddr_un> address = AddressOf(socketPath_);
  if (!address) return true;
  if (AskRunningProgram(*address)) return false;
  Listen(*address);
  return true;
}

void SingleInstance::Listen(const sockaddr_un& address) {
  // Nobody answers: whatever lies at the path was left by a program that crashed.
  unlink(address.sun_path);
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener < 0) return;
  if (bind(listener, AsGeneric(address), sizeof address) != 0) {
    close(listener);
    return;
  }
  // The runtime folder is the user's own already; the mode keeps the socket so where it is not.
  if (chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || listen(listener, kListenBacklog) != 0) {
    unlink(address.sun_path);
    close(listener);
    return;
  }
  listener_ = listener;
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
