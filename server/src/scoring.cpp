#include "scoring.h"

#include <algorithm>

#include "hand_rules.h"

namespace tavrel::server {

namespace {

int MissingSuits(const SeatRow& row, Tile extra, Tile wild) {
  bool present[3] = {false, false, false};
  auto note = [&](Tile t) {
    if (t == wild) return;
    if (SuitBits(t) == 0x2) present[0] = true;
    if (SuitBits(t) == 0x4) present[1] = true;
    if (SuitBits(t) == 0x8) present[2] = true;
  };
  for (Tile t : row.concealed) note(t);
  for (const Gang& g : row.gangs) note(g.tile);
  for (const Meld& m : row.melds)
    for (Tile t : m.tiles) note(t);
  if (extra != kNoTile) note(extra);
  return 3 - (present[0] + present[1] + present[2]);
}

bool PureSuit(const SeatRow& row, Tile extra, Tile wild) {
  int suit = 0;
  bool pure = true;
  auto note = [&](Tile t) {
    if (t == wild) return;
    if (IsHonour(t)) pure = false;
    else if (suit == 0) suit = SuitBits(t);
    else if (suit != SuitBits(t)) pure = false;
  };
  for (Tile t : row.concealed) note(t);
  for (const Gang& g : row.gangs) note(g.tile);
  for (const Meld& m : row.melds)
    for (Tile t : m.tiles) note(t);
  if (extra != kNoTile) note(extra);
  return pure && suit != 0;
}

}  // namespace

HandScore ScoreHand(const Hand& hand, int dealerCount, const std::array<std::int64_t, 4>& gold,
                    int coinsPerPoint) {
  HandScore score;
  const HandOutcome& out = hand.Outcome();
  const int dealer = hand.Dealer();
  score.seats[dealer].dealerCount = std::max(1, dealerCount);
  if (out.winner < 0) return score;

  const int w = out.winner;
  const SeatRow& row = hand.Row(w);
  const Tile wild = hand.WildTile();
  // A discard won on is not in the row yet; it completes the hand.
  const Tile extra = out.selfDrawn ? kNoTile : out.winningTile;
  std::vector<Tile> full = row.concealed;
  if (extra != kNoTile) full.push_back(extra);

  SeatScore& ws = score.seats[w];
  ws.winner = true;
  ws.selfDrawn = out.selfDrawn;
  ws.gangKai = out.gangKai;
  const int pairsKind = SevenPairsKind(full, static_cast<int>(row.gangs.size()), wild);
  const bool pure = PureSuit(row, extra, wild);
  ws.handShape = pairsKind | (pure ? 0x10 : 0);
  ws.concealedGangs =
      static_cast<int>(std::count_if(row.gangs.begin(), row.gangs.end(),
                                     [](const Gang& g) { return g.type == op::kConcealedGang; }));
  ws.missingSuits = MissingSuits(row, extra, wild);

  int points = kWinPoints;
  points += pairsKind == 1 ? kSevenPairsPoints : pairsKind == 3 ? kLuxurySevenPairsPoints
            : pairsKind == 5 ? kSuperSevenPairsPoints : 0;
  if (pure) points += kPureSuitPoints;
  points += kConcealedGangPoints * ws.concealedGangs + kMissingSuitPoints * ws.missingSuits;
  score.winnerPoints = points;
  score.multiplier = out.gangKai ? 2 : 1;

  const int d = score.seats[dealer].dealerCount;
  const int dealerBonus = out.selfDrawn ? 4 * d : 2 * d;
  std::int64_t received = 0;
  for (int s = 0; s < 4; ++s) {
    if (s == w || (!out.selfDrawn && s != out.feeder)) continue;
    const int owed = points + ((s == dealer || w == dealer) ? dealerBonus : 0);
    std::int64_t pay = std::int64_t{owed} * coinsPerPoint * score.multiplier;
    pay = std::min(pay, std::max<std::int64_t>(gold[s], 0));
    score.seats[s].amount = -pay;
    received += pay;
  }
  if (out.feeder >= 0) score.seats[out.feeder].fedWin = true;
  ws.amount = received;
  return score;
}

std::string LevelTitle(std::int64_t points) {
  if (points < 200) return "新手";
  if (points < 1000) return "入门";
  if (points < 5000) return "熟手";
  if (points < 20000) return "高手";
  return "大师";
}

}  // namespace tavrel::server
