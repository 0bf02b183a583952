// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/update_document.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace wheelwatcher {

namespace {

constexpr std::size_t kMaxProgramNameLength = 200;

std::string* FieldForTag(std::string_view tagName, UpdateRequest& request) {
  if (tagName == "Program_Name") return &request.programName;
  if (tagName == "Program_Version") return &request.programVersion;
  if (tagName == "Primary_Download_URL") return &request.downloadAddress;
  if (tagName == "Application_Info_URL") return &request.infoAddress;
  return nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of a version text with leading zeros dropped: "" stands for 0.
std::string SignificantDigits(std::string_view version) {
  std::string digits;
  for (char c : version) {
    if (IsDigit(c) && !(digits.empty() && c == '0')) digits.push_back(c);
  }
  return digits;
}

bool IsAsciiAlphanumeric(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The characters a web address may hold unescaped: no blanks, quotes, backticks, braces, angle
// brackets, backslashes, carets, bars, control or non-ASCII bytes.
bool IsUrlCharacter(char c) {
  return IsAsciiAlphanumeric(c) ||
         std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(c) != std::string_view::npos;
}

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Every "%" starts an escape of two hex digits.
bool HasValidEscapes(std::string_view text) {
  for (std::size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 1)) {
    if (i + 2 >= text.size() || !IsHexDigit(text[i + 1]) || !IsHexDigit(text[i + 2])) return false;
  }
  return true;
}

// A host name of letters, digits, dots, hyphens and underscores that starts with a letter or digit
// (so it can never pass for an option), or an IPv6 address in brackets; then an optional port.
bool IsHostAndPort(std::string_view authority) {
  std::string_view port;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos || close == 1) return false;
    const std::string_view address = authority.substr(1, close - 1);
    if (!std::all_of(address.begin(), address.end(),
                     [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; })) {
      return false;
    }
    port = authority.substr(close + 1);
  } else {
    const std::string_view host = authority.substr(0, authority.find(':'));
    if (host.empty() || !IsAsciiAlphanumeric(host.front()) ||
        !std::all_of(host.begin(), host.end(), [](char c) {
          return IsAsciiAlphanumeric(c) || c == '-' || c == '.' || c == '_';
        })) {
      return false;
    }
    port = authority.substr(host.size());
  }
  if (port.empty()) return true;
  return port.front() == ':' && std::all_of(port.begin() + 1, port.end(), IsDigit);
}

// The first `maxCharacters` characters of UTF-8 text, never cut inside a character. A byte that
// does not start a well-formed sequence counts as one character.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxCharacters) {
  std::size_t end = 0;
  for (std::size_t characters = 0; characters < maxCharacters && end < text.size(); ++characters) {
    const auto lead = static_cast<unsigned char>(text[end]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t continuation = 1;
    while (continuation < length && end + continuation < text.size() &&
           (static_cast<unsigned char>(text[end + continuation]) & 0xC0) == 0x80) {
      ++continuation;
    }
    end += continuation == length ? length : 1;
  }
  return text.substr(0, end);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

void ReadUpdateDocument(std::string_view document, UpdateRequest& request) {
  bool insideTag = false;
  std::string tagName;
  std::string value;
  for (char c : document) {
    if (c == '<') {
      insideTag = true;
      if (std::string* field = FieldForTag(tagName, request)) *field = value;
      tagName.clear();
    } else if (c == '>') {
      value.clear();
      insideTag = false;
    } else if (insideTag) {
      tagName.push_back(c);
    } else {
      value.push_back(c);
    }
  }
}

bool IsNewerVersion(std::string_view currentVersion, std::string_view offeredVersion) {
  const std::string current = SignificantDigits(currentVersion);
  const std::string offered = SignificantDigits(offeredVersion);
  if (current.size() != offered.size()) return current.size() < offered.size();
  return current < offered;
}

std::string FormatUpdateQuestion(std::string_view programName) {
  std::string question = "An update of ";
  question.append(Utf8Prefix(programName, kMaxProgramNameLength));
  question.append(" is now available.\r\nDo you wish to proceed with the update?");
  return question;
}

bool IsOpenableDownloadAddress(std::string_view address) {
  if (address.size() > kMaxDownloadAddressBytes) return false;
  for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
    if (StartsWithNoCase(address, scheme)) {
      const std::string_view rest = address.substr(scheme.size());
      if (!std::all_of(rest.begin(), rest.end(), IsUrlCharacter) || !HasValidEscapes(rest)) {
        return false;
      }
      std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
      authority.remove_prefix(
          authority.rfind('@') == std::string_view::npos ? 0 : authority.rfind('@') + 1);
      return IsHostAndPort(authority);
    }
  }
  return false;
}

std::optional<DocumentLocation> SplitDocumentAddress(std::string_view address) {
  const std::size_t schemeEnd = address.find("://");
  if (schemeEnd == std::string_view::npos || schemeEnd == 0) return std::nullopt;
  std::string_view rest = address.substr(schemeEnd + 3);
  const std::size_t authorityEnd = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, authorityEnd);
  std::string_view path =
      authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
  path = path.substr(0, path.find('#'));

  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  std::string_view host = authority;
  if (!host.empty() && host.front() == '[') {
    const std::size_t close = host.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = host.substr(0, close + 1);
  } else {
    host = host.substr(0, host.find(':'));
  }
  if (host.empty()) return std::nullopt;

  const bool rooted = !path.empty() && path.front() == '/';
  return DocumentLocation{std::string(host), (rooted ? "" : "/") + std::string(path)};
}

}  // namespace wheelwatcher
