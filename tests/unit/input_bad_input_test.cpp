// Whatever the offers say and whatever the player does meanwhile: no reply the offer
// did not allow, never more than one reply (and so never two passes) to one offer,
// a discard only when one is due, and every tile in one place on the felt.
#include <gtest/gtest.h>

#include <random>

#include "input_fixture.h"
#include "view/row_layout.h"

namespace tavrel::testing {
namespace {

enum class Act { Gang, Hu, Pass, Chi, ChooserLower, ChooserUpper, RightClick, PressTile, Keys, Wait };
constexpr Act kAllActs[] = {Act::Gang,       Act::Hu,        Act::Pass, Act::Chi,  Act::ChooserLower,
                            Act::ChooserUpper, Act::RightClick, Act::PressTile, Act::Keys, Act::Wait};

struct InputBadInput : InputFixture {
  void Do(Act a) {
    switch (a) {
      case Act::Gang: ClickButton(2); break;
      case Act::Hu: ClickButton(3); break;
      case Act::Pass: ClickButton(4); break;
      case Act::Chi: ClickButton(0); ClickButton(1); break;
      case Act::ChooserLower: ClickGang(0); break;
      case Act::ChooserUpper: ClickGang(1); ClickGang(4); break;
      case Act::RightClick: RightClickTable(); break;
      case Act::PressTile:
        if (seat(0).concealedCount > 0) PressOwn(0);
        break;
      case Act::Keys: Key(view::kKeyLeft); Key(view::kKeyEnter); break;
      case Act::Wait: Ticks(20 * 2); break;
    }
  }
  // The replies of one offer with option byte `options`, and the discards.
  void ExpectAllowed(int options, bool discardDue) {
    Ticks(20 * 12);  // any countdown runs out
    Flush();
    const auto replies = Replies();
    EXPECT_LE(replies.size(), 1u) << "one reply to one offer";
    for (const Packet& p : Sent(cmd::kClaimReply)) {
      const int code = Value(p, 0);
      const bool allowed = code == 1 || ((code == 16 || code == 32 || code == 64 || code == 128) && (options & code) == code);
      EXPECT_TRUE(allowed) << "reply " << code << " to options " << options;
      EXPECT_EQ(p[off::kSeat], Mask(0));
      if (code == 16 || code == 32 || code == 64) {
        const int tile = Value(p, 3);
        EXPECT_EQ(tile & 0xF000, 0x2000);
        EXPECT_TRUE(round::IsTileCode(tile & 0xFF)) << tile;
      }
    }
    const auto discards = Discards();
    EXPECT_LE(discards.size(), discardDue ? 1u : 0u);
    for (int v : discards) {
      EXPECT_EQ(v & 0xF000, 0x4000);
      EXPECT_TRUE(round::IsTileCode(v & 0xFF)) << v;
    }
    if (!discards.empty()) {
      const auto order = Commands();
      EXPECT_EQ(order.back(), cmd::kDiscardTile) << "the reply goes before the discard";
    }
    ExpectSoundTable("after the offer");
  }
};

TEST_F(InputBadInput, EveryOptionByteOnTheOwnTurnAndOnAnotherSeatsTile) {
  std::mt19937 rng(10);
  for (int ownTurn = 0; ownTurn < 2; ++ownTurn)
    for (int options = 0; options < 256; ++options) {
      SCOPED_TRACE("options " + std::to_string(options) + (ownTurn ? " on the own turn" : " on a discard"));
      Rebuild();
      StartHand(ownTurn ? 0 : 1);
      if (!ownTurn) Receive(Discard(Mask(1), OwnCode(2)));
      // Now and then a hand that holds four alike twice and a pung laid open.
      if (options % 3 == 0) {
        SetHand(ownTurn ? std::vector<int>{0x81, 0x81, 0x81, 0x81, 0x83, 0x45, 0x45, 0x45, 0x45, 0x47, 0x22, 0x23, 0x24, 0x11}
                        : std::vector<int>{0x81, 0x81, 0x81, 0x83, 0x45, 0x45, 0x45, 0x47, 0x22, 0x23, 0x24, 0x11, 0x11});
        for (int k = 1; k <= 3; ++k) seat(0).tiles[k] = {3, 0x47, -1};
        seat(0).meldEnd = 6;
        table().LastDiscardCode = 0x45;
      }
      Offer(options, static_cast<int>(rng() % 6));
      std::vector<Act> acts(std::begin(kAllActs), std::end(kAllActs));
      std::shuffle(acts.begin(), acts.end(), rng);
      for (Act a : acts) Do(a);
      ExpectAllowed(options, ownTurn == 1);
      if (HasFailure()) return;
    }
}

TEST_F(InputBadInput, EveryDecisionTime) {
  StartHand(1);
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE(byte);
    Offer(0x11, byte);
    EXPECT_EQ(input().Countdown, byte <= 2 ? 8 : byte);
    EXPECT_TRUE(ctx().sched.TurnClockOn);
    ClickButton(4);
    Ticks(2);
  }
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>(256, 1)) << "one pass for each offer";
  // A few of them left to run out.
  for (int byte : {0, 3, 255}) {
    Offer(0x11, byte);
    Ticks(20 * ((byte <= 2 ? 8 : byte) + 3));
  }
  Flush();
  EXPECT_EQ(Replies().size(), 259u);
}

