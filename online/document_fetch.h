#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct DocumentFetchRequest {
  std::string server;
  std::string objectPath;
  std::uint16_t port = 80;
  std::string agentName;
};

inline constexpr std::size_t kMaxDocumentBytes = 1024 * 1024;

// GETs http://server:port/objectPath past any cache: connect time-out 1000 ms with one retry,
// 1000 ms without new bytes ends it, a body over kMaxDocumentBytes fails it. The body when the
// status is 200 to 400; nothing on any failure. `stopRequested` is polled every few tens of
// milliseconds and aborts the transfer. Blocking: call it on a worker thread.
std::optional<std::string> FetchDocument(const DocumentFetchRequest& request,
                                         const std::function<bool()>& stopRequested);
