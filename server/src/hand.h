#pragma once
// One hand of our rules, without sockets or seats' owners: the wall, the four rows,
// whose decision is open, and the legal moves. Every change is also reported as an
// event, which the table turns into packets for each viewer.
#include <array>
#include <optional>
#include <variant>
#include <vector>

#include "tiles.h"
#include "wall.h"

namespace tavrel::server {

// Claim operations and option bits, as the wire carries them.
namespace op {
inline constexpr int kPass = 1;
inline constexpr int kChow = 4;
inline constexpr int kPung = 8;
inline constexpr int kExposedGang = 16;
inline constexpr int kConcealedGang = 32;
inline constexpr int kAddedGang = 64;  // also: a 中 set aside
inline constexpr int kWin = 128;
}  // namespace op
namespace opt {
inline constexpr int kPass = 0x01;
inline constexpr int kChow = 0x04;  // never offered to a player's client: bots only
inline constexpr int kPung = 0x08;  // the same
inline constexpr int kAddedGang = 0x40;
inline constexpr int kExposedGang = 0x10;
inline constexpr int kConcealedGang = 0x20;
inline constexpr int kWin = 0x80;
}  // namespace opt

struct EvNewHand { int dealer; std::array<int, 4> dice; };
struct EvDeal { std::array<std::array<Tile, 12>, 4> tiles; };
struct EvDraw { int seat; Tile tile; int position; bool fromBack; };
struct EvWild { Tile wild; Tile indicator; };
struct EvSetAside { int seat; Tile tile; };
struct EvDiscard { int seat; Tile tile; };
struct EvGang { int seat; int type; Tile tile; };
// A chow or pung on a discard: the seat's two tiles, then the claimed one.
struct EvMeld { int seat; int type; std::array<Tile, 3> tiles; };
struct EvWin { int seat; Tile tile; bool selfDrawn; };
// A decision is open for the seat: after its own draw (`ownTurn`, a discard is due)
// or on another seat's discard. `options` is the option byte.
struct EvOffer { int seat; int options; bool ownTurn; };
struct EvHandEnd {};
using HandEvent = std::variant<EvNewHand, EvDeal, EvDraw, EvWild, EvSetAside, EvDiscard, EvGang, EvMeld, EvWin,
                               EvOffer, EvHandEnd>;

struct Gang {
  Tile tile;
  int type;  // op::kExposedGang, op::kConcealedGang or op::kAddedGang
};

// An open chow or pung (the tiles in the order announced).
struct Meld {
  int type;  // op::kChow or op::kPung
  std::array<Tile, 3> tiles;
};

struct SeatRow {
  std::vector<Tile> concealed;  // in arrival order; the newest tile last
  std::vector<Tile> setAside;   // 中 tiles
  std::vector<Gang> gangs;
  std::vector<Meld> melds;
  int discardsInRow = 0;        // discards still lying in the seat's row
  bool lastDrawAfterGang = false;
};

struct HandSetup {
  int dealer = 0;
  std::array<int, 4> dice{1, 1, 1, 1};
  std::vector<Tile> shuffled;  // the whole set, shuffled; the first 84 form the wall
  int dealAnchor = 0;          // the seat whose client's deal order the wall follows
  // Seats that may claim 吃 and 碰 on each other's discards (bots under --bot-melds).
  std::array<bool, 4> meldSeats{};
};

struct HandOutcome {
  int winner = -1;  // -1: a drawn hand
  int feeder = -1;  // the seat whose discard was won on
  bool selfDrawn = false;
  bool gangKai = false;
  Tile winningTile = kNoTile;
};

class Hand {
 public:
  explicit Hand(const HandSetup& setup);

  // Deal, draw the 13th and the dealer's 14th tiles, name the wild tile, set the 中
  // aside, and open the dealer's first decision.
  void Start();

  bool Over() const { return phase_ == Phase::kOver; }
  // The seat owes an answer now.
  bool Awaiting(int seat) const;
  // The open decision is the seat's own turn (a discard is due).
  bool OwnTurn(int seat) const { return phase_ == Phase::kTurn && seat == turnSeat_; }
  int Options(int seat) const;

  // A claim reply (op::...). False when it is not legal now; nothing changes then.
  bool Reply(int seat, int operation, Tile tile);
  // A discard. False when it is not the seat's turn or the tile is not held.
  bool Discard(int seat, Tile tile);

  std::vector<HandEvent> TakeEvents();
  bool HasEvents() const { return !events_.empty(); }

  const SeatRow& Row(int seat) const { return rows_[seat]; }
  const Wall& wall() const { return wall_; }
  Tile WildTile() const { return wild_; }
  Tile Indicator() const { return indicator_; }
  int Dealer() const { return setup_.dealer; }
  const std::array<int, 4>& Dice() const { return setup_.dice; }
  const HandOutcome& Outcome() const { return outcome_; }
  // The tile the seat drew last (the one an automatic move throws).
  Tile LastDrawn(int seat) const;
  // Sets the seat has laid down: gangs, chows and pungs.
  int SetsLaid(int seat) const;
  // Held tiles that would join one of the seat's pungs.
  std::vector<Tile> AddedGangTiles(int seat) const;

 private:
  enum class Phase { kDealing, kTurn, kClaims, kOver };

  void Emit(HandEvent e) { events_.push_back(std::move(e)); }
  bool DrawFor(int seat, bool fromBack);
  bool SetAsideRedDragons(int seat);
  void BeginTurn(int seat);
  void NextDraw(int seat);
  void ResolveClaims();
  void EndHand();
  void RemoveOne(int seat, Tile t);
  // 吃 and 碰 (hand_melds.cpp).
  int MeldOptions(int seat, Tile discard) const;
  bool ResolveMelds();
  bool AddedGang(int seat, Tile tile);
  void AfterGang(int seat);

  HandSetup setup_;
  Wall wall_;
  Tile indicator_;
  Tile wild_;
  std::array<SeatRow, 4> rows_;
  std::array<Tile, 4> lastDrawn_{};
  Phase phase_ = Phase::kDealing;
  int turnSeat_ = 0;
  int turnOptions_ = 0;
  Tile claimTile_ = kNoTile;
  int discarder_ = -1;
  std::array<int, 4> claimOptions_{};
  std::array<int, 4> claimReplies_{};
  HandOutcome outcome_;
  std::vector<HandEvent> events_;
};

std::array<Tile, kWallSize> FirstWallTiles(const std::vector<Tile>& shuffled);

}  // namespace tavrel::server
