#pragma once

// The network layer the update check needs, started once on the main thread before any other
// thread exists (libcurl's global start-up is not thread-safe) and stopped when this object ends.
class CSocketsLayer {
 public:
  CSocketsLayer() = default;
  ~CSocketsLayer();
  CSocketsLayer(const CSocketsLayer&) = delete;
  CSocketsLayer& operator=(const CSocketsLayer&) = delete;

  // False when the layer cannot start; the program then tells the user and ends.
  bool Start();

 private:
  bool started_ = false;
};
