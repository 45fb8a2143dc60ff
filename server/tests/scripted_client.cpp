#include "scripted_client.h"

#include <algorithm>

#include "session/command_record.h"
#include "session/commands.h"

namespace tavrel::server::testing {

namespace w = tavrel::wire;

ScriptedClient::ScriptedClient(std::string name, std::string key) : name_(std::move(name)), key_(std::move(key)) {}

Packet ScriptedClient::LoginPacket() const {
  Packet p{};
  p[3] = cmd::kLogin;
  p[14] = 1;
  w::PutSingleByteText(p, 16, name_, 16);
  w::PutSingleByteText(p, 32, key_, 64);
  return p;
}

Packet ScriptedClient::ReconnectPacket() const {
  Packet p = LoginPacket();
  p[3] = cmd::kReconnect;
  p[off::kToken] = token_[0];
  p[off::kToken + 1] = token_[1];
  w::PutU32LE(p, off::kTailNumber, reconnectNumber_);
  return p;
}

Packet ScriptedClient::Reply(int command, std::array<int, 4> values) const {
  Info info;
  info.Cmd = static_cast<std::int16_t>(command);
  info.Seat = static_cast<std::uint8_t>(ownSeat_ >= 0 ? 1 << ownSeat_ : 0);
  for (int i = 0; i < 4; ++i) info.value[i] = static_cast<std::int16_t>(values[i]);
  return EncodeRecord(info, token_);
}

void ScriptedClient::Problem(const std::string& what) {
  if (problems_.size() < 50) problems_.push_back("hand " + std::to_string(handsSeen_) + ": " + what);
}

void ScriptedClient::NewHand() {
  inHand_ = true;
  ++handsSeen_;
  own_.clear();
  lastDrawn_ = kNoTile;
  wild_ = kNoTile;
  concealedCount_ = {};
  seen_ = {};
  positions_ = 0;
  handOvers_ = 0;
  settlements_ = 0;
  won_ = false;
}

void ScriptedClient::CountSeen(Tile t) {
  const int k = KindOf(t);
  if (k < 0) {
    Problem("not a tile: " + std::to_string(t));
    return;
  }
  if (++seen_[k] > 4) Problem("fifth " + TileName(t) + " seen");
}

Tile ScriptedClient::ChooseDiscard() const {
  // Mostly the tile just drawn, now and then one from the middle of the row.
  if (own_.empty()) return kNoTile;
  if (handsSeen_ % 3 == 0 && own_.size() > 2 && own_[own_.size() / 2] != wild_) return own_[own_.size() / 2];
  if (lastDrawn_ != kNoTile && lastDrawn_ != wild_ && std::count(own_.begin(), own_.end(), lastDrawn_) > 0)
    return lastDrawn_;
  for (Tile t : own_)
    if (t != wild_) return t;
  return own_.back();
}

void ScriptedClient::EndOfHandChecks() {
  inHand_ = false;
  for (int s = 0; s < 4; ++s)
    if (s != ownSeat_ && concealedCount_[s] != 0)
      Problem("seat " + std::to_string(s) + " not fully shown: " + std::to_string(concealedCount_[s]) + " left");
  if (positions_ > 84) Problem("more than 84 wall positions: " + std::to_string(positions_));
}

std::vector<Packet> ScriptedClient::Handle(const Packet& p) {
  std::vector<Packet> replies;
  const int command = p[off::kCmd];
  commands_.push_back(command);
  if (command != cmd::kReconnectResult) token_ = {p[off::kToken], p[off::kToken + 1]};
  const int seat = SeatIndexOfMask(p[off::kSeat] & 0x0F);
  const auto removeOwn = [&](Tile t, int n) {
    for (int i = 0; i < n; ++i) {
      auto it = std::find(own_.begin(), own_.end(), t);
      if (it == own_.end()) {
        Problem("own row lost a " + TileName(t) + " it does not hold");
        return;
      }
      own_.erase(it);
    }
  };

  switch (command) {
    case cmd::kLoginResult:
      loginResult_ = p[15];
      if (loginResult_ == 1) replies.push_back(Reply(cmd::kKeepAlive, {0, 0, 0, 0}));
      break;
    case cmd::kSeatName:
      seatNames_[seat] = w::SingleByteText(p, 16, 16);
      if (++seatNamesSeen_ == 4) {
        seatNamesSeen_ = 0;
        for (int s = 3; s >= 0; --s)
          if (seatNames_[s] == name_) ownSeat_ = s;
      }
      break;
    case cmd::kUserInfo:
      if (p[off::kSeat] == 15 && w::SingleByteText(p, 168, 16) != name_) Problem("own record names someone else");
      break;
    case cmd::kPlayerLeft:
      if (p[15] == 2) {
        reconnectNumber_ = w::U32LE(p, off::kTailNumber);
        if (continueAfterHand_ && !silent_) replies.push_back(Reply(cmd::kContinue, {0, 0, 0, 1}));
      } else if (p[15] == 3) {
        ++goldOuts_;
      }
      break;
    case cmd::kNewHand:
      NewHand();
      break;
    case cmd::kDealTiles:
      if (seat != ownSeat_) Problem("deal addressed to another seat");
      if (p[11] != 12) Problem("deal of other than 12 tiles");
      for (int i = 0; i < 12; ++i) {
        const Tile t = p[17 + 2 * i];
        own_.push_back(t);
        CountSeen(t);
      }
      concealedCount_.fill(12);
      positions_ += 48;
      break;
    case cmd::kDrawTile: {
      const Tile t = p[15];
      ++positions_;
      ++concealedCount_[seat];
      if (seat == ownSeat_) {
        own_.push_back(t);
        lastDrawn_ = t;
        CountSeen(t);
      } else if (t != 0) {
        Problem("another seat's draw shows its tile");
      }
      if (positions_ > 84) Problem("draw beyond the 84 wall positions");
      break;
    }
    case cmd::kHandParams:
      wild_ = p[13];
      CountSeen(p[15]);  // the indicator is a tile of the set outside the wall
      if (WildAfter(p[15]) != wild_) Problem("wild tile does not follow its indicator");
      break;
    case cmd::kDiscardTile: {
      const Tile t = p[15];
      --concealedCount_[seat];
      if (seat == ownSeat_) removeOwn(t, 1);
      else CountSeen(t);
      if (t == kRedDragon) Problem("a 中 was discarded");
      break;
    }
    case cmd::kClaimResult: {
      const int type = p[9];
      const Tile t = p[15];
      if (type == 64) {
        // 中 set aside, or (under --bot-melds) a bot's tile added to its pung.
        if (t != kRedDragon && seat == ownSeat_) Problem("added gang for the player, who holds no pung");
        --concealedCount_[seat];
        if (seat == ownSeat_) removeOwn(t, 1);
        else CountSeen(t);
      } else if (type == 4 || type == 8) {
        // A bot's chow or pung: two tiles of its row, then the discard already seen.
        if (seat == ownSeat_) Problem("chow or pung for the player");
        concealedCount_[seat] -= 2;
        CountSeen(p[11]);
        CountSeen(p[13]);
        if (type == 8 && (p[11] != t || p[13] != t)) Problem("pung of unequal tiles");
      } else if (type == 32 || type == 16) {
        const int fromRow = type == 32 ? 4 : 3;
        concealedCount_[seat] -= fromRow;
        if (seat == ownSeat_) removeOwn(t, fromRow);
        else for (int i = 0; i < fromRow; ++i) CountSeen(t);
        if (t == wild_) Problem("gang of the wild tile");
      } else if (type == 128) {
        won_ = true;
      } else {
        Problem("claim result of type " + std::to_string(type));
      }
      break;
    }
    case cmd::kClaimOptions: {
      if (seat != ownSeat_) Problem("offer for another seat");
      if (p[100] == 0) Problem("offer without decision seconds");
      const int options = w::I16BE(p, 8) & 0xFF;
      if (options & 0x0E) Problem("chow or pung offered");
      const bool ownTurn = own_.size() % 3 == 2;
      if ((options & 0x20) && !ownTurn) Problem("concealed gang offered on another seat's discard");
      if ((options & 0x10) && ownTurn) Problem("exposed gang offered on the own turn");
      if (silent_) break;
      if (options & 0x80) {
        replies.push_back(Reply(cmd::kClaimReply, {128, 0, 0, 0}));
      } else if (ownTurn && (options & 0x20)) {
        Tile four = kNoTile;
        for (Tile t : own_)
          if (std::count(own_.begin(), own_.end(), t) == 4) four = t;
        if (four == kNoTile) Problem("concealed gang offered without four alike");
        const int v = four | 0x2000;
        replies.push_back(Reply(cmd::kClaimReply, {32, v, v, v}));
      } else if (ownTurn) {
        replies.push_back(Reply(cmd::kClaimReply, {1, 0, 0, 0}));
        replies.push_back(Reply(cmd::kDiscardTile, {0, 0, 0, ChooseDiscard() | 0x4000}));
      } else if (options & 0x10) {
        replies.push_back(Reply(cmd::kClaimReply, {16, 0, 0, 0}));
      } else {
        replies.push_back(Reply(cmd::kClaimReply, {1, 0, 0, 0}));
      }
      break;
    }
    case cmd::kHandShowdown:
      if (seat == ownSeat_) Problem("showdown of the own row");
      for (int i = 0; i < 4 && concealedCount_[seat] > 0; ++i) {
        CountSeen(p[9 + 2 * i]);
        --concealedCount_[seat];
      }
      break;
    case cmd::kHandOver: {
      std::int64_t total = w::I64LE(p, 16);
      if (p[11] == 0) total = -total;
      handTotals_[seat] = total;
      if (++handOvers_ == 4) {
        std::int64_t sum = 0;
        bool allZero = true;
        for (auto t : handTotals_) {
          sum += t;
          allZero = allZero && t == 0;
        }
        totalsSum_ += sum;
        if (sum != 0) Problem("hand results do not add up to zero");
        if (allZero != !won_) Problem(won_ ? "won hand without results" : "drawn hand with results");
        if (allZero) {
          ++drawnHands_;
          EndOfHandChecks();
        }
      }
      break;
    }
    case cmd::kSettlement: {
      std::int64_t amount = static_cast<std::int64_t>(w::U64LE(p, 36));
      if (p[44] == 2) amount = -amount;
      settled_[seat] = amount;
      if (amount != handTotals_[seat]) Problem("settlement amount differs from the hand result");
      if (++settlements_ == 4) {
        ++wonHands_;
        EndOfHandChecks();
      }
      break;
    }
    case cmd::kReconnectResult:
      reconnectResult_ = p[15];
      break;
    case cmd::kTableClosed:
      tableClosed_ = true;
      break;
    default:
      break;
  }
  return replies;
}

}  // namespace tavrel::server::testing
