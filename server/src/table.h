#pragma once
// The table: four seats, the connections that hold or watch them, and the flow from
// login to hand after hand. No sockets here: connections are numbers, packets come in
// through Receive and go out through TakeOutput, time is the caller's clock in ms.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "hand.h"
#include "log.h"
#include "packets.h"
#include "scoring.h"
#include "session/wire.h"

namespace tavrel::server {

using ConnId = int;

struct TableConfig {
  int bots = 3;                 // seats filled by bots (the last ones)
  std::uint64_t seed = 1;
  int decisionSeconds = 8;      // byte 100 of ClaimOptions
  int turnClock = 8;            // LoginResult value(1)
  int timeoutLimit = 0;         // LoginResult offset 9: time-outs before the client hides
  int hands = 0;                // stop after this many hands; 0 = never
  std::string key;              // login key required when not empty
  int botDelayMs = 700;         // pause before a bot acts
  int graceMs = 10000;          // waited beyond the client's own countdown before acting for it
  int reconnectHoldMs = 90000;  // a lost seat is kept this long
  std::int64_t startGold = 10000;
  int coinsPerPoint = 10;       // also the room's base stake
  bool readyFirstHand = false;  // tests: the first hand starts without the humans' Continue
  int botLeavesAfter = 0;       // tests: after this hand a bot leaves and another takes its seat; 0 = never
  bool botMelds = false;        // bots claim 吃 and 碰 on each other's discards and gang whenever they can
  // Stakes: the dice of the hand (the second throw's sum) and the players' wealth rate
  // multiply every payment; the settlement sheet shows both.
  bool diceDoubling = false;
  int wealthRate = 0;           // 0 = no wealth doubling
  std::string winnerCaption;     // tests: the winners' caption instead of 自摸胡牌 / 点炮胡牌
  int autoplayMs = 0;           // tests: the human seats are played as bots, this long after each offer; 0 = never
  bool props = false;           // the sample prop plug-in's packets are answered; winners get a chest
};

struct Outgoing {
  ConnId conn;
  Packet packet;
};

// Watches hands for tests and tools.
class TableObserver {
 public:
  virtual ~TableObserver() = default;
  virtual void OnHandEvent(const Hand&, const HandEvent&) {}
  virtual void OnHandEnd(const Hand&, const HandScore&) {}
};

class Table {
 public:
  Table(TableConfig config, Log& log);

  void Receive(ConnId conn, const Packet& packet, std::int64_t nowMs);
  void Disconnect(ConnId conn, std::int64_t nowMs);
  // Runs whatever is due: bot moves, moves for seats that did not answer in time,
  // the end of held seats.
  void Advance(std::int64_t nowMs);
  // The next moment Advance has work; -1 for none.
  std::int64_t NextDeadline() const;

  std::vector<Outgoing> TakeOutput();
  // Connections to close once their output has left.
  std::vector<ConnId> TakeClosures();

  bool Finished() const { return phase_ == Phase::kFinished; }
  int HandsPlayed() const { return handsPlayed_; }
  const Hand* CurrentHand() const { return hand_.get(); }
  void SetObserver(TableObserver* o) { observer_ = o; }
  std::int64_t Gold(int seat) const { return seats_[seat].gold; }

 private:
  enum class Phase { kGathering, kBetween, kPlaying, kFinished };
  enum class Role { kNew, kSeat, kSpectator, kGone };  // kGone: freed, hears nothing more
  static bool IsViewer(Role r) { return r == Role::kSeat || r == Role::kSpectator; }
  enum class Occupant { kEmpty, kHuman, kBot };

