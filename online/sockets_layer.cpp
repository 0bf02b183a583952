// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/sockets_layer.h"

#include <sys/socket.h>
#include <unistd.h>

namespace wheelwatcher {

bool SocketsLayer::Start() {
  const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  close(probe);
  return true;
}

}  // namespace wheelwatcher
