#pragma once
// Table test helpers: a referee that follows every hand with full knowledge of the
// tiles, and small packet builders.
#include <gtest/gtest.h>

#include <algorithm>

#include "hand_rules.h"
#include "session/command_record.h"
#include "session/commands.h"
#include "table_harness.h"

namespace tavrel::server::testing {

// Follows every hand with full knowledge of the tiles and checks each move.
class Referee : public TableObserver {
 public:
  void OnHandEvent(const Hand& hand, const HandEvent& e) override {
    std::visit([&](const auto& ev) { On(hand, ev); }, e);
  }
  void OnHandEnd(const Hand& hand, const HandScore& score) override {
    ++hands;
    std::int64_t sum = 0;
    for (const auto& s : score.seats) sum += s.amount;
    if (sum != 0) Problem("amounts do not add up to zero");
    if (hand.Outcome().winner < 0) {
      ++draws;
      for (const auto& s : score.seats)
        if (s.amount != 0) Problem("a drawn hand moved coins");
    } else {
      ++wins;
      if (score.seats[hand.Outcome().winner].amount <= 0) Problem("the winner gained nothing");
    }
    for (int s = 0; s < 4; ++s) {
      auto mine = rows_[s];
      auto theirs = hand.Row(s).concealed;
      std::sort(mine.begin(), mine.end());
      std::sort(theirs.begin(), theirs.end());
      if (mine != theirs) Problem("row of seat " + std::to_string(s) + " differs from the moves seen");
    }
    if (hand.wall().TakenCount() > kWallSize || positions_ != hand.wall().TakenCount())
      Problem("wall positions handed out: " + std::to_string(positions_));
  }

  std::vector<std::string> problems;
  int hands = 0, wins = 0, draws = 0, gangs = 0, setAsides = 0, chows = 0, pungs = 0, addedGangs = 0;

