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
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

constexpr Milliseconds kConnectTimeout{1000};
constexpr int kConnectAttempts = 2;  // one retry
constexpr Milliseconds kReceiveTimeout{1000};
constexpr Milliseconds kStopPollInterval{50};

enum class AttemptResult { kReceived, kConnectFailed, kFailed };

class SocketHandle {
 public:
  explicit SocketHandle(int descriptor = -1) : descriptor_(descriptor) {}
  ~SocketHandle() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  SocketHandle& operator=(SocketHandle&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    return *this;
  }
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

// The resolver cannot be interrupted, so it runs on a thread of its own that the fetch may leave
// behind when the connect time-out passes or a stop is requested; the thread frees what it found.
struct NameLookup {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  addrinfo* addresses = nullptr;
  ~NameLookup() {
    if (addresses != nullptr) freeaddrinfo(addresses);
  }
};

std::shared_ptr<NameLookup> StartNameLookup(const std::string& host, std::uint16_t port) {
  auto lookup = std::make_shared<NameLookup>();
  try {
    std::thread([lookup, host, service = std::to_string(port)] {
      addrinfo hints{};
      hints.ai_family = AF_UNSPEC;
      hints.ai_socktype = SOCK_STREAM;
      hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
      addrinfo* addresses = nullptr;
      if (getaddrinfo(host.c_str(), service.c_str(), &hints, &addresses) != 0) addresses = nullptr;
      std::lock_guard lock(lookup->mutex);
      lookup->addresses = addresses;
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

ConnectResult Connect(const HttpRoute& route, const std::function<bool()>& stopRequested,
                      SocketHandle& connection) {
  const Clock::time_point deadline = Clock::now() + kConnectTimeout;
  const std::shared_ptr<NameLookup> lookup = StartNameLookup(route.connectHost, route.connectPort);
  if (!lookup) return ConnectResult::kFailed;
  {
    std::unique_lock lock(lookup->mutex);
    while (!lookup->finished) {
      if (stopRequested()) return ConnectResult::kFailed;
      if (Clock::now() >= deadline) return ConnectResult::kTimedOutOrRefused;
      lookup->done.wait_for(lock, kStopPollInterval);
    }
  }
  if (lookup->addresses == nullptr) return ConnectResult::kFailed;  // no such host

  for (const addrinfo* address = lookup->addresses; address != nullptr;
       address = address->ai_next) {
    SocketHandle candidate(
        socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (candidate.get() < 0) continue;
    if (connect(candidate.get(), address->ai_addr, address->ai_addrlen) != 0) {
      if (errno != EINPROGRESS) continue;
      if (!WaitForSocket(candidate.get(), POLLOUT, deadline, stopRequested)) {
        return stopRequested() ? ConnectResult::kFailed : ConnectResult::kTimedOutOrRefused;
      }
      int error = 0;
      socklen_t length = sizeof error;
      if (getsockopt(candidate.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        continue;
      }
    }
    connection = std::move(candidate);
    return ConnectResult::kConnected;
  }
  return ConnectResult::kTimedOutOrRefused;
}

bool SendAll(int descriptor, const std::string& bytes, const std::function<bool()>& stopRequested) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    if (!WaitForSocket(descriptor, POLLOUT, Clock::now() + kReceiveTimeout, stopRequested)) {
      return false;
    }
    const ssize_t count = send(descriptor, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (count < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (count > 0) sent += static_cast<std::size_t>(count);
  }
  return true;
}

AttemptResult FetchOnce(const DocumentFetchRequest& request, const HttpRoute& route,
                        const std::function<bool()>& stopRequested, std::string& body) {
  SocketHandle connection;
  switch (Connect(route, stopRequested, connection)) {
    case ConnectResult::kConnected:
      break;
    case ConnectResult::kTimedOutOrRefused:
      return AttemptResult::kConnectFailed;
    case ConnectResult::kFailed:
      return AttemptResult::kFailed;
  }
  if (!SendAll(connection.get(), FormatDocumentRequest(request, route), stopRequested)) {
    return AttemptResult::kFailed;
  }

  // Any byte, of the head or of the body, gives the server another second.
  HttpResponseReader reader;
  HttpResponseReader::Progress progress = HttpResponseReader::Progress::kNeedMore;
  char buffer[4096];
  while (progress == HttpResponseReader::Progress::kNeedMore) {
    if (!WaitForSocket(connection.get(), POLLIN, Clock::now() + kReceiveTimeout, stopRequested)) {
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
                                         const std::function<bool()>& stopRequested) {
  const std::optional<HttpRoute> route =
      ChooseHttpRoute(request, [](const char* name) { return std::getenv(name); });
  if (!route) return std::nullopt;
  std::string body;
  for (int attempt = 0; attempt < kConnectAttempts && !stopRequested(); ++attempt) {
    const AttemptResult result = FetchOnce(request, *route, stopRequested, body);
    if (result == AttemptResult::kReceived) return body;
    if (result == AttemptResult::kFailed) break;
  }
  return std::nullopt;
}
