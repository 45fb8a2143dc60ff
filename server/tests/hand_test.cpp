// Hands on a stacked wall: gangs, set-aside 中, claim priority and the end of the wall.
#include <gtest/gtest.h>

#include <algorithm>

#include "hand.h"
#include "hand_rules.h"
#include "scoring.h"

namespace tavrel::server {
namespace {

// Builds a shuffled set whose wall hands out the given tiles: the seats' first twelve
// (in the deal order of anchor seat 0), then the front draws, with the back tiles at
// the positions replacements come from. The rest of the set fills the gaps.
class StackedWall {
 public:
  StackedWall(int dealer, std::array<int, 4> dice) : dealer_(dealer), dice_(dice) {}

  std::array<std::vector<Tile>, 4> dealt;  // twelve per seat
  std::vector<Tile> front;                 // after the deal: 13th tiles, the dealer's 14th, later draws
  std::vector<Tile> back;                  // replacement tiles, in the order they are taken
  Tile indicator = 0x17;  // the wild tile is then 東, which no hand below holds

  HandSetup Setup() const {
    const int brk = WallBreak((4 - dealer_) & 3, dice_);
    std::array<int, kWallSize> wallTile{};
    wallTile.fill(-1);
    std::vector<int> pool(kKinds, 4);
    auto use = [&](Tile t) {
      if (--pool[KindOf(t)] < 0) ADD_FAILURE() << "stacked wall uses a fifth " << TileName(t);
      return static_cast<int>(t);
    };
    for (int g = 0; g < 3; ++g)
      for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 4; ++i) wallTile[(brk + 16 * g + 4 * k + i) % kWallSize] = use(dealt[k][4 * g + i]);
    for (std::size_t i = 0; i < front.size(); ++i) wallTile[(brk + 48 + i) % kWallSize] = use(front[i]);
    int b = (brk + 82) % kWallSize;
    for (Tile t : back) {
      wallTile[b] = use(t);
      b = BackStep(b);
    }
    use(indicator);
    // Fillers: plain tiles first, 中 last so that it stays out of the wall.
    std::vector<Tile> rest;
    for (int k = 0; k < kKinds; ++k)
      if (TileOfKind(k) != kRedDragon)
        for (int n = 0; n < pool[k]; ++n) rest.push_back(TileOfKind(k));
    for (int n = 0; n < pool[KindOf(kRedDragon)]; ++n) rest.push_back(kRedDragon);
    std::size_t r = 0;
    HandSetup s;
    s.dealer = dealer_;
    s.dice = dice_;
    for (int p = 0; p < kWallSize; ++p) s.shuffled.push_back(wallTile[p] >= 0 ? static_cast<Tile>(wallTile[p]) : rest[r++]);
    s.shuffled.push_back(indicator);
    while (r < rest.size()) s.shuffled.push_back(rest[r++]);
    return s;
  }

