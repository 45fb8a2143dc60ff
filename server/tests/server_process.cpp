#include "server_process.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavrel::server::testing {

ServerProcess::ServerProcess(const std::vector<std::string>& args) {
  int out[2];
  if (::pipe(out) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    std::vector<std::string> all = {TAVREL_SERVER_BIN, "--port", "0"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    std::_Exit(127);
  }
  ::close(out[1]);
  // Read the first line, for at most ten seconds.
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd p{out[0], POLLIN, 0};
    if (::poll(&p, 1, 200) <= 0) continue;
    char buf[256];
    const ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    line.append(buf, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  const auto colon = line.rfind(':');
  if (line.rfind("listening on ", 0) == 0 && colon != std::string::npos) port_ = std::atoi(line.c_str() + colon + 1);
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0 && exitCode_ < 0) {
    ::kill(pid_, SIGTERM);
    if (WaitForExit(std::chrono::seconds(5)) < 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
}

bool ServerProcess::Running() {
  if (pid_ <= 0 || exitCode_ >= 0) return false;
  int status = 0;
  const int r = ::waitpid(pid_, &status, WNOHANG);
  if (r == 0) return true;
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

int ServerProcess::WaitForExit(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (Running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return exitCode_;
}

int ConnectLoopback(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  return fd;
}

bool WriteAll(int fd, const void* data, std::size_t size, std::chrono::steady_clock::time_point deadline) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
    if (n > 0) {
      p += n;
      size -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > deadline) return false;
    pollfd pf{fd, POLLOUT, 0};
    ::poll(&pf, 1, 50);
  }
  return true;
}

}  // namespace tavrel::server::testing
