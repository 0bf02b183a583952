// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "online/http_exchange.h"

// GETs http://server:port/objectPath past any cache, through the user's proxy variables when they
// name one: connect time-out 1000 ms (name lookup included) with one retry, 1000 ms without a new
// byte ends it, a body over kMaxDocumentBytes fails it. The body when the status is 200 to 400;
// nothing on any failure. `stopRequested` is polled every few tens of milliseconds and aborts the
// transfer. Blocking: call it on a worker thread. Plain sockets, so no TLS or other network
// library is ever loaded for it.
std::optional<std::string> FetchDocument(const DocumentFetchRequest& request,
                                         const std::function<bool()>& stopRequested);
