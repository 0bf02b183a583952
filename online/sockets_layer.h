// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wheelwatcher {

// The network layer the update check needs, checked once at start-up: a process that may not open
// an Internet socket (a sandbox, a kernel without IPv4) cannot check for updates, and the program
// then tells the user and ends.
class SocketsLayer {
 public:
  // False when the layer cannot start.
  bool Start();
};

}  // namespace wheelwatcher
