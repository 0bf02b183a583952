#include "online/document_fetch.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kConnectTimeoutMs = 1000;
constexpr int kConnectAttempts = 2;  // one retry
constexpr auto kReceiveTimeout = std::chrono::milliseconds(1000);
constexpr int kPollIntervalMs = 50;

enum class AttemptResult { kReceived, kConnectFailed, kFailed };

struct Transfer {
  std::string body;
  Clock::time_point lastActivity;
};

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  transfer.lastActivity = Clock::now();
  // Returning fewer bytes than given makes libcurl fail the transfer.
  if (bytes > kMaxDocumentBytes - transfer.body.size()) return 0;
  transfer.body.append(data, bytes);
  return bytes;
}

size_t OnHeader(char*, size_t size, size_t count, void* user) {
  static_cast<Transfer*>(user)->lastActivity = Clock::now();
  return size * count;
}

AttemptResult FetchOnce(const DocumentFetchRequest& request,
                        const std::function<bool()>& stopRequested, Transfer& transfer) {
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
  if (!easy || !multi) return AttemptResult::kFailed;

  // The document must come from the server, not from a cache on the way.
  curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
  std::unique_ptr<curl_slist, HeaderListDeleter> headerList(headers);
  if (!headers) return AttemptResult::kFailed;
  headers = curl_slist_append(headers, "Pragma: no-cache");
  if (!headers) return AttemptResult::kFailed;

  const std::string url =
      "http://" + request.server + ":" + std::to_string(request.port) + request.objectPath;
  CURL* handle = easy.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, request.agentName.c_str());
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
  if (curl_multi_add_handle(multi.get(), handle) != CURLM_OK) return AttemptResult::kFailed;

  const Clock::time_point start = Clock::now();
  transfer.body.clear();
  transfer.lastActivity = start;
  bool connected = false;
  AttemptResult result = AttemptResult::kFailed;
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
    if (running == 0) {
      int queued = 0;
      CURLMsg* message = curl_multi_info_read(multi.get(), &queued);
      const CURLcode code =
          message && message->msg == CURLMSG_DONE ? message->data.result : CURLE_RECV_ERROR;
      if (code == CURLE_OK) {
        result = AttemptResult::kReceived;
      } else if (code == CURLE_COULDNT_CONNECT || code == CURLE_OPERATION_TIMEDOUT) {
        // No other time-out is set, so a time-out here is the connect time-out.
        result = AttemptResult::kConnectFailed;
      }
      break;
    }
    if (stopRequested()) break;
    // The low-speed options average over whole seconds; "no new byte for 1000 ms" is kept here.
    if (!connected) {
      curl_off_t connectMicroseconds = 0;
      curl_easy_getinfo(handle, CURLINFO_CONNECT_TIME_T, &connectMicroseconds);
      if (connectMicroseconds > 0) {
        connected = true;
        const Clock::time_point connectedAt =
            start + std::chrono::microseconds(connectMicroseconds);
        if (transfer.lastActivity < connectedAt) transfer.lastActivity = connectedAt;
      }
    }
    if (connected && Clock::now() - transfer.lastActivity > kReceiveTimeout) break;
    if (curl_multi_poll(multi.get(), nullptr, 0, kPollIntervalMs, nullptr) != CURLM_OK) break;
  }
  curl_multi_remove_handle(multi.get(), handle);

  if (result == AttemptResult::kReceived) {
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 400) result = AttemptResult::kFailed;
  }
  return result;
}

}  // namespace

std::optional<std::string> FetchDocument(const DocumentFetchRequest& request,
                                         const std::function<bool()>& stopRequested) {
  Transfer transfer;
  for (int attempt = 0; attempt < kConnectAttempts && !stopRequested(); ++attempt) {
    const AttemptResult result = FetchOnce(request, stopRequested, transfer);
    if (result == AttemptResult::kReceived) return std::move(transfer.body);
    if (result == AttemptResult::kFailed) break;
  }
  return std::nullopt;
}
