// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wheelwatcher {

// The record that travels with one update check. The user-interface side fills the address and
// the current version; the worker fills the rest.
struct UpdateRequest {
  std::string documentAddress;
  std::string server;
  std::string objectPath;
  std::string currentVersion;
  std::string programName;
  std::string programVersion;
  std::string downloadAddress;
  std::string infoAddress;
};

// Reads the four known tags of an update description document into `request` in one pass. A
// value is the raw text between the end of a tag with a known name and the next "<"; later
// values replace earlier ones. Attributes, self-closing tags and closing tags never match.
void ReadUpdateDocument(std::string_view document, UpdateRequest& request);

// True when `offeredVersion` is newer than `currentVersion`. Each text counts as the number
// spelled by its decimal digits (none = 0); the digit strings are compared, so any length works.
bool IsNewerVersion(std::string_view currentVersion, std::string_view offeredVersion);

// The Yes/No question for an offered update. The program name comes from the network, so it is
// cut to 200 characters (UTF-8, never inside a character).
std::string FormatUpdateQuestion(std::string_view programName);

// Only web addresses may be handed to the system's opener: the document arrives unauthenticated.
// http or https, a host that cannot pass for an option, and only characters a web address may
// hold unescaped, and at most kMaxDownloadAddressBytes long (an opener is given the address as one
// argument, which the kernel limits to 128 KiB; servers take no more than about 8 KB), so nothing
// is ever asked about an address that would then not be opened.
inline constexpr std::size_t kMaxDownloadAddressBytes = 8192;
bool IsOpenableDownloadAddress(std::string_view address);

struct DocumentLocation {
  std::string server;
  std::string objectPath;
};

// Splits "scheme://[user@]host[:port]/path?query" into host and object path ("/" when empty).
// Scheme and port are dropped: the document is always fetched from the default HTTP port. An
// address without a scheme or host gives nothing.
std::optional<DocumentLocation> SplitDocumentAddress(std::string_view address);

}  // namespace wheelwatcher
