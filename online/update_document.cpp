#include "online/update_document.h"

#include <algorithm>
#include <array>
#include <cctype>

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
  const std::string_view shownName = programName.substr(0, kMaxProgramNameLength);
  std::string question = "An update of ";
  question.append(shownName);
  question.append(" is now available.\r\nDo you wish to proceed with the update?");
  return question;
}

bool IsOpenableDownloadAddress(std::string_view address) {
  for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
    if (StartsWithNoCase(address, scheme)) {
      const std::string_view rest = address.substr(scheme.size());
      // A host must follow, and no control character or blank may ride along to the opener.
      const bool clean = std::none_of(rest.begin(), rest.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '\x7f';
      });
      return clean && !rest.empty() && rest.front() != '/';
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