 private:
  void Problem(const std::string& what) {
    if (problems.size() < 30) problems.push_back("hand " + std::to_string(hands + 1) + ": " + what);
  }
  bool Take(int seat, Tile t, int n) {
    auto& row = rows_[seat];
    if (std::count(row.begin(), row.end(), t) < n) return false;
    for (int i = 0; i < n; ++i) row.erase(std::find(row.begin(), row.end(), t));
    return true;
  }
  void On(const Hand& hand, const EvNewHand&) {
    rows_ = {};
    gangCount_ = {};
    melds_ = {};
    pungTiles_ = {};
    taken_ = {};
    positions_ = 0;
    turn_ = -1;
    std::array<int, kKinds> count{};
    for (int i = 0; i < kWallSize; ++i) ++count[KindOf(hand.wall().At(i))];
    ++count[KindOf(hand.Indicator())];
    for (int n : count)
      if (n > 4) Problem("the set holds a fifth tile");
  }
  void On(const Hand&, const EvDeal& ev) {
    for (int s = 0; s < 4; ++s) rows_[s].assign(ev.tiles[s].begin(), ev.tiles[s].end());
    positions_ += 48;
  }
  void On(const Hand& hand, const EvDraw& ev) {
    if (taken_[ev.position]) Problem("wall position " + std::to_string(ev.position) + " handed out twice");
    if (hand.wall().At(ev.position) != ev.tile) Problem("drawn tile is not the one at its position");
    taken_[ev.position] = true;
    ++positions_;
    rows_[ev.seat].push_back(ev.tile);
  }
  void On(const Hand&, const EvWild&) {}
  void On(const Hand&, const EvSetAside& ev) {
    ++setAsides;
    if (ev.tile != kRedDragon || !Take(ev.seat, ev.tile, 1)) Problem("set aside a tile that is no held 中");
  }
  void On(const Hand&, const EvOffer& ev) {
    if (ev.ownTurn) turn_ = ev.seat;
  }
  void On(const Hand&, const EvDiscard& ev) {
    if (ev.seat != turn_) Problem("discard out of turn");
    if (!Take(ev.seat, ev.tile, 1)) Problem("discard of a tile not held");
    lastDiscard_ = ev.tile;
    discarder_ = ev.seat;
    turn_ = -1;
  }
  void On(const Hand& hand, const EvGang& ev) {
    ++gangs;
    if (ev.tile == hand.WildTile()) Problem("gang of the wild tile");
    if (ev.type == op::kConcealedGang) {
      if (ev.seat != turn_ || !Take(ev.seat, ev.tile, 4)) Problem("illegal concealed gang");
    } else if (ev.type == op::kAddedGang) {
      ++addedGangs;
      auto& pungs = pungTiles_[ev.seat];
      auto it = std::find(pungs.begin(), pungs.end(), ev.tile);
      if (ev.seat != turn_ || it == pungs.end() || !Take(ev.seat, ev.tile, 1)) Problem("illegal added gang");
      if (it != pungs.end()) pungs.erase(it);
      --melds_[ev.seat];
    } else if (ev.seat == discarder_ || ev.tile != lastDiscard_ || !Take(ev.seat, ev.tile, 3)) {
      Problem("illegal gang on a discard");
    }
    ++gangCount_[ev.seat];
  }
  void On(const Hand&, const EvMeld& ev) {
    if (ev.seat == discarder_ || ev.tiles[2] != lastDiscard_) Problem("meld on a tile that was not discarded");
    if (!Take(ev.seat, ev.tiles[0], 1) || !Take(ev.seat, ev.tiles[1], 1)) Problem("meld of tiles not held");
    if (ev.type == op::kPung) {
      ++pungs;
      if (ev.tiles[0] != ev.tiles[2] || ev.tiles[1] != ev.tiles[2]) Problem("pung of unequal tiles");
      pungTiles_[ev.seat].push_back(ev.tiles[2]);
    } else {
      ++chows;
      std::array<int, 3> r{Rank(ev.tiles[0]), Rank(ev.tiles[1]), Rank(ev.tiles[2])};
      std::sort(r.begin(), r.end());
      const bool suit = SuitBits(ev.tiles[0]) == SuitBits(ev.tiles[2]) && SuitBits(ev.tiles[1]) == SuitBits(ev.tiles[2]);
      if (!suit || !IsSuited(ev.tiles[2]) || r[1] != r[0] + 1 || r[2] != r[1] + 1) Problem("chow that is no run");
      if (ev.seat != (discarder_ + 1) % 4) Problem("chow by a seat that does not play next");
    }
    ++melds_[ev.seat];
    turn_ = ev.seat;
  }
  void On(const Hand& hand, const EvWin& ev) {
    std::vector<Tile> tiles = rows_[ev.seat];
    if (!ev.selfDrawn) {
      if (ev.seat == discarder_ || ev.tile != lastDiscard_) Problem("win on a tile that was not discarded");
      tiles.push_back(lastDiscard_);
    } else if (ev.seat != turn_) {
      Problem("self-drawn win out of turn");
    }
    if (!IsWinningHand(tiles, gangCount_[ev.seat] + melds_[ev.seat], hand.WildTile())) Problem("win with an incomplete hand");
  }
  void On(const Hand&, const EvHandEnd&) {}

  std::array<std::vector<Tile>, 4> rows_;
  std::array<int, 4> gangCount_{};
  std::array<int, 4> melds_{};  // chows and pungs still open
  std::array<std::vector<Tile>, 4> pungTiles_;
  std::array<bool, kWallSize> taken_{};
  int positions_ = 0;
  int turn_ = -1;
  Tile lastDiscard_ = kNoTile;
  int discarder_ = -1;
};

inline Packet Command(int command, int seatMask, std::array<int, 4> values) {
  Info info;
  info.Cmd = static_cast<std::int16_t>(command);
  info.Seat = static_cast<std::uint8_t>(seatMask);
  for (int i = 0; i < 4; ++i) info.value[i] = static_cast<std::int16_t>(values[i]);
  return EncodeRecord(info, {0, 0});
}

inline Packet LoginOf(const std::string& name, const std::string& key = "") {
  return ScriptedClient(name, key).LoginPacket();
}

inline std::vector<int> CommandsOf(const std::vector<Packet>& packets) {
  std::vector<int> out;
  for (const Packet& p : packets) out.push_back(p[off::kCmd]);
  return out;
}

}  // namespace tavrel::server::testing
