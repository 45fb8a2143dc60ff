#pragma once
// The real tavrel-server as a child process on a free loopback port, and small
// blocking helpers for loopback sockets. Everything here gives up after a bounded time.
#include <chrono>
#include <string>
#include <vector>

#include "session/wire.h"

namespace tavrel::server::testing {

class ServerProcess {
 public:
  // Starts the server with `args` plus "--port 0" and waits for its "listening on" line.
  explicit ServerProcess(const std::vector<std::string>& args);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int Port() const { return port_; }
  bool Running();
  // Waits for the process to end by itself; its exit code, or -1 when it did not end in time.
  int WaitForExit(std::chrono::milliseconds limit);

 private:
  int pid_ = -1;
  int port_ = 0;
  int exitCode_ = -1;
};

int ConnectLoopback(int port);  // non-blocking socket, -1 on failure
// Writes all bytes (waits for room up to the deadline); false if the peer is gone.
bool WriteAll(int fd, const void* data, std::size_t size, std::chrono::steady_clock::time_point deadline);

}  // namespace tavrel::server::testing
