// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One running program per user and display. The first start listens on a local socket; a later
// start finds it there, asks the running program to come to the front, and ends.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString socketPath, QObject* parent = nullptr);

  // The socket for this user and display: in the user's runtime folder, or in a private folder
  // under the temporary folder when the session has none.
  static QString SocketPathForThisDisplay();

  // True when this process is to run: no program was running, or the socket could not be set up
  // (then starting beats refusing). False when a running program was asked to come forward.
  bool Claim();

 signals:
  // A later start asked this program to come to the front.
  void activationRequested();

 private:
  QString socketPath_;
  QLocalServer server_;
};

// Brings every visible window of the program to the front, restoring a minimised one, and gives
// the focus to the modal dialog if one is open, else to the first of them.
void BringWindowsToFront();
