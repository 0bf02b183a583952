// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small HTTP server for tests, listening on 127.0.0.1 only, on a free port. Each connection's
// request head is recorded and then handed to the test's handler on a thread of its own.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wheelwatcher {

class LoopbackHttpServer {
 public:
  // `Connection::Send` returns false once the client has gone or the server is stopping.
  class Connection {
   public:
    Connection(int socket, const std::atomic<bool>& stopping)
        : socket_(socket), stopping_(stopping) {}
    bool Send(const std::string& bytes) const {
      std::size_t sent = 0;
      while (sent < bytes.size()) {
        if (stopping_) return false;
        const ssize_t n = send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
      }
      return true;
    }
    // Holds the connection open without answering until the client leaves or the server stops.
    void WaitUntilClosed() const {
      while (!stopping_) {
        pollfd descriptor{socket_, POLLIN, 0};
        if (poll(&descriptor, 1, 20) > 0) {
          char byte;
          if (recv(socket_, &byte, 1, MSG_DONTWAIT) <= 0) return;
        }
      }
    }

   private:
    int socket_;
    const std::atomic<bool>& stopping_;
  };
  using Handler = std::function<void(const Connection&)>;

  explicit LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }

  ~LoopbackHttpServer() {
    stopping_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& connection : connections_) connection.join();
    if (listener_ >= 0) close(listener_);
  }

  std::uint16_t port() const { return port_; }

  std::vector<std::string> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  static std::string Response(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Type: text/xml\r\n" +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
  }

 private:
  void AcceptLoop() {
    while (!stopping_) {
      pollfd descriptor{listener_, POLLIN, 0};
      if (poll(&descriptor, 1, 20) <= 0) continue;
      const int client = accept(listener_, nullptr, nullptr);
      if (client < 0) continue;
      connections_.emplace_back([this, client] {
        Serve(client);
        close(client);
      });
    }
  }

  void Serve(int client) {
    std::string head;
    char buffer[1024];
    while (!stopping_ && head.find("\r\n\r\n") == std::string::npos) {
      pollfd descriptor{client, POLLIN, 0};
      if (poll(&descriptor, 1, 20) <= 0) continue;
      const ssize_t n = recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) return;
      head.append(buffer, static_cast<std::size_t>(n));
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(head);
    }
    handler_(Connection(client, stopping_));
    shutdown(client, SHUT_WR);
  }

  Handler handler_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_ = false;
  std::thread acceptor_;
  std::vector<std::thread> connections_;  // acceptor thread only, then the destructor
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

}  // namespace wheelwatcher
