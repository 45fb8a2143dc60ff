#pragma once
// Drives a Table without sockets: scripted clients on numbered connections, raw
// connections whose packets are collected, and a virtual clock.
#include <functional>
#include <map>
#include <vector>

#include "log.h"
#include "scripted_client.h"
#include "table.h"

namespace tavrel::server::testing {

class TableHarness {
 public:
  explicit TableHarness(TableConfig config) : table(std::move(config), log) { log.SetQuiet(true); }

  void Join(ConnId id, ScriptedClient& client) {
    clients[id] = &client;
    Send(id, client.LoginPacket());
  }
  void Send(ConnId id, const Packet& p) {
    table.Receive(id, p, now);
    Flow();
  }
  void Drop(ConnId id) {
    clients.erase(id);
    table.Disconnect(id, now);
    Flow();
  }
  // Delivers the table's packets until nobody has anything more to say.
  void Flow() {
    for (int guard = 0; guard < 100000; ++guard) {
      auto out = table.TakeOutput();
      for (ConnId id : table.TakeClosures()) closed.push_back(id);
      if (out.empty()) return;
      std::vector<std::pair<ConnId, Packet>> replies;
      for (const auto& o : out) {
        auto it = clients.find(o.conn);
        if (it == clients.end()) {
          raw[o.conn].push_back(o.packet);
          continue;
        }
        for (const Packet& r : it->second->Handle(o.packet)) replies.emplace_back(o.conn, r);
      }
      for (const auto& [id, p] : replies)
        if (clients.count(id)) table.Receive(id, p, now);
    }
  }
  // Lets virtual time pass from deadline to deadline until `done` or `limitMs` is reached.
  bool RunUntil(const std::function<bool()>& done, std::int64_t limitMs) {
    const std::int64_t end = now + limitMs;
    while (!done()) {
      const std::int64_t next = table.NextDeadline();
      if (next < 0 || next > end) return done();
      now = std::max(now, next);
      table.Advance(now);
      Flow();
    }
    return true;
  }
  void AdvanceTo(std::int64_t t) {
    now = t;
    table.Advance(now);
    Flow();
  }
  bool WasClosed(ConnId id) const { return std::find(closed.begin(), closed.end(), id) != closed.end(); }

  Log log;
  Table table;
  std::int64_t now = 0;
  std::map<ConnId, ScriptedClient*> clients;
  std::map<ConnId, std::vector<Packet>> raw;
  std::vector<ConnId> closed;
};

inline TableConfig FastConfig(int bots, std::uint64_t seed) {
  TableConfig c;
  c.bots = bots;
  c.seed = seed;
  c.botDelayMs = 0;
  return c;
}

}  // namespace tavrel::server::testing
