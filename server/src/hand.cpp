#include "hand.h"

#include <algorithm>

#include "hand_rules.h"

namespace tavrel::server {

std::array<Tile, kWallSize> FirstWallTiles(const std::vector<Tile>& shuffled) {
  std::array<Tile, kWallSize> tiles{};
  for (int i = 0; i < kWallSize && i < static_cast<int>(shuffled.size()); ++i) tiles[i] = shuffled[i];
  return tiles;
}

namespace {
// The canonical ring is numbered as seat 0's client numbers its own.
int CanonicalBreak(const HandSetup& s) { return WallBreak((4 - s.dealer) & 3, s.dice); }
}  // namespace

Hand::Hand(const HandSetup& setup)
    : setup_(setup),
      wall_(FirstWallTiles(setup.shuffled), CanonicalBreak(setup)),
      indicator_(setup.shuffled.size() > kWallSize ? setup.shuffled[kWallSize] : Tile{0x11}),
      wild_(WildAfter(indicator_)) {}

void Hand::Start() {
  const int dealer = setup_.dealer;
  Emit(EvNewHand{dealer, setup_.dice});

  // Twelve tiles each, in groups of four, in the order the anchor seat's client deals them.
  EvDeal deal{};
  for (int g = 0; g < 3; ++g)
    for (int k = 0; k < 4; ++k) {
      const int seat = (setup_.dealAnchor + k) % 4;
      for (int i = 0; i < 4; ++i) {
        const Tile t = wall_.DrawFront()->tile;
        deal.tiles[seat][4 * g + i] = t;
        rows_[seat].concealed.push_back(t);
      }
    }
  Emit(deal);

  for (int i = 0; i < 4; ++i) DrawFor((dealer + i) % 4, false);
  DrawFor(dealer, false);
  Emit(EvWild{wild_, indicator_});

  for (int i = 0; i < 4; ++i)
    if (!SetAsideRedDragons((dealer + i) % 4)) return;
  BeginTurn(dealer);
}

bool Hand::DrawFor(int seat, bool fromBack) {
  auto taken = fromBack ? wall_.DrawBack() : wall_.DrawFront();
  if (!taken) return false;
  rows_[seat].concealed.push_back(taken->tile);
  if (!fromBack) rows_[seat].lastDrawAfterGang = false;
  lastDrawn_[seat] = taken->tile;
  Emit(EvDraw{seat, taken->tile, taken->position, fromBack});
  return true;
}

bool Hand::SetAsideRedDragons(int seat) {
  auto& row = rows_[seat];
  while (std::find(row.concealed.begin(), row.concealed.end(), kRedDragon) != row.concealed.end()) {
    RemoveOne(seat, kRedDragon);
    row.setAside.push_back(kRedDragon);
    Emit(EvSetAside{seat, kRedDragon});
    if (!DrawFor(seat, true)) {
      EndHand();
      return false;
    }
  }
  return true;
}

void Hand::RemoveOne(int seat, Tile t) {
  auto& c = rows_[seat].concealed;
  // The newest copy goes first, so that the row keeps the order the seat saw.
  auto it = std::find(c.rbegin(), c.rend(), t);
  if (it != c.rend()) c.erase(std::next(it).base());
}

Tile Hand::LastDrawn(int seat) const {
  const auto& c = rows_[seat].concealed;
  if (std::find(c.begin(), c.end(), lastDrawn_[seat]) != c.end()) return lastDrawn_[seat];
  return c.empty() ? kNoTile : c.back();
}

void Hand::BeginTurn(int seat) {
  phase_ = Phase::kTurn;
  turnSeat_ = seat;
  const auto& row = rows_[seat];
  int options = 0;
  if (IsWinningHand(row.concealed, SetsLaid(seat), wild_)) options |= opt::kWin;
  if (wall_.Remaining() > 0 && !ConcealedGangTiles(row.concealed, wild_).empty()) options |= opt::kConcealedGang;
  if (wall_.Remaining() > 0 && !AddedGangTiles(seat).empty()) options |= opt::kAddedGang;
  if (options != 0) options |= opt::kPass;
  turnOptions_ = options;
  Emit(EvOffer{seat, options, true});
}

bool Hand::Awaiting(int seat) const {
  if (seat < 0 || seat > 3) return false;
  if (phase_ == Phase::kTurn) return seat == turnSeat_;
  if (phase_ == Phase::kClaims) return claimOptions_[seat] != 0 && claimReplies_[seat] == 0;
  return false;
}

int Hand::Options(int seat) const {
  if (!Awaiting(seat)) return 0;
  return phase_ == Phase::kTurn ? turnOptions_ : claimOptions_[seat];
}

bool Hand::Reply(int seat, int operation, Tile tile) {
  if (!Awaiting(seat)) return false;
  if (phase_ == Phase::kTurn) {
    auto& row = rows_[seat];
    switch (operation) {
      case op::kPass:
        turnOptions_ = 0;  // the offer is answered; the discard is still due
        return true;
      case op::kWin:
        if (!(turnOptions_ & opt::kWin)) return false;
        outcome_ = {seat, -1, true, row.lastDrawAfterGang, LastDrawn(seat)};
        Emit(EvWin{seat, outcome_.winningTile, true});
        EndHand();
        return true;
      case op::kConcealedGang: {
        if (!(turnOptions_ & opt::kConcealedGang)) return false;
        const auto candidates = ConcealedGangTiles(row.concealed, wild_);
        if (std::find(candidates.begin(), candidates.end(), tile) == candidates.end()) return false;
        for (int i = 0; i < 4; ++i) RemoveOne(seat, tile);
        row.gangs.push_back({tile, op::kConcealedGang});
        Emit(EvGang{seat, op::kConcealedGang, tile});
        AfterGang(seat);
        return true;
      }
      case op::kAddedGang:
        return (turnOptions_ & opt::kAddedGang) && AddedGang(seat, tile);
      default:
        return false;
    }
  }
  // On another seat's discard.
  const int offered = claimOptions_[seat];
  const bool legal = operation == op::kPass || (operation == op::kWin && (offered & opt::kWin)) ||
                     (operation == op::kExposedGang && (offered & opt::kExposedGang)) ||
                     (operation == op::kPung && (offered & opt::kPung)) ||
                     (operation == op::kChow && (offered & opt::kChow));
  if (!legal) return false;
  claimReplies_[seat] = operation;
  for (int s = 0; s < 4; ++s)
    if (Awaiting(s)) return true;
  ResolveClaims();
  return true;
}

bool Hand::Discard(int seat, Tile tile) {
  if (!OwnTurn(seat)) return false;
  auto& row = rows_[seat];
  if (std::find(row.concealed.begin(), row.concealed.end(), tile) == row.concealed.end()) return false;
  RemoveOne(seat, tile);
  row.discardsInRow += 1;
  row.lastDrawAfterGang = false;
  Emit(EvDiscard{seat, tile});

  claimTile_ = tile;
  discarder_ = seat;
  claimOptions_ = {};
  claimReplies_ = {};
  bool anyOffer = false;
  for (int i = 1; i < 4; ++i) {
    const int s = (seat + i) % 4;
    const auto& r = rows_[s];
    std::vector<Tile> with = r.concealed;
    with.push_back(tile);
    int options = 0;
    if (IsWinningHand(with, SetsLaid(s), wild_)) options |= opt::kWin;
    if (wall_.Remaining() > 0 && CanExposedGang(r.concealed, tile, wild_)) options |= opt::kExposedGang;
    options |= MeldOptions(s, tile);
    if (options == 0) continue;
    claimOptions_[s] = options | opt::kPass;
    anyOffer = true;
  }
  if (!anyOffer) {
    NextDraw((seat + 1) % 4);
    return true;
  }
  phase_ = Phase::kClaims;
  for (int i = 1; i < 4; ++i) {
    const int s = (seat + i) % 4;
    if (claimOptions_[s] != 0) Emit(EvOffer{s, claimOptions_[s], false});
  }
  return true;
}

void Hand::ResolveClaims() {
  // A win goes first, to the nearest seat after the discarder; then a gang.
  for (int i = 1; i < 4; ++i) {
    const int s = (discarder_ + i) % 4;
    if (claimReplies_[s] != op::kWin) continue;
    rows_[discarder_].discardsInRow -= 1;
    outcome_ = {s, discarder_, false, false, claimTile_};
    Emit(EvWin{s, claimTile_, false});
    EndHand();
    return;
  }
  for (int i = 1; i < 4; ++i) {
    const int s = (discarder_ + i) % 4;
    if (claimReplies_[s] != op::kExposedGang) continue;
    auto& row = rows_[s];
    for (int k = 0; k < 3; ++k) RemoveOne(s, claimTile_);
    row.gangs.push_back({claimTile_, op::kExposedGang});
    rows_[discarder_].discardsInRow -= 1;
    Emit(EvGang{s, op::kExposedGang, claimTile_});
    AfterGang(s);
    return;
  }
  if (ResolveMelds()) return;
  NextDraw((discarder_ + 1) % 4);
}

void Hand::AfterGang(int seat) {
  // The replacement from the back of the wall, then the seat's turn.
  if (!DrawFor(seat, true)) {
    EndHand();
    return;
  }
  rows_[seat].lastDrawAfterGang = true;
  if (SetAsideRedDragons(seat)) BeginTurn(seat);
}

void Hand::NextDraw(int seat) {
  if (wall_.Remaining() == 0 || !DrawFor(seat, false)) {
    EndHand();
    return;
  }
  if (SetAsideRedDragons(seat)) BeginTurn(seat);
}

void Hand::EndHand() {
  phase_ = Phase::kOver;
  Emit(EvHandEnd{});
}

std::vector<HandEvent> Hand::TakeEvents() {
  std::vector<HandEvent> out;
  out.swap(events_);
  return out;
}

}  // namespace tavrel::server
