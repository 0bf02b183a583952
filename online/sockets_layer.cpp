#include "online/sockets_layer.h"

#include <curl/curl.h>

CSocketsLayer::~CSocketsLayer() {
  if (started_) curl_global_cleanup();
}

bool CSocketsLayer::Start() {
  if (!started_) started_ = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return started_;
}
