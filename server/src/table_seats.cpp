// The table's seats: logins, spectators, reconnection, departures and the
// announcements that tell every client who sits where.
#include <algorithm>

#include "session/command_record.h"
#include "session/commands.h"
#include "table.h"

namespace tavrel::server {

namespace w = tavrel::wire;

namespace {
constexpr std::string_view kWatchPrefix = "watch:";
constexpr int kMaxSpectators = 16;
const char* const kBotFaces[] = {"m3", "w2", "m7", "w5", "m9", "w8"};
const char* const kBotNames[] = {"机器人甲", "机器人乙", "机器人丙", "机器人丁", "机器人戊", "机器人己"};
}  // namespace

void Table::Login(ConnId c, const Packet& p, std::int64_t now) {
  const std::string name = w::SingleByteText(p, 16, 16);
  const std::string key = w::SingleByteText(p, 32, 64);
  auto refuse = [&](int result, const std::string& why) {
    log_.Warn(c, "login of '" + name + "' refused: " + why);
    Send(c, LoginResultPacket(result, config_.turnClock, config_.timeoutLimit));
    Close(c);
  };
  if (name.empty()) return refuse(3, "no user name");
  if (key.starts_with(kWatchPrefix)) {
    const std::string rest = key.substr(kWatchPrefix.size());
    const auto colon = rest.find(':');
    return WatchLogin(c, rest.substr(0, colon), colon == std::string::npos ? "" : rest.substr(colon + 1));
  }
  if (!config_.key.empty() && key != config_.key) return refuse(3, "wrong key");
  for (const Seat& s : seats_)
    if (s.who == Occupant::kHuman && s.account == name) return refuse(2, "already seated");

  int seat = -1;
  for (int i = 0; i < 4 && seat < 0; ++i) {
    const Seat& s = seats_[i];
    if (s.who == Occupant::kEmpty) seat = i;
    // A seat given up to a bot is free again between hands.
    if (s.who == Occupant::kBot && s.standIn && phase_ == Phase::kBetween) seat = i;
  }
  if (seat < 0) return refuse(2, "table full");

  SeatHuman(seat, name);
  Connection& conn = Conn(c);
  conn.role = Role::kSeat;
  conn.seat = seat;
  seats_[seat].conn = c;
  log_.Event("login: '" + name + "' takes seat " + std::to_string(seat));
  Send(c, LoginResultPacket(1, config_.turnClock, config_.timeoutLimit));

  const bool full = std::none_of(seats_.begin(), seats_.end(), [](const Seat& s) { return s.who == Occupant::kEmpty; });
  if (phase_ == Phase::kGathering && full) {
    log_.Event("table full: seat names, players and the dealer go out");
    phase_ = Phase::kBetween;
    Announce();
    StartFirstHandIfReady(now);
  } else if (phase_ == Phase::kBetween) {
    Announce();
    StartFirstHandIfReady(now);
  }
}

void Table::StartFirstHandIfReady(std::int64_t now) {
  if (!config_.readyFirstHand || handsPlayed_ > 0 || phase_ != Phase::kBetween) return;
  for (Seat& s : seats_)
    if (s.who == Occupant::kHuman) s.continued = true;
  MaybeStartHand(now);
}

void Table::WatchLogin(ConnId c, std::string_view target, std::string_view key) {
  int watched = -1;
  for (int i = 0; i < 4; ++i) {
    const Seat& s = seats_[i];
    if (s.who == Occupant::kEmpty) continue;
    if (s.account == target || std::to_string(s.userId) == target) watched = i;
  }
  if (watched < 0 && target.size() == 1 && target[0] >= '0' && target[0] <= '3') watched = target[0] - '0';
  const int spectators = static_cast<int>(
      std::count_if(conns_.begin(), conns_.end(), [](const auto& kv) { return kv.second.role == Role::kSpectator; }));
  int result = 1;
  if (!config_.key.empty() && key != config_.key) result = 3;
  else if (watched < 0 || spectators >= kMaxSpectators) result = 2;
  if (result != 1) {
    log_.Warn(c, "spectator login refused");
    Send(c, LoginResultPacket(result, config_.turnClock, config_.timeoutLimit));
    Close(c);
    return;
  }
  Connection& conn = Conn(c);
  conn.role = Role::kSpectator;
  conn.seat = watched;
  log_.Event("spectator watches seat " + std::to_string(watched));
  Send(c, LoginResultPacket(1, config_.turnClock, config_.timeoutLimit));
  if (phase_ != Phase::kGathering) AnnounceTo(c, watched);
}

void Table::Reconnect(ConnId c, const Packet& p, std::int64_t now) {
  const std::string name = w::SingleByteText(p, 16, 16);
  const std::uint32_t number = w::U32LE(p, off::kTailNumber);
  const std::uint16_t token = static_cast<std::uint16_t>(w::U16BE(p, off::kToken));
  int seat = -1;
  for (int i = 0; i < 4; ++i) {
    const Seat& s = seats_[i];
    if (s.who == Occupant::kHuman && !s.leaving && s.account == name) seat = i;
  }
  bool ok = seat >= 0 && seats_[seat].reconnectNumber == number;
  if (ok) {
    const auto& ring = seats_[seat].recentTokens;
    ok = std::find(ring.begin(), ring.end(), token) != ring.end();
  }
  if (!ok) {
    log_.Warn(c, "reconnect of '" + name + "' refused: wrong seat, number or token");
    Send(c, ReconnectResultPacket(false));
    Close(c);
    return;
  }
  Seat& s = seats_[seat];
  if (s.conn >= 0 && s.conn != c) {
    log_.Event("seat " + std::to_string(seat) + ": old connection replaced");
    Close(s.conn);
  }
  Connection& conn = Conn(c);
  conn.role = Role::kSeat;
  conn.seat = seat;
  s.conn = c;
  s.lostAt = -1;
  log_.Event("reconnect: '" + name + "' back at seat " + std::to_string(seat));
  Send(c, ReconnectResultPacket(true));
  if (phase_ == Phase::kPlaying && hand_ && !hand_->Over()) {
    SendTableReset(c, seat);
    SendSeatTiles(c, seat);
    if (hand_->Awaiting(seat)) OfferTo(seat, now);
  } else if (phase_ == Phase::kBetween) {
    // The client may have missed the end of the hand and would wait for it forever;
    // it is dealt into the next hand, whose NewHand clears its table.
    s.continued = true;
    MaybeStartHand(now);
  }
}

void Table::Leave(int seat, std::int64_t now) {
  Seat& s = seats_[seat];
  if (phase_ == Phase::kFinished || s.who != Occupant::kHuman) return;
  if (phase_ == Phase::kGathering) {
    s = Seat{};
    return;
  }
  s.leaving = true;
  s.conn = -1;
  if (phase_ == Phase::kPlaying) {
    if (hand_ && hand_->Awaiting(seat) && botDueAt_ < 0) botDueAt_ = now + config_.botDelayMs;
    return;  // a bot finishes the hand; the others hear of it after the hand
  }
  ReleaseDepartures();
  Announce();
  MaybeStartHand(now);
}

void Table::SeatHuman(int seat, std::string_view name) {
  Seat& s = seats_[seat];
  s = Seat{};
  s.who = Occupant::kHuman;
  s.account = std::string(name);
  s.display = std::string(name);
  s.face = "m" + std::to_string(seat + 1);
  s.male = true;
  s.tag = "玩家";
  s.gold = config_.startGold;
  s.logins = 1;
  s.userId = 1001 + seat;
  s.reconnectNumber = static_cast<std::uint32_t>(rng_());
}

void Table::SeatBot(int seat, bool standIn) {
  Seat& s = seats_[seat];
  const int n = botsMade_++ % 6;
  s = Seat{};
  s.who = Occupant::kBot;
  s.standIn = standIn;
  s.account = "robot" + std::to_string(botsMade_);
  s.display = kBotNames[n];
  s.face = kBotFaces[n];
  s.male = s.face[0] == 'm';
  s.tag = "电脑";
  s.gold = config_.startGold;
  s.userId = 1001 + seat;
  s.continued = true;
}

PlayerCard Table::CardOf(int seat) const {
  const Seat& s = seats_[seat];
  PlayerCard c;
  c.account = s.account;
  c.display = s.display;
  c.face = s.face;
  c.male = s.male;
  c.region = "本地";
  c.tag = s.tag;
  c.points = s.points;
  c.gold = s.gold;
  c.logins = s.logins;
  c.drops = s.drops;
  c.wins = s.wins;
  c.losses = s.losses;
  c.userId = s.userId;
  c.ready = s.who == Occupant::kBot;
  c.wealthRate = static_cast<std::uint32_t>(config_.wealthRate);
  c.diceRule = config_.diceDoubling;
  c.props = config_.props;
  return c;
}

void Table::AnnounceTo(ConnId c, int view) {
  auto it = conns_.find(c);
  if (it == conns_.end()) return;
  const bool player = it->second.role == Role::kSeat;
  for (int s = 0; s < 4; ++s) Send(c, SeatNamePacket(s, seats_[s].account));
  const bool restore = phase_ == Phase::kPlaying && hand_ && !hand_->Over();
  // A watching client takes the wall break from TableReset while it places the players.
  if (restore && !player) SendTableReset(c, view);
  for (int s = 0; s < 4; ++s) Send(c, UserInfoPacket(CardOf(s), player && s == view ? 15 : MaskOf(s)));
  if (restore) {
    if (player) SendTableReset(c, view);
    SendSeatTiles(c, view);
  }
  Send(c, DealerPacket(dealer_, dealerCount_, player ? seats_[view].reconnectNumber : 0));
}

void Table::Announce(bool keepReady) {
  for (Seat& s : seats_)
    if (s.who == Occupant::kHuman && !keepReady) s.continued = false;
  std::vector<std::pair<ConnId, int>> viewers;
  for (auto& [id, conn] : conns_)
    if (IsViewer(conn.role)) viewers.emplace_back(id, conn.seat);
  for (auto [id, view] : viewers) AnnounceTo(id, view);
}

void Table::SendTableReset(ConnId c, int view) {
  Send(c, TableResetPacket(hand_->Dealer(), (view - hand_->Dealer() + 4) & 3, hand_->Dice(), hand_->WildTile(),
                           hand_->Indicator()));
}

void Table::SendSeatTiles(ConnId c, int view) {
  const Wall& wall = hand_->wall();
  for (int s = 0; s < 4; ++s) {
    const SeatRow& row = hand_->Row(s);
    std::vector<Tile> open(row.setAside);
    for (const Gang& g : row.gangs) open.insert(open.end(), 4, g.tile);
    for (const Meld& m : row.melds) open.insert(open.end(), m.tiles.begin(), m.tiles.end());
    std::vector<Tile> concealed = row.concealed;
    if (s != view) std::fill(concealed.begin(), concealed.end(), kNoTile);
    Send(c, SeatTilesPacket(s, {open, concealed, row.discardsInRow, wall.FrontSteps(), wall.BackTaken()}));
  }
}

}  // namespace tavrel::server
