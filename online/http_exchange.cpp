// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/http_exchange.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <vector>

namespace wheelwatcher {

namespace {

// Beyond this a head (or a chunk-size or trailer line) is not a sensible answer to a small GET.
constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr std::uint16_t kDefaultProxyPort = 1080;  // libcurl's default

// The whole text as a number in range; false otherwise.
template <typename Number>
bool ParseWhole(std::string_view text, Number& number, int base = 10) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

const char* FirstSet(const EnvironmentLookup& environment,
                     std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = environment(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

std::string_view Unbracketed(std::string_view host) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    return host.substr(1, host.size() - 2);
  }
  return host;
}

bool InIpv4Block(std::string_view host, std::string_view block) {
  const std::size_t slash = block.find('/');
  int bits = 0;
  const std::string_view bitsText = block.substr(slash + 1);
  if (!ParseWhole(bitsText, bits) || bits < 0 || bits > 32) {
    return false;
  }
  in_addr hostAddress{};
  in_addr blockAddress{};
  if (inet_pton(AF_INET, std::string(host).c_str(), &hostAddress) != 1 ||
      inet_pton(AF_INET, std::string(block.substr(0, slash)).c_str(), &blockAddress) != 1) {
    return false;
  }
  const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
  return (ntohl(hostAddress.s_addr) & mask) == (ntohl(blockAddress.s_addr) & mask);
}

bool NoProxyNames(std::string_view list, std::string_view host) {
  host = Unbracketed(host);
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    std::string_view entry = Trim(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    if (entry == "*") return true;
    if (entry.find('/') != std::string_view::npos) {
      if (InIpv4Block(host, entry)) return true;
      continue;
    }
    entry = Unbracketed(entry);
    if (!entry.empty() && entry.front() == '.') entry.remove_prefix(1);
    if (entry.empty()) continue;
    if (EqualNoCase(host, entry)) return true;
    if (host.size() > entry.size() && host[host.size() - entry.size() - 1] == '.' &&
        EqualNoCase(host.substr(host.size() - entry.size()), entry)) {
      return true;
    }
  }
  return false;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string encoded;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      encoded += k <= count ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return encoded;
}

// "[http://][user[:password]@]host[:port][/]"; nothing for another scheme or a bad port.
std::optional<HttpRoute> ProxyRoute(std::string_view proxy) {
  if (const std::size_t schemeEnd = proxy.find("://"); schemeEnd != std::string_view::npos) {
    if (!EqualNoCase(proxy.substr(0, schemeEnd), "http")) return std::nullopt;
    proxy.remove_prefix(schemeEnd + 3);
  }
  proxy = proxy.substr(0, proxy.find('/'));
  HttpRoute route;
  if (const std::size_t at = proxy.rfind('@'); at != std::string_view::npos) {
    const std::string_view credentials = proxy.substr(0, at);
    const std::size_t colon = credentials.find(':');
    const std::string user = PercentDecoded(credentials.substr(0, colon));
    const std::string password =
        colon == std::string_view::npos ? "" : PercentDecoded(credentials.substr(colon + 1));
    route.proxyAuthorization = "Basic " + Base64(user + ":" + password);
    proxy.remove_prefix(at + 1);
  }
  if (proxy.empty()) return std::nullopt;
  std::string_view host = proxy;
  std::string_view port;
  const std::size_t hostEnd = proxy.front() == '[' ? proxy.find(']') + 1 : proxy.rfind(':');
  if (hostEnd != std::string_view::npos && hostEnd < proxy.size()) {
    host = proxy.substr(0, hostEnd);
    if (proxy[hostEnd] != ':') return std::nullopt;
    port = proxy.substr(hostEnd + 1);
  }
  route.connectHost = std::string(Unbracketed(host));
  route.connectPort = kDefaultProxyPort;
  if (!port.empty() && !ParseWhole(port, route.connectPort)) {
    return std::nullopt;
  }
  if (route.connectHost.empty() || route.connectPort == 0) return std::nullopt;
  return route;
}

std::string HostField(const DocumentFetchRequest& request) {
  return request.port == 80 ? request.server : request.server + ":" + std::to_string(request.port);
}

}  // namespace

std::optional<HttpRoute> ChooseHttpRoute(const DocumentFetchRequest& request,
                                         const EnvironmentLookup& environment) {
  const char* proxy = FirstSet(environment, {"http_proxy", "all_proxy", "ALL_PROXY"});
  const char* noProxy = FirstSet(environment, {"no_proxy", "NO_PROXY"});
  if (proxy == nullptr || (noProxy != nullptr && NoProxyNames(noProxy, request.server))) {
    return HttpRoute{std::string(Unbracketed(request.server)), request.port, request.objectPath,
                     ""};
  }
  std::optional<HttpRoute> route = ProxyRoute(proxy);
  if (route) route->requestTarget = "http://" + HostField(request) + request.objectPath;
  return route;
}

std::string FormatDocumentRequest(const DocumentFetchRequest& request, const HttpRoute& route) {
  std::string head = "GET " + route.requestTarget + " HTTP/1.1\r\nHost: " + HostField(request) +
                     "\r\nUser-Agent: " + request.agentName + "\r\nAccept: */*\r\n";
  if (!route.proxyAuthorization.empty()) {
    head += "Proxy-Authorization: " + route.proxyAuthorization + "\r\n";
  }
  // The document must come from the server, not from a cache on the way.
  head += "Cache-Control: no-cache\r\nPragma: no-cache\r\nConnection: close\r\n\r\n";
  return head;
}

HttpResponseReader::Progress HttpResponseReader::Fail() {
  stage_ = Stage::kFailed;
  body_.clear();
  return Progress::kFailed;
}

HttpResponseReader::Progress HttpResponseReader::ProgressNow() const {
  if (stage_ == Stage::kComplete) return Progress::kComplete;
  if (stage_ == Stage::kFailed) return Progress::kFailed;
  return Progress::kNeedMore;
}

// One line from the pending bytes, without its line end ("\r\n" or a bare "\n").
bool HttpResponseReader::TakeLine(std::string& line) {
  const std::size_t end = pending_.find('\n');
  if (end == std::string::npos) return false;
  line.assign(pending_, 0, end);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  pending_.erase(0, end + 1);
  return true;
}

bool HttpResponseReader::AppendBody(std::string_view bytes) {
  if (bytes.size() > kMaxDocumentBytes - body_.size()) return false;
  body_.append(bytes);
  return true;
}

// Reads head lines while complete ones are pending; false on a malformed or oversized head.
bool HttpResponseReader::ReadHead() {
  std::string line;
  while (TakeLine(line)) {
    // Every line counts, those the reader passes over too: an endless head must end.
    if ((headBytes_ += line.size() + 1) > kMaxHeadBytes) return false;
    if (status_ == 0) {
      if (!ReadStatusLine(line)) return false;
    } else if (!line.empty()) {
      const std::size_t colon = line.find(':');
      if (colon == std::string::npos) continue;
      const std::string_view name = Trim(std::string_view(line).substr(0, colon));
      const std::string_view value = Trim(std::string_view(line).substr(colon + 1));
      if (EqualNoCase(name, "Content-Length")) {
        std::uint64_t length = 0;
        // RFC 9112 6.3: differing lengths leave the body's end unknown; the response is refused.
        if (!ParseWhole(value, length) || (length_ && *length_ != length)) {
          return false;
        }
        length_ = length;
      } else if (EqualNoCase(name, "Transfer-Encoding")) {
        chunked_ = value.size() >= 7 && EqualNoCase(value.substr(value.size() - 7), "chunked");
      }
    } else if (status_ < 200) {  // an interim answer; the real one follows
      status_ = 0;
      chunked_ = false;
      length_.reset();
    } else {
      if (status_ == 204 || status_ == 304) {
        stage_ = Stage::kComplete;
      } else if (chunked_) {
        stage_ = Stage::kChunkSize;
      } else if (length_) {
        remaining_ = *length_;
        stage_ = remaining_ == 0 ? Stage::kComplete : Stage::kLengthBody;
      } else {
        stage_ = Stage::kBodyToClose;
      }
      return true;
    }
  }
  return pending_.size() <= kMaxHeadBytes;
}

// RFC 9112 4: status-line = HTTP-version SP status-code SP [ reason-phrase ], the version
// "HTTP/1." and one digit, the code exactly three digits.
bool HttpResponseReader::ReadStatusLine(const std::string& line) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (line.size() < 12 || line.compare(0, 7, "HTTP/1.") != 0 || !digit(line[7]) || line[8] != ' ' ||
      (line.size() > 12 && line[12] != ' ')) {
    return false;
  }
  int status = 0;
  if (!ParseWhole(std::string_view(line).substr(9, 3), status) || status < 100) return false;
  status_ = status;
  return true;
}

