#include "net_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavrel::server {

NetServer::NetServer(Table& table, Log& log, NetLimits limits) : table_(table), log_(log), limits_(limits) {
  epoch_ = Now();
}

NetServer::~NetServer() {
  for (auto& [id, c] : clients_) ::close(c.fd);
  if (listenFd_ >= 0) ::close(listenFd_);
}

std::int64_t NetServer::Now() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() - epoch_;
}

bool NetServer::Listen(const std::string& host, int port, std::string& error) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1) {
    error = "not an IPv4 address: " + host;
    return false;
  }
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 128) != 0) {
    error = "cannot listen on " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return false;
  }
  socklen_t len = sizeof addr;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  return true;
}

void NetServer::AcceptAll(std::int64_t now) {
  for (;;) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;  // EAGAIN, or a connection that went away before we took it
    if (static_cast<int>(clients_.size()) >= limits_.maxClients) {
      ::close(fd);
      continue;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    Client c;
    c.fd = fd;
    c.openedAt = now;
    clients_.emplace(nextId_++, std::move(c));
  }
}

bool NetServer::ReadFrom(ConnId id, Client& c, std::int64_t now) {
  const std::size_t budget = static_cast<std::size_t>(limits_.packetsPerTurn) * kPacketSize;
  std::size_t got = 0;
  std::uint8_t buf[16 * kPacketSize];
  while (got < budget) {
    const ssize_t n = ::recv(c.fd, buf, std::min(sizeof buf, budget - got), MSG_DONTWAIT);
    if (n == 0) return false;
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) break;
      if (errno == EINTR) continue;
      return false;
    }
    got += static_cast<std::size_t>(n);
    if (c.closing) continue;  // nothing more is taken from a socket being closed
    c.in.insert(c.in.end(), buf, buf + n);
    std::size_t at = 0;
    while (c.in.size() - at >= kPacketSize) {
      Packet p;
      std::memcpy(p.data(), c.in.data() + at, kPacketSize);
      at += kPacketSize;
      c.sawPacket = true;
      table_.Receive(id, p, now);
      Deliver(now);
      if (c.closing) break;
    }
    c.in.erase(c.in.begin(), c.in.begin() + static_cast<std::ptrdiff_t>(at));
  }
  return true;
}

void NetServer::WriteTo(Client& c) {
  while (c.outPos < c.out.size()) {
    const ssize_t n = ::send(c.fd, c.out.data() + c.outPos, c.out.size() - c.outPos, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) c.outPos = c.out.size();  // peer gone; the read side notices
      break;
    }
    c.outPos += static_cast<std::size_t>(n);
  }
  if (c.outPos == c.out.size()) {
    c.out.clear();
    c.outPos = 0;
  }
}

void NetServer::Deliver(std::int64_t now) {
  for (auto& o : table_.TakeOutput()) {
    auto it = clients_.find(o.conn);
    if (it == clients_.end()) continue;
    Client& c = it->second;
    c.out.insert(c.out.end(), o.packet.begin(), o.packet.end());
    if (c.out.size() - c.outPos > limits_.maxQueuedBytes) {
      log_.Warn(o.conn, "reads too slowly; dropped");
      c.closing = true;
      c.out.clear();
      c.outPos = 0;
      c.closingSince = now - limits_.lingerMs;
    }
  }
  for (ConnId id : table_.TakeClosures()) {
    auto it = clients_.find(id);
    if (it == clients_.end()) continue;
    it->second.closedByTable = true;
    if (!it->second.closing) {
      it->second.closing = true;
      it->second.closingSince = now;
    }
  }
}

void NetServer::Drop(ConnId id, std::int64_t now, bool tellTable) {
  auto it = clients_.find(id);
  if (it == clients_.end()) return;
  ::close(it->second.fd);
  clients_.erase(it);
  if (tellTable) {
    table_.Disconnect(id, now);
    Deliver(now);
  }
}

void NetServer::Run() {
  std::vector<pollfd> fds;
  std::vector<ConnId> ids;
  std::int64_t finishedAt = -1;
  for (;;) {
    std::int64_t now = Now();
    if (table_.Finished()) {
      if (finishedAt < 0) {
        finishedAt = now;
        // Whoever is still connected is let go once its last packets have left.
        for (auto& [id, c] : clients_)
          if (!c.closing) {
            c.closing = true;
            c.closedByTable = true;
            c.closingSince = now;
          }
      }
      if (clients_.empty() || now - finishedAt > limits_.lingerMs) return;
    }
    int timeout = 1000;
    if (const std::int64_t due = table_.NextDeadline(); due >= 0)
      timeout = static_cast<int>(std::clamp<std::int64_t>(due - now, 0, 1000));

    fds.clear();
    ids.clear();
    fds.push_back({listenFd_, POLLIN, 0});
    ids.push_back(0);
    for (auto& [id, c] : clients_) {
      short events = c.closing ? 0 : POLLIN;
      if (c.outPos < c.out.size()) events |= POLLOUT;
      fds.push_back({c.fd, events, 0});
      ids.push_back(id);
    }
    if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return;
    now = Now();

    if (fds[0].revents & POLLIN) AcceptAll(now);
    std::vector<ConnId> lost;
    for (std::size_t i = 1; i < fds.size(); ++i) {
      auto it = clients_.find(ids[i]);
      if (it == clients_.end()) continue;
      const short ev = fds[i].revents;
      if ((ev & (POLLIN | POLLHUP | POLLERR)) && !ReadFrom(ids[i], it->second, now)) lost.push_back(ids[i]);
    }
    for (ConnId id : lost) {
      const Client& c = clients_[id];
      Drop(id, now, c.sawPacket && !c.closedByTable);
    }

    table_.Advance(now);
    Deliver(now);

    std::vector<ConnId> done;
    for (auto& [id, c] : clients_) {
      WriteTo(c);
      const bool flushed = c.outPos >= c.out.size();
      if (c.closing && (flushed || now - c.closingSince > limits_.lingerMs)) done.push_back(id);
      // A connection that never completes a packet is not kept waiting forever.
      if (!c.sawPacket && !c.closing && now - c.openedAt > limits_.firstPacketMs) done.push_back(id);
    }
    for (ConnId id : done) {
      auto it = clients_.find(id);
      if (it == clients_.end()) continue;
      Drop(id, now, it->second.sawPacket && !it->second.closedByTable);
    }
  }
}

}  // namespace tavrel::server
