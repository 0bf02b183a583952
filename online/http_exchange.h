// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wheelwatcher {

// The plain-HTTP exchange of the update check without any I/O: where to connect (directly or
// through the user's proxy), the request bytes, and an incremental reader of the response.

struct DocumentFetchRequest {
  std::string server;  // a host name, an IPv4 address or a bracketed IPv6 address
  std::string objectPath;
  std::uint16_t port = 80;
  std::string agentName;
};

inline constexpr std::size_t kMaxDocumentBytes = 1024 * 1024;

// Where the connection goes and what the request line names.
struct HttpRoute {
  std::string connectHost;  // without brackets, ready for the resolver
  std::uint16_t connectPort = 80;
  std::string requestTarget;       // the path, or the absolute address when going through a proxy
  std::string proxyAuthorization;  // "Basic ..." when the proxy address carries credentials
};

// Reads one environment variable; nullptr when unset.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// The route for `request` under the proxy variables as libcurl reads them: http_proxy, then
// all_proxy or ALL_PROXY, unless no_proxy or NO_PROXY names the host ("*", an exact host, a domain
// suffix, an IP address or an IPv4 CIDR block). Nothing when the proxy variable cannot be used
// (a SOCKS or HTTPS proxy, a malformed address): the check then ends rather than bypassing it.
std::optional<HttpRoute> ChooseHttpRoute(const DocumentFetchRequest& request,
                                         const EnvironmentLookup& environment);

// The GET request head: fresh from the server (no-cache), the program's name as user agent.
std::string FormatDocumentRequest(const DocumentFetchRequest& request, const HttpRoute& route);

// Takes the response bytes as they arrive. The body is de-chunked and limited to
// kMaxDocumentBytes, the head and the trailers together to 64 KiB; a response that ends before its
// announced length, a malformed status line and two different lengths are failures.
class HttpResponseReader {
 public:
  enum class Progress { kNeedMore, kComplete, kFailed };

  Progress Feed(std::string_view bytes);
  // The server closed the connection.
  Progress FeedEnd();

  int status() const { return status_; }
  std::string& body() { return body_; }

 private:
  enum class Stage {
    kHead,
    kLengthBody,
    kBodyToClose,
    kChunkSize,
    kChunkData,
    kChunkDataEnd,
    kTrailer,
    kComplete,
    kFailed
  };

  Progress Fail();
  Progress ProgressNow() const;
  bool ReadHead();
  bool ReadStatusLine(const std::string& line);
  bool AppendBody(std::string_view bytes);
  bool TakeLine(std::string& line);

  Stage stage_ = Stage::kHead;
  std::string pending_;  // bytes not yet consumed: the head, a chunk-size line, a trailer
  int status_ = 0;
  std::size_t headBytes_ = 0;  // of the head and the trailers
  bool chunked_ = false;
  std::optional<std::uint64_t> length_;
  std::uint64_t remaining_ = 0;  // of the body or of the current chunk
  std::string body_;
};

}  // namespace wheelwatcher