  struct Seat {
    Occupant who = Occupant::kEmpty;
    bool standIn = false;  // a bot keeping a human seat that was given up
    std::string account;
    std::string display;
    std::string face;
    bool male = true;
    std::string tag;
    std::int64_t gold = 0;
    std::int64_t points = 100;
    std::uint32_t wins = 0, losses = 0, drops = 0, logins = 0;
    std::uint64_t userId = 0;
    ConnId conn = -1;
    std::int64_t lostAt = -1;  // connection lost while the seat is kept
    bool leaving = false;      // given up; a bot takes over at the end of the hand
    bool continued = false;
    std::uint32_t reconnectNumber = 0;
    std::deque<std::uint16_t> recentTokens;
    std::int64_t deadline = -1;
  };
  struct Connection {
    Role role = Role::kNew;
    int seat = -1;     // held seat, or the watched seat of a spectator
    std::uint16_t token = 0;
  };

  // connections and routing
  Connection& Conn(ConnId c);
  void Send(ConnId c, Packet p);
  void Close(ConnId c);
  template <class F> void ToViewers(F&& packetForView);
  bool BotPlays(int seat) const;
  void ReceiveFromSeat(ConnId c, int seat, const Packet& p, std::int64_t now);

  // joining and leaving
  void Login(ConnId c, const Packet& p, std::int64_t now);
  void WatchLogin(ConnId c, std::string_view target, std::string_view key);
  void Reconnect(ConnId c, const Packet& p, std::int64_t now);
  void Leave(int seat, std::int64_t now);
  void SeatHuman(int seat, std::string_view name);
  void SeatBot(int seat, bool standIn);
  // Seat names, details and the dealer to every viewer; the humans must say Continue
  // again unless they are kept ready (the seats were drawn after their Continue).
  void Announce(bool keepReady = false);
  void AnnounceTo(ConnId c, int view);
  PlayerCard CardOf(int seat) const;
  void SendTableReset(ConnId c, int view);
  void SendSeatTiles(ConnId c, int view);
  void Chat(int seat, const Packet& p);
  // The sample prop plug-in (table_props.cpp).
  void PropMessage(ConnId c, int seat, const Packet& p);
  void GiveChest(int winner);

  // hands
  void MaybeStartHand(std::int64_t now);
  void StartFirstHandIfReady(std::int64_t now);
  void StartHand(std::int64_t now);
  void Pump(std::int64_t now);
  void Route(const HandEvent& e, std::int64_t now);
  void OfferTo(int seat, std::int64_t now);
  void ActForSeat(int seat, bool asBot);
  bool ActForBots();
  void FinishHand(std::int64_t now);
  // What one 嘴 is worth this hand: the base, times the dice and the wealth rate.
  int CoinsPerPoint() const;
  void SendShowdown();
  void ReleaseDepartures();
  void BotLeaves();

  TableConfig config_;
  Log& log_;
  std::mt19937_64 rng_;
  Phase phase_ = Phase::kGathering;
  std::array<Seat, 4> seats_;
  std::map<ConnId, Connection> conns_;
  std::unique_ptr<Hand> hand_;
  int dealer_ = 0;
  int dealerCount_ = 1;
  int handsPlayed_ = 0;
  int botsMade_ = 0;
  // A seat changed hands between hands: the table is announced afresh once the humans continue.
  bool reseatPending_ = false;
  std::int64_t botDueAt_ = -1;
  // A bots-only table shows a hand's result this many bot delays before the next hand.
  static constexpr int kBotTableResultMoves = 5;
  std::int64_t nextHandAt_ = 0;
  std::int64_t now_ = 0;
  std::vector<Outgoing> out_;
  std::vector<ConnId> closures_;
  TableObserver* observer_ = nullptr;
};

template <class F>
void Table::ToViewers(F&& packetForView) {
  // Every seated or watching connection, with the seat whose view it gets.
  std::vector<std::pair<ConnId, int>> viewers;
  for (auto& [id, conn] : conns_)
    if (IsViewer(conn.role)) viewers.emplace_back(id, conn.seat);
  for (auto [id, view] : viewers) Send(id, packetForView(view));
}

}  // namespace tavrel::server