HttpResponseReader::Progress HttpResponseReader::Feed(std::string_view bytes) {
  if (stage_ == Stage::kComplete || stage_ == Stage::kFailed) return ProgressNow();
  pending_.append(bytes);
  std::string line;
  for (;;) {
    switch (stage_) {
      case Stage::kHead:
        if (!ReadHead()) return Fail();
        if (stage_ == Stage::kHead) return Progress::kNeedMore;
        break;
      case Stage::kLengthBody:
      case Stage::kChunkData: {
        const std::size_t take =
            static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, pending_.size()));
        if (!AppendBody(std::string_view(pending_).substr(0, take))) return Fail();
        pending_.erase(0, take);
        remaining_ -= take;
        if (remaining_ > 0) return Progress::kNeedMore;
        stage_ = stage_ == Stage::kLengthBody ? Stage::kComplete : Stage::kChunkDataEnd;
        break;
      }
      case Stage::kBodyToClose:
        if (!AppendBody(pending_)) return Fail();
        pending_.clear();
        return Progress::kNeedMore;
      case Stage::kChunkSize:
      case Stage::kChunkDataEnd:
      case Stage::kTrailer:
        if (!TakeLine(line)) {
          return pending_.size() <= kMaxHeadBytes ? Progress::kNeedMore : Fail();
        }
        if (stage_ == Stage::kChunkDataEnd) {
          if (!line.empty()) return Fail();
          stage_ = Stage::kChunkSize;
        } else if (stage_ == Stage::kTrailer) {
          // Trailer lines are head lines at the end: they count against the same limit.
          if ((headBytes_ += line.size() + 1) > kMaxHeadBytes) return Fail();
          if (line.empty()) stage_ = Stage::kComplete;
        } else {
          const std::string_view size = Trim(std::string_view(line).substr(0, line.find(';')));
          if (!ParseWhole(size, remaining_, 16) || remaining_ > kMaxDocumentBytes - body_.size()) {
            return Fail();
          }
          stage_ = remaining_ == 0 ? Stage::kTrailer : Stage::kChunkData;
        }
        break;
      case Stage::kComplete:
      case Stage::kFailed:
        pending_.clear();
        return ProgressNow();
    }
  }
}

HttpResponseReader::Progress HttpResponseReader::FeedEnd() {
  if (stage_ == Stage::kBodyToClose || stage_ == Stage::kComplete) {
    stage_ = Stage::kComplete;
    return Progress::kComplete;
  }
  return Fail();
}

}  // namespace wheelwatcher
