// The table: connections, routing of what clients send, and chat.
#include "table.h"

#include <algorithm>

#include "session/command_record.h"
#include "session/commands.h"

namespace tavrel::server {

namespace w = tavrel::wire;

namespace {
constexpr std::size_t kRecentTokens = 256;  // tokens a returning client may still hold
}  // namespace

Table::Table(TableConfig config, Log& log) : config_(std::move(config)), log_(log), rng_(config_.seed) {
  config_.bots = std::clamp(config_.bots, 0, 4);
  for (int s = 4 - config_.bots; s < 4; ++s) SeatBot(s, false);
  dealer_ = static_cast<int>(rng_() % 4);
  if (config_.bots == 4) phase_ = Phase::kBetween;
}

Table::Connection& Table::Conn(ConnId c) {
  auto [it, inserted] = conns_.try_emplace(c);
  if (inserted) it->second.token = static_cast<std::uint16_t>(rng_());
  return it->second;
}

void Table::Send(ConnId c, Packet p) {
  auto it = conns_.find(c);
  if (it == conns_.end()) return;
  Connection& conn = it->second;
  // A fresh token on every packet (a full-period sequence, so it always changes).
  conn.token = static_cast<std::uint16_t>(conn.token * 25173u + 13849u);
  StampToken(p, SessionToken{static_cast<std::uint8_t>(conn.token >> 8), static_cast<std::uint8_t>(conn.token)});
  if (conn.role == Role::kSeat && p[off::kCmd] != cmd::kReconnectResult) {
    auto& ring = seats_[conn.seat].recentTokens;
    ring.push_back(conn.token);
    if (ring.size() > kRecentTokens) ring.pop_front();
  }
  log_.PacketOut(c, conn.role == Role::kSeat ? conn.seat : -1, p);
  out_.push_back({c, p});
}

void Table::Close(ConnId c) {
  auto it = conns_.find(c);
  if (it == conns_.end()) return;
  if (it->second.role == Role::kSeat && seats_[it->second.seat].conn == c) seats_[it->second.seat].conn = -1;
  conns_.erase(it);
  closures_.push_back(c);
  log_.ForgetConnection(c);
}

bool Table::BotPlays(int seat) const { return seats_[seat].who != Occupant::kHuman || seats_[seat].conn < 0; }

std::vector<Outgoing> Table::TakeOutput() {
  std::vector<Outgoing> out;
  out.swap(out_);
  return out;
}

std::vector<ConnId> Table::TakeClosures() {
  std::vector<ConnId> out;
  out.swap(closures_);
  return out;
}

void Table::Receive(ConnId c, const Packet& p, std::int64_t now) {
  now_ = now;
  log_.SetClock(now);
  Connection& conn = Conn(c);
  log_.PacketIn(c, conn.role == Role::kSeat ? conn.seat : -1, p);
  const int command = p[off::kCmd];
  switch (conn.role) {
    case Role::kNew:
      if (command == cmd::kLogin) {
        Login(c, p, now);
      } else if (command == cmd::kReconnect) {
        Reconnect(c, p, now);
      } else {
        log_.Warn(c, "first packet is no login (command " + std::to_string(command) + "); closing");
        Close(c);
      }
      break;
    case Role::kSpectator:
      if (command == cmd::kLeave && w::U8(p, 15) == 0) {
        Close(c);
      } else if (command != cmd::kKeepAlive) {
        log_.Warn(c, "spectator packet ignored (command " + std::to_string(command) + ")");
      }
      break;
    case Role::kSeat:
      ReceiveFromSeat(c, conn.seat, p, now);
      break;
    case Role::kGone:
      if (command == cmd::kLeave && w::U8(p, 15) == 0) Close(c);
      break;
  }
  Advance(now);
}

void Table::ReceiveFromSeat(ConnId c, int seat, const Packet& p, std::int64_t now) {
  const int command = p[off::kCmd];
  const Info info = DecodeRecord(p);
  switch (command) {
    case cmd::kKeepAlive:
      return;
    case cmd::kContinue:  // also kLeave: value(3) tells them apart
      if (info.value[3] == 0) {
        log_.Event("seat " + std::to_string(seat) + " (" + seats_[seat].account + ") leaves");
        Close(c);
        Leave(seat, now);
        return;
      }
      if (phase_ != Phase::kBetween) {
        log_.Warn(c, "continue outside the pause between hands ignored");
        return;
      }
      if (!seats_[seat].continued) {
        seats_[seat].continued = true;
        const std::string account = seats_[seat].account;
        for (auto& [id, other] : conns_)
          if (id != c && IsViewer(other.role)) Send(id, PlayerReadyPacket(account));
      }
      MaybeStartHand(now);
      return;
    case cmd::kDiscardTile: {
      const Tile tile = static_cast<Tile>(w::U8(p, 15));
      if (!hand_ || hand_->Over() || !hand_->Discard(seat, tile)) {
        log_.Warn(c, "discard of " + TileName(tile) + " by seat " + std::to_string(seat) + " ignored: not legal now");
        return;
      }
      Pump(now);
      return;
    }
    case cmd::kClaimReply: {
      const int operation = w::I16BE(p, 8);
      Tile tile = static_cast<Tile>(w::U8(p, 15));
      if (tile == 0) tile = static_cast<Tile>(w::U8(p, 11));
      if (!hand_ || hand_->Over() || !hand_->Reply(seat, operation, tile)) {
        log_.Warn(c, "claim reply " + std::to_string(operation) + " by seat " + std::to_string(seat) +
                         " ignored: not offered");
        return;
      }
      Pump(now);
      return;
    }
    case cmd::kChat:
      Chat(seat, p);
      return;
    case cmd::kPropMessage45:
      PropMessage(c, seat, p);
      return;
    default:
      log_.Warn(c, "command " + std::to_string(command) + " from seat " + std::to_string(seat) + " ignored");
  }
}

void Table::Chat(int seat, const Packet& p) {
  const bool prop = w::U32BE(p, off::kPropMarker) == cmd::kPropMarkerA ||
                    w::U32BE(p, off::kPropMarker) == cmd::kPropMarkerB;
  if (prop) {
    // Prop packets belong to the prop components: passed on as they came.
    for (auto& [id, conn] : conns_)
      if (conn.role == Role::kSeat && conn.seat != seat) Send(id, p);
    return;
  }
  const int privateMask = w::U8(p, 11) & 0x0F;
  Packet line = Basic(cmd::kChat, MaskOf(seat), {w::U8(p, 9), privateMask, w::U8(p, 13), w::U8(p, 15)});
  std::copy(p.begin() + 16, p.begin() + 216, line.begin() + 16);
  for (auto& [id, conn] : conns_) {
    if (!IsViewer(conn.role)) continue;
    if (privateMask != 0) {
      // A private line reaches the addressee and comes back to the sender only.
      if (conn.role != Role::kSeat) continue;
      if (conn.seat != seat && !(privateMask & MaskOf(conn.seat))) continue;
    }
    Send(id, line);
  }
}

void Table::Disconnect(ConnId c, std::int64_t now) {
  now_ = now;
  log_.SetClock(now);
  auto it = conns_.find(c);
  if (it == conns_.end()) return;
  const Connection conn = it->second;
  conns_.erase(it);
  log_.ForgetConnection(c);
  if (conn.role != Role::kSeat || seats_[conn.seat].conn != c) return;
  Seat& s = seats_[conn.seat];
  s.conn = -1;
  if (phase_ == Phase::kGathering) {
    log_.Event("seat " + std::to_string(conn.seat) + " lost before the table formed; freed");
    s = Seat{};
    return;
  }
  s.lostAt = now;
  s.drops += 1;
  log_.Event("seat " + std::to_string(conn.seat) + " (" + s.account + ") lost its connection; kept " +
             std::to_string(config_.reconnectHoldMs / 1000) + " s, a bot plays it");
  if (hand_ && !hand_->Over() && hand_->Awaiting(conn.seat) && botDueAt_ < 0) botDueAt_ = now + config_.botDelayMs;
  MaybeStartHand(now);
  Advance(now);
}

}  // namespace tavrel::server