TEST_F(InputBadInput, OffersToAHandOfNoTilesOrOfMoreThanTheRowHolds) {
  for (int count : {0, 20}) {
    for (int options : {0x00, 0x01, 0x21, 0x71, 0x81, 0xFF}) {
      SCOPED_TRACE(std::to_string(count) + " tiles, options " + std::to_string(options));
      Rebuild();
      StartHand(0);
      if (count == 0) {
        SetHand({});
      } else {
        // Twenty tiles from slot 1 on: the hand's fourteen and six more from the wall.
        auto& own = seat(0);
        std::vector<round::TileSlot> row(own.tiles.begin() + own.firstConcealed,
                                         own.tiles.begin() + own.firstConcealed + own.concealedCount);
        for (int image = 0; image < 84 && row.size() < 20; ++image)
          if (!table().WallTaken[image]) {
            table().WallTaken[image] = true;
            row.push_back({1, static_cast<std::int16_t>(0x81 + row.size() % 9), static_cast<std::int16_t>(image)});
          }
        own.firstConcealed = 1;
        own.meldEnd = 0;
        for (int k = 0; k < 20; ++k) own.tiles[1 + k] = row[k];
        own.concealedCount = 20;
        view::LayOutConcealedRow(ctx(), 0);
      }
      Offer(options, 3);
      if (count == 0) {
        EXPECT_FALSE(ButtonsShown());
        EXPECT_FALSE(ctx().sched.TurnClockOn);
      }
      for (Act a : kAllActs) Do(a);
      ExpectAllowed(options, count % 3 == 2);
      if (count == 0) {
        EXPECT_TRUE(Replies().empty()) << "nothing offered on screen, nothing answered";
      }
    }
  }
}

// The server's next packet arrives just before or just after the player's answer.
TEST_F(InputBadInput, TheServerMovingOnRacesTheAnswer) {
  enum class Move { ClaimResultHu, ClaimResultGang, NextDraw, OtherDiscard, OwnDiscardByServer };
  const Move moves[] = {Move::ClaimResultHu, Move::ClaimResultGang, Move::NextDraw, Move::OtherDiscard,
                        Move::OwnDiscardByServer};
  const Act answers[] = {Act::Hu, Act::Pass, Act::Gang, Act::RightClick, Act::PressTile, Act::Keys, Act::Wait};
  for (Move move : moves)
    for (Act answer : answers)
      for (bool moveFirst : {true, false}) {
        SCOPED_TRACE("move " + std::to_string(static_cast<int>(move)) + ", answer " +
                     std::to_string(static_cast<int>(answer)) + (moveFirst ? ", the move first" : ", the answer first"));
        Rebuild();
        const bool ownTurn = move == Move::OwnDiscardByServer;
        StartHand(ownTurn ? 0 : 1);
        if (!ownTurn) Receive(Discard(Mask(1), 0x19 - 0x8));
        const int options = ownTurn ? 0xA1 : 0x91;
        Offer(options, 3);
        auto serverMoves = [&] {
          switch (move) {
            case Move::ClaimResultHu: Receive(Make(cmd::kClaimResult, Mask(3), {128, 0, 0, 0x11})); break;
            case Move::ClaimResultGang: Receive(Make(cmd::kClaimResult, Mask(2), {16, 0x11, 0x11, 0x11})); break;
            case Move::NextDraw: Receive(Draw(Mask(2))); break;
            case Move::OtherDiscard:
              Receive(Draw(Mask(2)));
              Receive(Discard(Mask(2), 0x21));
              break;
            case Move::OwnDiscardByServer: Receive(Discard(Mask(0), OwnCode(LastOwn()))); break;
          }
        };
        if (moveFirst) serverMoves();
        Do(answer);
        if (!moveFirst) serverMoves();
        ExpectAllowed(options, ownTurn);
        if (ownTurn && moveFirst) {
          EXPECT_TRUE(Discards().empty()) << "the server discarded for the player already";
        }
        if (HasFailure()) return;
      }
}

}  // namespace
}  // namespace tavrel::testing
