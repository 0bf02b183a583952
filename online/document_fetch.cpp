// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/document_fetch.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace wheelwatcher {

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

constexpr Milliseconds kConnectTimeout{1000};
constexpr int kConnectAttempts = 2;  // one retry
constexpr Milliseconds kReceiveTimeout{1000};
constexpr Milliseconds kStopPollInterval{50};
// How long one address may keep the next waiting, as browsers do for dual-stack hosts.
constexpr Milliseconds kNextAddressDelay{250};

enum class AttemptResult { kReceived, kConnectFailed, kFailed };

class SocketHandle {
 public:
  explicit SocketHandle(int descriptor = -1) : descriptor_(descriptor) {}
  ~SocketHandle() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  SocketHandle(SocketHandle&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  SocketHandle& operator=(SocketHandle&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    return *this;
  }
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

std::vector<ResolvedAddress> ResolveWithTheSystem(const std::string& host, std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  std::vector<ResolvedAddress> addresses;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return {};
  for (const addrinfo* each = found; each != nullptr; each = each->ai_next) {
    if (each->ai_addrlen > sizeof(sockaddr_storage)) continue;
    ResolvedAddress address;
    std::memcpy(&address.address, each->ai_addr, each->ai_addrlen);
    address.length = each->ai_addrlen;
    addresses.push_back(address);
  }
  freeaddrinfo(found);
  return addresses;
}

// The resolver cannot be interrupted, so it runs on a thread of its own that the fetch may leave
// behind when the connect time-out passes or a stop is requested.
struct NameLookup {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::vector<ResolvedAddress> addresses;
};

std::shared_ptr<NameLookup> StartNameLookup(const NameResolver& resolver, const std::string& host,
                                            std::uint16_t port) {
  auto lookup = std::make_shared<NameLookup>();
  try {
    std::thread([lookup, resolver, host, port] {
      std::vector<ResolvedAddress> addresses = resolver(host, port);
      std::lock_guard lock(lookup->mutex);
      lookup->addresses = std::move(addresses);
      lookup->finished = true;
      lookup->done.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return lookup;
}

// Waits on `descriptor` for `events` until `deadline`, in slices so a stop is noticed. True when
// the descriptor is ready.
bool WaitForSocket(int descriptor, short events, Clock::time_point deadline,
                   const std::function<bool()>& stopRequested) {
  for (;;) {
    if (stopRequested()) return false;
    const auto left = std::chrono::ceil<Milliseconds>(deadline - Clock::now());
    if (left <= Milliseconds::zero()) return false;
    pollfd descriptorToWatch{descriptor, events, 0};
    const int ready =
        poll(&descriptorToWatch, 1, static_cast<int>(std::min(left, kStopPollInterval).count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
  }
}

enum class ConnectResult { kConnected, kTimedOutOrRefused, kFailed };

// Connects to the first of `addresses` that answers. The attempts overlap: each next address is
// started when the earlier ones have failed, or after kNextAddressDelay, or sooner when the rest of
// the time would not leave every address its share.
ConnectResult ConnectToAny(const std::vector<ResolvedAddress>& addresses,
                           Clock::time_point deadline, const std::function<bool()>& stopRequested,
                           SocketHandle& connection) {
  std::vector<SocketHandle> waiting;
  std::size_t next = 0;
  Clock::time_point nextStart = Clock::now();
  for (;;) {
    if (stopRequested()) return ConnectResult::kFailed;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) return ConnectResult::kTimedOutOrRefused;
    if (next < addresses.size() && now >= nextStart) {
      const ResolvedAddress& address = addresses[next++];
      SocketHandle candidate(
          socket(address.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
      nextStart = now;
      if (candidate.get() < 0) continue;
      if (connect(candidate.get(), reinterpret_cast<const sockaddr*>(&address.address),
                  address.length) == 0) {
        connection = std::move(candidate);
        return ConnectResult::kConnected;
      }
      if (errno != EINPROGRESS) continue;
      waiting.push_back(std::move(candidate));
      const auto share = (deadline - now) / static_cast<long>(addresses.size() - next + 1);
      nextStart = now + std::min<Clock::duration>(kNextAddressDelay, share);
      continue;
    }
    if (waiting.empty()) {
      if (next >= addresses.size()) return ConnectResult::kTimedOutOrRefused;
      continue;
    }
    const Clock::time_point until =
        next < addresses.size() ? std::min(nextStart, deadline) : deadline;
    std::vector<pollfd> watched;
    for (const SocketHandle& each : waiting) watched.push_back({each.get(), POLLOUT, 0});
    const auto left = std::max(std::chrono::ceil<Milliseconds>(until - now), Milliseconds(0));
    const int ready = poll(watched.data(), watched.size(),
                           static_cast<int>(std::min(left, kStopPollInterval).count()));
    if (ready < 0 && errno != EINTR) return ConnectResult::kFailed;
    for (std::size_t i = watched.size(); ready > 0 && i-- > 0;) {
      if (watched[i].revents == 0) continue;
      int error = 0;
      socklen_t length = sizeof error;
      if (getsockopt(watched[i].fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
        connection = std::move(waiting[i]);
        return ConnectResult::kConnected;
      }
      waiting.erase(waiting.begin() + static_cast<std::ptrdiff_t>(i));
      nextStart = Clock::now();  // refused: the next address need not wait
    }
  }
}

ConnectResult Connect(const HttpRoute& route, const NameResolver& resolver,
                      Clock::time_point fetchDeadline, const std::function<bool()>& stopRequested,
                      SocketHandle& connection) {
  const Clock::time_point deadline = std::min(Clock::now() + kConnectTimeout, fetchDeadline);
  const std::shared_ptr<NameLookup> lookup =
      StartNameLookup(resolver, route.connectHost, route.connectPort);
  if (!lookup) return ConnectResult::kFailed;
  std::vector<ResolvedAddress> addresses;
  {
    std::unique_lock lock(lookup->mutex);
    while (!lookup->finished) {
      if (stopRequested()) return ConnectResult::kFailed;
      if (Clock::now() >= deadline) return ConnectResult::kTimedOutOrRefused;
      lookup->done.wait_for(lock, kStopPollInterval);
    }
    addresses = lookup->addresses;
  }
  if (addresses.empty()) return ConnectResult::kFailed;  // no such host
  return ConnectToAny(addresses, deadline, stopRequested, connection);
}

// The receive time-out from now, cut short by the fetch's deadline.
Clock::time_point ReadDeadline(Clock::time_point fetchDeadline) {
  return std::min(Clock::now() + kReceiveTimeout, fetchDeadline);
}

bool SendAll(int descriptor, const std::string& bytes, Clock::time_point fetchDeadline,
             const std::function<bool()>& stopRequested) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    if (!WaitForSocket(descriptor, POLLOUT, ReadDeadline(fetchDeadline), stopRequested)) {
      return false;
    }
    const ssize_t count = send(descriptor, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (count < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (count > 0) sent += static_cast<std::size_t>(count);
  }
  return true;
}

AttemptResult FetchOnce(const DocumentFetchRequest& request, const HttpRoute& route,
                        const NameResolver& resolver, Clock::time_point fetchDeadline,
                        const std::function<bool()>& stopRequested, std::string& body) {
  SocketHandle connection;
  switch (Connect(route, resolver, fetchDeadline, stopRequested, connection)) {
    case ConnectResult::kConnected:
      break;
    case ConnectResult::kTimedOutOrRefused:
      return AttemptResult::kConnectFailed;
    case ConnectResult::kFailed:
      return AttemptResult::kFailed;
  }
  if (!SendAll(connection.get(), FormatDocumentRequest(request, route), fetchDeadline,
               stopRequested)) {
    return AttemptResult::kFailed;
  }

  // Any byte, of the head or of the body, gives the server another second, up to the deadline.
  HttpResponseReader reader;
  HttpResponseReader::Progress progress = HttpResponseReader::Progress::kNeedMore;
  char buffer[4096];
  while (progress == HttpResponseReader::Progress::kNeedMore) {
    if (!WaitForSocket(connection.get(), POLLIN, ReadDeadline(fetchDeadline), stopRequested)) {
      return AttemptResult::kFailed;
    }
    const ssize_t count = recv(connection.get(), buffer, sizeof buffer, 0);
    if (count < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return AttemptResult::kFailed;
    }
    progress = count == 0 ? reader.FeedEnd()
                          : reader.Feed(std::string_view(buffer, static_cast<std::size_t>(count)));
  }
  if (progress != HttpResponseReader::Progress::kComplete || reader.status() < 200 ||
      reader.status() > 400) {
    return AttemptResult::kFailed;
  }
  body = std::move(reader.body());
  return AttemptResult::kReceived;
}

}  // namespace

std::optional<std::string> FetchDocument(const DocumentFetchRequest& request,
                                         const std::function<bool()>& stopRequested,
                                         const DocumentFetchOptions& options) {
  const Clock::time_point deadline = Clock::now() + options.deadline;
  const NameResolver resolver = options.resolver ? options.resolver : ResolveWithTheSystem;
  const std::optional<HttpRoute> route =
      ChooseHttpRoute(request, [](const char* name) { return std::getenv(name); });
  if (!route) return std::nullopt;
  std::string body;
  for (int attempt = 0; attempt < kConnectAttempts && !stopRequested(); ++attempt) {
    const AttemptResult result =
        FetchOnce(request, *route, resolver, deadline, stopRequested, body);
    if (result == AttemptResult::kReceived) return body;
    if (result == AttemptResult::kFailed) break;
  }
  return std::nullopt;
}

}  // namespace wheelwatcher
