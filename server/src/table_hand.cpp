// The table's hand flow: starting hands, routing the hand's events to every viewer,
// bots and time-outs, and the end of a hand.
#include <algorithm>

#include "bot.h"
#include "session/commands.h"
#include "table.h"

namespace tavrel::server {

namespace {
// Shuffle that gives the same order for a seed on every platform.
void Shuffle(std::vector<Tile>& tiles, std::mt19937_64& rng) {
  for (std::size_t i = tiles.size(); i > 1; --i) std::swap(tiles[i - 1], tiles[rng() % i]);
}

std::vector<Tile> ShowdownOrder(const Hand& hand, int seat) {
  // Sorted, with a fourteenth tile (the one just drawn) kept last.
  std::vector<Tile> tiles = hand.Row(seat).concealed;
  Tile last = kNoTile;
  if (tiles.size() % 3 == 2) {
    last = hand.LastDrawn(seat);
    auto at = std::find(tiles.begin(), tiles.end(), last);
    if (at == tiles.end()) last = kNoTile;
    else tiles.erase(at);
  }
  std::sort(tiles.begin(), tiles.end(), [](Tile a, Tile b) { return KindOf(a) < KindOf(b); });
  if (last != kNoTile) tiles.push_back(last);
  return tiles;
}
}  // namespace

void Table::Advance(std::int64_t now) {
  now_ = now;
  log_.SetClock(now);
  if (phase_ == Phase::kBetween && config_.bots == 4 && now >= nextHandAt_) MaybeStartHand(now);
  for (int guard = 0; guard < 10000; ++guard) {
    bool acted = false;
    for (int s = 0; s < 4; ++s) {
      Seat& seat = seats_[s];
      if (seat.who == Occupant::kHuman && seat.lostAt >= 0 && !seat.leaving &&
          now >= seat.lostAt + config_.reconnectHoldMs) {
        log_.Event("seat " + std::to_string(s) + " (" + seat.account + ") not back in time; given up");
        Leave(s, now);
        acted = true;
      }
    }
    if (hand_ && !hand_->Over() && phase_ == Phase::kPlaying) {
      if (botDueAt_ >= 0 && now >= botDueAt_) {
        botDueAt_ = -1;
        acted = ActForBots() || acted;
      }
      for (int s = 0; s < 4 && !hand_->Over(); ++s) {
        Seat& seat = seats_[s];
        if (!BotPlays(s) && hand_->Awaiting(s) && seat.deadline >= 0 && now >= seat.deadline) {
          log_.Event("seat " + std::to_string(s) + " did not answer in time; the server acts for it");
          seat.deadline = -1;
          ActForSeat(s, config_.autoplayMs > 0);
          acted = true;
        }
      }
      if (acted) Pump(now);
    }
    if (!acted) break;
  }
}

bool Table::ActForBots() {
  // Watched or bot-only tables go one move per bot delay, so that a watcher can follow;
  // elsewhere the bots answer in one go.
  const bool paced = config_.bots == 4 || std::any_of(conns_.begin(), conns_.end(), [](const auto& c) {
                       return c.second.role == Role::kSpectator;
                     });
  std::vector<int> due;
  for (int s = 0; s < 4; ++s)
    if (BotPlays(s) && hand_->Awaiting(s)) due.push_back(s);
  bool acted = false;
  for (int s : due) {
    if (hand_->Over() || !hand_->Awaiting(s)) continue;
    ActForSeat(s, true);
    acted = true;
    // The hand has moved on (a discard, a claim settled): the next move waits its turn.
    if (paced && hand_->HasEvents()) break;
  }
  return acted;
}

std::int64_t Table::NextDeadline() const {
  // A bots-only table goes on by itself, after a pause that lets a watcher see the result.
  if (phase_ == Phase::kBetween && config_.bots == 4) return std::max(now_, nextHandAt_);
  std::int64_t next = -1;
  auto consider = [&](std::int64_t t) {
    if (t >= 0 && (next < 0 || t < next)) next = t;
  };
  if (hand_ && !hand_->Over()) {
    consider(botDueAt_);
    for (int s = 0; s < 4; ++s)
      if (!BotPlays(s) && hand_->Awaiting(s)) consider(seats_[s].deadline);
  }
  for (const Seat& s : seats_)
    if (s.who == Occupant::kHuman && s.lostAt >= 0 && !s.leaving) consider(s.lostAt + config_.reconnectHoldMs);
  return next;
}

void Table::MaybeStartHand(std::int64_t now) {
  if (phase_ != Phase::kBetween) return;
  if (config_.bots == 4 && now < nextHandAt_) return;
  int connected = 0;
  for (const Seat& s : seats_) {
    if (s.who != Occupant::kHuman || s.conn < 0) continue;
    ++connected;
    if (!s.continued) return;
  }
  if (connected == 0 && config_.bots < 4) return;  // nobody to play for
  if (reseatPending_) {
    // The humans' Continue drew the seats anew: the table as it now sits, then the hand.
    reseatPending_ = false;
    log_.Event("seats drawn anew: the table is announced again");
    Announce(true);
  }
  StartHand(now);
}

void Table::StartHand(std::int64_t now) {
  phase_ = Phase::kPlaying;
  HandSetup setup;
  setup.dealer = dealer_;
  for (int& d : setup.dice) d = static_cast<int>(rng_() % 6) + 1;
  setup.shuffled = FullSet();
  Shuffle(setup.shuffled, rng_);
  // The deal follows the ring order of the first human's client.
  for (int s = 3; s >= 0; --s)
    if (seats_[s].who == Occupant::kHuman) setup.dealAnchor = s;
  for (int s = 0; s < 4; ++s) setup.meldSeats[s] = config_.botMelds && seats_[s].who == Occupant::kBot;
  hand_ = std::make_unique<Hand>(setup);
  log_.Event("hand " + std::to_string(handsPlayed_ + 1) + " starts; dealer seat " + std::to_string(dealer_));
  hand_->Start();
  Pump(now);
}

void Table::Pump(std::int64_t now) {
  if (!hand_) return;
  for (;;) {
    auto events = hand_->TakeEvents();
    if (events.empty()) return;
    for (const HandEvent& e : events) {
      if (observer_) observer_->OnHandEvent(*hand_, e);
      Route(e, now);
    }
  }
}

void Table::Route(const HandEvent& e, std::int64_t now) {
  std::visit(
      [&](const auto& ev) {
        using T = std::decay_t<decltype(ev)>;
        if constexpr (std::is_same_v<T, EvNewHand>) {
          ToViewers([&](int) { return NewHandPacket(ev.dealer, ev.dice, config_.diceDoubling); });
        } else if constexpr (std::is_same_v<T, EvDeal>) {
          ToViewers([&](int view) { return DealPacket(view, &ev.tiles[view]); });
        } else if constexpr (std::is_same_v<T, EvDraw>) {
          ToViewers([&](int view) { return DrawPacket(ev.seat, view == ev.seat ? ev.tile : kNoTile); });
        } else if constexpr (std::is_same_v<T, EvWild>) {
          ToViewers([&](int) { return HandParamsPacket(ev.wild, ev.indicator); });
        } else if constexpr (std::is_same_v<T, EvSetAside>) {
          ToViewers([&](int) { return ClaimResultPacket(ev.seat, op::kAddedGang, ev.tile); });
        } else if constexpr (std::is_same_v<T, EvDiscard>) {
          ToViewers([&](int) { return DiscardPacket(ev.seat, ev.tile); });
        } else if constexpr (std::is_same_v<T, EvGang>) {
          ToViewers([&](int) { return ClaimResultPacket(ev.seat, ev.type, ev.tile); });
        } else if constexpr (std::is_same_v<T, EvMeld>) {
          ToViewers([&](int) { return MeldResultPacket(ev.seat, ev.type, ev.tiles); });
        } else if constexpr (std::is_same_v<T, EvWin>) {
          ToViewers([&](int) { return ClaimResultPacket(ev.seat, op::kWin, ev.tile); });
        } else if constexpr (std::is_same_v<T, EvOffer>) {
          OfferTo(ev.seat, now);
        } else if constexpr (std::is_same_v<T, EvHandEnd>) {
          FinishHand(now);
        }
      },
      e);
}

void Table::OfferTo(int seat, std::int64_t now) {
  if (BotPlays(seat)) {
    if (botDueAt_ < 0) botDueAt_ = now + config_.botDelayMs;
    return;
  }
  Seat& s = seats_[seat];
  if (config_.autoplayMs > 0) {
    // Tests: the seat is played as a bot, a moment after the offer.
    s.deadline = now + config_.autoplayMs;
    Send(s.conn, ClaimOptionsPacket(seat, hand_->Options(seat), config_.decisionSeconds));
    return;
  }
  // The client counts the decision seconds down, shows 0 for a second and then
  // moves by itself; the server waits a little longer before it acts instead.
  const int shown = config_.decisionSeconds <= 2 ? 8 : config_.decisionSeconds;
  s.deadline = now + 1000LL * (shown + 1) + config_.graceMs;
  Send(s.conn, ClaimOptionsPacket(seat, hand_->Options(seat), config_.decisionSeconds));
}

void Table::ActForSeat(int seat, bool asBot) {
  if (asBot) {
    const BotMove move = config_.botMelds ? BotDecideWithMelds(*hand_, seat) : BotDecide(*hand_, seat);
    hand_->Reply(seat, move.operation, move.replyTile);
    if (move.discard && !hand_->Over() && hand_->OwnTurn(seat)) hand_->Discard(seat, move.tile);
    return;
  }
  // What the client's own automatic move does: pass, and throw the tile just drawn.
  hand_->Reply(seat, op::kPass, kNoTile);
  if (!hand_->Over() && hand_->OwnTurn(seat)) hand_->Discard(seat, hand_->LastDrawn(seat));
}

void Table::SendShowdown() {
  const auto peek = hand_->wall().Peek();
  for (auto& [id, conn] : conns_) {
    if (!IsViewer(conn.role)) continue;
    for (int c = 0; c < 4; ++c) {
      if (c == conn.seat) continue;  // the viewer's own row is known to it
      const auto tiles = ShowdownOrder(*hand_, c);
      for (std::size_t i = 0; i < tiles.size(); i += 4) {
        const std::size_t n = std::min<std::size_t>(4, tiles.size() - i);
        Send(id, ShowdownPacket(c, std::span<const Tile>(tiles).subspan(i, n), peek));
      }
    }
  }
}

void Table::FinishHand(std::int64_t now) {
  const HandOutcome& out = hand_->Outcome();
  std::array<std::int64_t, 4> gold{};
  for (int s = 0; s < 4; ++s) gold[s] = seats_[s].gold;
  const HandScore score = ScoreHand(*hand_, dealerCount_, gold, CoinsPerPoint());
  ++handsPlayed_;
  log_.Event("hand " + std::to_string(handsPlayed_) + " over: " +
             (out.winner < 0 ? std::string("drawn")
                             : "seat " + std::to_string(out.winner) + (out.selfDrawn ? " wins self-drawn" : " wins on a discard")));

  SendShowdown();
  for (int s = 0; s < 4; ++s) {
    Seat& seat = seats_[s];
    const std::int64_t amount = score.seats[s].amount;
    seat.gold = std::max<std::int64_t>(0, seat.gold + amount);
    seat.points = std::max<std::int64_t>(1, seat.points + amount);
    if (amount > 0) ++seat.wins;
    if (amount < 0) ++seat.losses;
  }
  // The chest's results come before the hand's, so that the clients' plug-ins have them
  // when the sheet is due.
  GiveChest(out.winner);
  std::string caption = out.winner < 0 ? "" : out.selfDrawn ? "自摸胡牌" : "点炮胡牌";
  if (out.winner >= 0 && !config_.winnerCaption.empty()) caption = config_.winnerCaption;
  for (int s = 0; s < 4; ++s) {
    const std::int64_t amount = score.seats[s].amount;
    ToViewers([&](int) { return HandOverPacket(s, amount, caption); });
  }
  if (out.winner >= 0)
    for (int s = 0; s < 4; ++s) {
      const std::string title = LevelTitle(seats_[s].points);
      ToViewers([&](int) { return SettlementPacket(s, score.seats[s], config_.coinsPerPoint, title); });
    }
  if (observer_) observer_->OnHandEnd(*hand_, score);

  // The dealer keeps the deal on a win or a drawn hand; otherwise it passes on.
  if (out.winner < 0 || out.winner == dealer_) {
    ++dealerCount_;
  } else {
    dealer_ = (dealer_ + 1) % 4;
    dealerCount_ = 1;
  }
  phase_ = Phase::kBetween;
  botDueAt_ = -1;
  nextHandAt_ = now + kBotTableResultMoves * config_.botDelayMs;

  if (config_.hands > 0 && handsPlayed_ >= config_.hands) {
    log_.Event("hand limit reached; table closes");
    phase_ = Phase::kFinished;
    ToViewers([&](int) { return TableClosedPacket("牌局已结束，谢谢光临！"); });
    std::vector<ConnId> all;
    for (auto& [id, conn] : conns_) all.push_back(id);
    for (ConnId id : all) Close(id);
    return;
  }

  for (int s = 0; s < 4; ++s) {
    Seat& seat = seats_[s];
    if (seat.gold > 0) continue;
    if (seat.who == Occupant::kBot) {
      seat.gold = config_.startGold;  // bots never run dry
      continue;
    }
    log_.Event("seat " + std::to_string(s) + " (" + seat.account + ") is out of gold");
    ToViewers([&](int) { return GoldOutPacket(0x0F & ~MaskOf(s), MaskOf(s)); });
    seat.leaving = true;
  }
  const bool changed = std::any_of(seats_.begin(), seats_.end(), [](const Seat& s) { return s.leaving; });
  if (changed) {
    ReleaseDepartures();
    Announce();
  } else if (config_.botLeavesAfter > 0 && handsPlayed_ == config_.botLeavesAfter) {
    BotLeaves();
  } else {
    for (Seat& s : seats_)
      if (s.who == Occupant::kHuman) s.continued = false;
    for (auto& [id, conn] : conns_)
      if (IsViewer(conn.role))
        Send(id, DealerPacket(dealer_, dealerCount_, conn.role == Role::kSeat ? seats_[conn.seat].reconnectNumber : 0));
  }
  MaybeStartHand(now);
}

int Table::CoinsPerPoint() const {
  int coins = config_.coinsPerPoint;
  if (config_.diceDoubling && hand_) coins *= hand_->Dice()[2] + hand_->Dice()[3];
  if (config_.wealthRate > 0) coins *= config_.wealthRate;
  return coins;
}

void Table::BotLeaves() {
  int seat = -1;
  for (int s = 0; s < 4 && seat < 0; ++s)
    if (seats_[s].who == Occupant::kBot) seat = s;
  for (Seat& s : seats_)
    if (s.who == Occupant::kHuman) s.continued = false;
  if (seat < 0) {
    for (auto& [id, conn] : conns_)
      if (IsViewer(conn.role))
        Send(id, DealerPacket(dealer_, dealerCount_, conn.role == Role::kSeat ? seats_[conn.seat].reconnectNumber : 0));
    return;
  }
  const std::string account = seats_[seat].account;
  SeatBot(seat, false);
  log_.Event("seat " + std::to_string(seat) + " (" + account + ") leaves; " + seats_[seat].account +
             " takes the seat when the seats are drawn");
  // As a departure between hands: the name (with the short countdown), then the notice
  // that the seats are drawn anew at the next Continue.
  ToViewers([&](int) { return TableUsersPacket(account, true); });
  ToViewers([&](int) { return SeatChangePacket(true, false); });
  reseatPending_ = true;
}

void Table::ReleaseDepartures() {
  for (int s = 0; s < 4; ++s) {
    Seat& seat = seats_[s];
    if (!seat.leaving) continue;
    const std::string account = seat.account;
    if (seat.conn >= 0) {
      // Still connected (out of gold): its client leaves by itself after the notice.
      conns_[seat.conn].role = Role::kGone;
      seat.conn = -1;
    }
    log_.Event("seat " + std::to_string(s) + " (" + account + ") freed; a bot takes it");
    SeatBot(s, true);
    for (auto& [id, conn] : conns_)
      if (IsViewer(conn.role)) Send(id, TableUsersPacket(account, false));
  }
}

}  // namespace tavrel::server
