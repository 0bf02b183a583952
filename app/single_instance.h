// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>

struct sockaddr_un;

namespace wheelwatcher {

// One running program per user and display. The first start listens on a local socket; a later
// start finds it there, asks the running program to come to the front, and ends. Plain POSIX
// sockets rather than Qt Network, whose library drags Kerberos and proxy libraries into every
// start.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString socketPath, QObject* parent = nullptr);
  ~SingleInstance() override;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // The socket for this user and display: in the user's runtime folder, or in a private folder
  // under the temporary folder when the session has none. One name for one display, whichever
  // way DISPLAY writes it.
  static QString SocketPathForThisDisplay();

  // True when this process is to run: no program was running, or the socket could not be set up
  // (then starting beats refusing). False when a running program was asked to come forward.
  // Waits at most about a second for another start, whatever lies at the lock or socket path.
  bool Claim();

 signals:
  // A later start asked this program to come to the front.
  void activationRequested();

 private:
  void Listen(const QString& path, const sockaddr_un& address);
  void AcceptPending();

  QString socketPath_;
  QString listenPath_;  // where this program's socket is, once it listens
  int folder_ = -1;     // the socket's folder, which reaches a path too long for an address
  int listener_ = -1;
  std::unique_ptr<QSocketNotifier> listenerNotifier_;
};

// Brings every visible window of the program to the front, restoring a minimised one, and gives
// the focus to the modal dialog if one is open, else to the first of them.
void BringWindowsToFront();

}  // namespace wheelwatcher
