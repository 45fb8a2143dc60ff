#pragma once
// The socket side: one thread, non-blocking sockets and poll(). Bytes are cut into
// 272-byte packets for the table; the table's packets are written back as the
// sockets take them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "log.h"
#include "table.h"

namespace tavrel::server {

struct NetLimits {
  int maxClients = 512;
  int packetsPerTurn = 64;                    // read from one socket before the others get a turn
  std::size_t maxQueuedBytes = 8u << 20;      // a reader this far behind is dropped
  std::int64_t firstPacketMs = 30000;         // a connection must complete a packet by then
  std::int64_t lingerMs = 5000;               // time to flush before a closing socket is cut
};

class NetServer {
 public:
  NetServer(Table& table, Log& log, NetLimits limits = {});
  ~NetServer();
  NetServer(const NetServer&) = delete;
  NetServer& operator=(const NetServer&) = delete;

  bool Listen(const std::string& host, int port, std::string& error);
  int Port() const { return port_; }
  // Serves until the table has finished and its last packets have left.
  void Run();

 private:
  struct Client {
    int fd = -1;
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
    std::size_t outPos = 0;
    bool sawPacket = false;
    bool closing = false;
    bool closedByTable = false;  // the table already forgot it
    std::int64_t openedAt = 0;
    std::int64_t closingSince = 0;
  };

  std::int64_t Now() const;
  void AcceptAll(std::int64_t now);
  bool ReadFrom(ConnId id, Client& c, std::int64_t now);  // false: connection lost
  void WriteTo(Client& c);
  void Deliver(std::int64_t now);
  void Drop(ConnId id, std::int64_t now, bool tellTable);

  Table& table_;
  Log& log_;
  NetLimits limits_;
  int listenFd_ = -1;
  int port_ = 0;
  ConnId nextId_ = 1;
  std::map<ConnId, Client> clients_;
  std::int64_t epoch_ = 0;
};

}  // namespace tavrel::server