 private:
  int dealer_;
  std::array<int, 4> dice_;
};

std::vector<Tile> T(std::initializer_list<int> codes) {
  std::vector<Tile> v;
  for (int c : codes) v.push_back(static_cast<Tile>(c));
  return v;
}

template <class E>
std::vector<E> Of(const std::vector<HandEvent>& events) {
  std::vector<E> out;
  for (const auto& e : events)
    if (auto* x = std::get_if<E>(&e)) out.push_back(*x);
  return out;
}

TEST(HandFlow, ConcealedGangTakesItsReplacementFromTheBack) {
  StackedWall w(0, {1, 2, 3, 4});
  w.dealt[0] = T({0x25, 0x25, 0x25, 0x25, 0x41, 0x44, 0x47, 0x82, 0x85, 0x88, 0x12, 0x13});
  w.dealt[1] = T({0x21, 0x24, 0x27, 0x42, 0x45, 0x48, 0x83, 0x86, 0x89, 0x16, 0x16, 0x17});
  w.dealt[2] = T({0x22, 0x23, 0x28, 0x43, 0x46, 0x49, 0x81, 0x84, 0x87, 0x12, 0x13, 0x17});
  w.dealt[3] = T({0x26, 0x29, 0x41, 0x44, 0x47, 0x82, 0x85, 0x88, 0x12, 0x13, 0x16, 0x17});
  w.front = T({0x14, 0x14, 0x14, 0x14, 0x16});
  w.back = T({0x29});
  Hand hand(w.Setup());
  hand.Start();
  auto events = hand.TakeEvents();
  ASSERT_TRUE(hand.OwnTurn(0));
  EXPECT_EQ(hand.Options(0), opt::kConcealedGang | opt::kPass);
  EXPECT_FALSE(hand.Reply(0, op::kConcealedGang, 0x41));  // not four of those
  ASSERT_TRUE(hand.Reply(0, op::kConcealedGang, 0x25));
  events = hand.TakeEvents();
  const auto gangs = Of<EvGang>(events);
  ASSERT_EQ(gangs.size(), 1u);
  EXPECT_EQ(gangs[0].type, op::kConcealedGang);
  const auto draws = Of<EvDraw>(events);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_TRUE(draws[0].fromBack);
  EXPECT_EQ(draws[0].tile, 0x29);
  EXPECT_EQ(draws[0].position, (hand.wall().BreakPosition() + 82) % kWallSize);
  EXPECT_EQ(hand.Row(0).concealed.size(), 11u);
  EXPECT_TRUE(hand.OwnTurn(0));
  EXPECT_EQ(hand.LastDrawn(0), 0x29);
}

TEST(HandFlow, RedDragonsAreSetAsideAndReplacedFromTheBack) {
  StackedWall w(1, {6, 5, 4, 3});
  w.dealt[0] = T({0x22, 0x25, 0x28, 0x43, 0x46, 0x49, 0x81, 0x84, 0x87, 0x12, 0x13, 0x16});
  w.dealt[1] = T({0x15, 0x21, 0x24, 0x27, 0x42, 0x45, 0x48, 0x83, 0x86, 0x89, 0x12, 0x13});
  w.dealt[2] = T({0x23, 0x26, 0x29, 0x41, 0x44, 0x47, 0x82, 0x85, 0x88, 0x12, 0x16, 0x17});
  w.dealt[3] = T({0x21, 0x24, 0x27, 0x42, 0x45, 0x48, 0x83, 0x86, 0x89, 0x13, 0x16, 0x17});
  w.front = T({0x14, 0x14, 0x14, 0x14, 0x17});
  w.back = T({0x15, 0x29});  // the first replacement is a 中 again
  Hand hand(w.Setup());
  hand.Start();
  const auto events = hand.TakeEvents();
  const auto asides = Of<EvSetAside>(events);
  ASSERT_EQ(asides.size(), 2u);
  EXPECT_EQ(asides[0].seat, 1);
  const auto draws = Of<EvDraw>(events);
  const auto backDraws = std::count_if(draws.begin(), draws.end(), [](const EvDraw& d) { return d.fromBack; });
  EXPECT_EQ(backDraws, 2);
  EXPECT_EQ(hand.Row(1).setAside.size(), 2u);
  EXPECT_EQ(std::count(hand.Row(1).concealed.begin(), hand.Row(1).concealed.end(), kRedDragon), 0);
  EXPECT_EQ(hand.Row(1).concealed.size(), 14u);
  // The wild tile is named after the 13th and 14th tiles; the set-aside follows it.
  const auto isWild = [](const HandEvent& e) { return std::holds_alternative<EvWild>(e); };
  const auto isAside = [](const HandEvent& e) { return std::holds_alternative<EvSetAside>(e); };
  const auto wildAt = std::find_if(events.begin(), events.end(), isWild);
  EXPECT_LT(wildAt, std::find_if(events.begin(), events.end(), isAside));
  EXPECT_EQ(Of<EvDraw>(std::vector<HandEvent>(events.begin(), wildAt)).size(), 5u);
}

// Seat 0 deals and throws 9筒; seat 1 holds three of them, seat 2 may wait on it.
StackedWall NineDotsOnTheTable(Tile seat2Thirteenth) {
  StackedWall w(0, {2, 2, 2, 2});
  w.dealt[0] = T({0x21, 0x24, 0x27, 0x42, 0x45, 0x48, 0x83, 0x86, 0x12, 0x13, 0x16, 0x17});
  w.dealt[1] = T({0x89, 0x89, 0x89, 0x22, 0x25, 0x28, 0x43, 0x46, 0x49, 0x12, 0x13, 0x16});
  w.dealt[2] = T({0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x16, 0x16, 0x87});
  w.dealt[3] = T({0x23, 0x26, 0x29, 0x81, 0x82, 0x84, 0x85, 0x12, 0x13, 0x17, 0x21, 0x28});
  w.front = T({0x14, 0x14, seat2Thirteenth, 0x14, 0x89});
  w.back = T({0x26});
  return w;
}

TEST(HandFlow, AWinOnADiscardGoesBeforeAGang) {
  Hand hand(NineDotsOnTheTable(0x88).Setup());
  hand.Start();
  hand.TakeEvents();
  ASSERT_TRUE(hand.OwnTurn(0));
  ASSERT_TRUE(hand.Discard(0, 0x89));
  EXPECT_EQ(hand.Options(1), opt::kExposedGang | opt::kPass);
  EXPECT_EQ(hand.Options(2), opt::kWin | opt::kPass);
  EXPECT_EQ(hand.Options(3), 0);
  EXPECT_FALSE(hand.Reply(1, op::kWin, 0));  // not offered
  EXPECT_FALSE(hand.Reply(3, op::kPass, 0));  // nothing to answer
  ASSERT_TRUE(hand.Reply(1, op::kExposedGang, 0x89));
  EXPECT_FALSE(hand.Over());  // seat 2 has not answered
  ASSERT_TRUE(hand.Reply(2, op::kWin, 0));
  ASSERT_TRUE(hand.Over());
  EXPECT_EQ(hand.Outcome().winner, 2);
  EXPECT_EQ(hand.Outcome().feeder, 0);
  EXPECT_TRUE(Of<EvGang>(hand.TakeEvents()).empty());

  const HandScore score = ScoreHand(hand, 1, {1000, 1000, 1000, 1000}, 10);
  EXPECT_EQ(score.seats[2].amount, -score.seats[0].amount);
  EXPECT_EQ(score.seats[1].amount, 0);
  EXPECT_EQ(score.seats[3].amount, 0);
  EXPECT_TRUE(score.seats[0].fedWin);
}

TEST(HandFlow, ExposedGangOnADiscardThenTheGangersTurn) {
  Hand hand(NineDotsOnTheTable(0x81).Setup());
  hand.Start();
  hand.TakeEvents();
  ASSERT_TRUE(hand.Discard(0, 0x89));
  EXPECT_EQ(hand.Options(2), 0);
  ASSERT_TRUE(hand.Reply(1, op::kExposedGang, 0x89));
  const auto events = hand.TakeEvents();
  ASSERT_EQ(Of<EvGang>(events).size(), 1u);
  EXPECT_EQ(Of<EvGang>(events)[0].type, op::kExposedGang);
  ASSERT_FALSE(Of<EvDraw>(events).empty());
  EXPECT_TRUE(Of<EvDraw>(events)[0].fromBack);
  EXPECT_TRUE(hand.OwnTurn(1));
  EXPECT_EQ(hand.Row(1).gangs.size(), 1u);
  EXPECT_EQ(hand.Row(0).discardsInRow, 0);  // the gang took it from the row
}

TEST(Scoring, SelfDrawnWinIsPaidByAllAndCappedByGold) {
  StackedWall w(0, {1, 1, 1, 1});
  // The dealer's fourteen tiles are complete: 1-9万, 123条, 北北.
  w.dealt[0] = T({0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x21, 0x22, 0x23});
  w.dealt[1] = T({0x24, 0x27, 0x82, 0x85, 0x88, 0x12, 0x13, 0x16, 0x17, 0x29, 0x83, 0x86});
  w.dealt[2] = T({0x25, 0x28, 0x81, 0x84, 0x87, 0x12, 0x13, 0x16, 0x17, 0x26, 0x89, 0x29});
  w.dealt[3] = T({0x24, 0x27, 0x81, 0x84, 0x87, 0x12, 0x13, 0x16, 0x26, 0x28, 0x82, 0x85});
  w.front = T({0x14, 0x16, 0x83, 0x86, 0x14});
  Hand hand(w.Setup());
  hand.Start();
  ASSERT_EQ(hand.Options(0) & opt::kWin, opt::kWin);
  ASSERT_TRUE(hand.Reply(0, op::kWin, 0));
  const HandScore score = ScoreHand(hand, 2, {1000, 1000, 50, 1000}, 10);
  // 胡牌 15 + 缺1门 2 = 17, and the dealer's 4 per consecutive deal on a self-drawn win.
  EXPECT_EQ(score.winnerPoints, 17);
  EXPECT_EQ(score.seats[1].amount, -(17 + 8) * 10);
  EXPECT_EQ(score.seats[2].amount, -50);  // all it had
  EXPECT_EQ(score.seats[0].amount, 250 + 50 + 250);
  EXPECT_EQ(score.seats[0].dealerCount, 2);
  EXPECT_TRUE(score.seats[0].selfDrawn);
}

}  // namespace
}  // namespace tavrel::server
