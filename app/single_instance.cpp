// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include <QApplication>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

namespace {
constexpr int kConnectTimeoutMs = 1000;
}  // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
      client->deleteLater();
      emit activationRequested();
    }
  });
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
  QLockFile lock(socketPath_ + QStringLiteral(".lock"));
  if (!lock.lock()) return true;

  QLocalSocket running;
  running.connectToServer(socketPath_);
  if (running.waitForConnected(kConnectTimeoutMs)) {
    running.disconnectFromServer();
    return false;
  }
  // Nobody answers: whatever lies at the path was left by a program that crashed.
  QLocalServer::removeServer(socketPath_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(socketPath_);
  return true;
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
