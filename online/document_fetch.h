// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "online/http_exchange.h"

namespace wheelwatcher {

// However a server answers, a fetch ends this long after it began.
inline constexpr std::chrono::seconds kFetchDeadline{10};

struct ResolvedAddress {
  sockaddr_storage address{};
  socklen_t length = 0;
};
// The addresses a host name stands for, in the order to try them; empty when there are none.
using NameResolver =
    std::function<std::vector<ResolvedAddress>(const std::string& host, std::uint16_t port)>;

struct DocumentFetchOptions {
  std::chrono::milliseconds deadline = kFetchDeadline;
  // Empty: the system's resolver.
  NameResolver resolver;
};

// GETs http://server:port/objectPath past any cache, through the user's proxy variables when they
// name one. Connecting has 1000 ms (name lookup included) and one retry; within them every address
// the name gives is tried, a new one every 250 ms or sooner while the earlier ones still wait, so
// an address that never answers (a broken IPv6 route) costs no more than that. 1000 ms without a
// new byte ends the fetch, as does `options.deadline` after the start; a body over
// kMaxDocumentBytes fails it. The body when the status is 200 to 400; nothing on any failure.
// `stopRequested` is polled every few tens of milliseconds and aborts the transfer. Blocking: call
// it on a worker thread. Plain sockets, so no TLS or other network library is ever loaded for it.
std::optional<std::string> FetchDocument(const DocumentFetchRequest& request,
                                         const std::function<bool()>& stopRequested,
                                         const DocumentFetchOptions& options = {});

}  // namespace wheelwatcher
