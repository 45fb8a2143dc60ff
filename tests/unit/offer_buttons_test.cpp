// The offer buttons and the gang chooser: which buttons an option byte lights, the
// decision time, what a click answers, the candidates and the chooser.
#include <gtest/gtest.h>

#include "input_fixture.h"
#include "view/decision_clock.h"
#include "view/offer_buttons.h"
#include "view/pictures.h"

namespace tavrel::testing {
namespace {

struct OfferButtons : InputFixture {
  std::vector<bool> Live() {
    std::vector<bool> out;
    for (int i = 0; i < 5; ++i) out.push_back(input().OfferButtonState[i] == view::kButtonLive && Button(i).Enabled());
    return out;
  }
  int Picture(int i) { return Button(i).Picture(); }
  // A fourteen-tile own hand (sorted, as the hand is after a draw and the 杠 sort).
  void OwnTurnWith(const std::vector<int>& codes) {
    StartHand(0);
    SetHand(codes);
  }
  int ReplyTile(int code) { return code | 0x2000; }
};

TEST_F(OfferButtons, TheOptionByteLightsItsButtons) {
  const struct {
    int options;
    std::vector<bool> live;  // 吃 碰 杠 胡 过
  } cases[] = {
      {0x00, {false, false, false, false, false}}, {0x08, {false, false, false, false, false}},
      {0x06, {false, false, false, false, false}}, {0x01, {false, false, false, false, true}},
      {0x81, {false, false, false, true, true}},   {0x11, {false, false, true, false, true}},
      {0x20, {false, false, true, false, false}},  {0x40, {false, false, true, false, false}},
      {0xFF, {false, false, true, true, true}},
  };
  StartHand(1);
  for (const auto& k : cases) {
    SCOPED_TRACE(k.options);
    Offer(k.options);
    EXPECT_EQ(Live(), k.live);
    for (int i = 0; i < 5; ++i) {
      EXPECT_TRUE(Button(i).Visible()) << i;
      EXPECT_EQ(Picture(i), ctx().view.OfferPictures[3 * i + (k.live[i] ? 1 : 0)]) << i;
    }
    EXPECT_EQ(input().DecisionState, view::kOfferOpen);
    EXPECT_FALSE(input().ReplySent);
  }
}

TEST_F(OfferButtons, AGreyButtonDoesNothing) {
  StartHand(1);
  Offer(0x08);
  for (int i = 0; i < 5; ++i) ClickButton(i);
  Flush();
  EXPECT_TRUE(Replies().empty());
  EXPECT_TRUE(ButtonsShown()) << "only the time-out or a discard ends it";
  EXPECT_EQ(input().DecisionState, view::kOfferOpen);
}

TEST_F(OfferButtons, HuSendsCode128AndNothingElse) {
  StartHand(0);
  Offer(0x81);
  ClickButton(3);
  Flush();
  EXPECT_EQ(Commands(), std::vector<int>{cmd::kClaimReply});
  EXPECT_EQ(Replies(), std::vector<int>{128});
  const Packet p = Sent(cmd::kClaimReply)[0];
  EXPECT_EQ(p[off::kSeat], Mask(0));
  for (int v = 1; v < 4; ++v) EXPECT_EQ(Value(p, v), 0);
  EXPECT_EQ(table().DiscardAllowed, round::kFalse);
  EXPECT_FALSE(ButtonsShown());
  EXPECT_FALSE(ClockShown());
  // Nothing more comes of it: no click discards, no time-out moves.
  PressOwn(0);
  ClickButton(4);
  Ticks(20 * 20);
  EXPECT_EQ(Replies(), std::vector<int>{128});
  EXPECT_TRUE(Discards().empty());
}

TEST_F(OfferButtons, TheDecisionTimeComesFromByte100) {
  const struct {
    int byte;
    bool bossKey;
    int seconds;
  } cases[] = {{0, false, 8}, {1, false, 8}, {2, false, 8}, {3, false, 3}, {15, false, 15}, {255, false, 255}, {15, true, 1}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.byte);
    Rebuild();
    StartHand(1);
    ctx().view.BossKeyActive = k.bossKey;
    Offer(0x11, k.byte);
    EXPECT_EQ(input().Countdown, k.seconds);
    EXPECT_EQ(Figure(), std::to_string(k.seconds));
    EXPECT_EQ(Find(ctl::Number)->ForeColor(), platform::kGreen);
    EXPECT_TRUE(ClockShown());
    EXPECT_TRUE(ctx().sched.TurnClockOn);
    const auto& wealth = *Find(ctl::Imgwealth);
    EXPECT_EQ(Find(ctl::Time_Img)->Left(), wealth.Left());
    EXPECT_EQ(Find(ctl::Time_Img)->Top(), wealth.Top() + 200);
    EXPECT_EQ(Find(ctl::Number)->Left(), wealth.Left() + 48);
  }
}

TEST_F(OfferButtons, TwoFourOfAKindsShowAChooserOfTwoAndTheUpperSendsItsGroup) {
  OwnTurnWith({0x81, 0x81, 0x81, 0x81, 0x83, 0x45, 0x45, 0x45, 0x45, 0x47, 0x22, 0x23, 0x24, 0x11});
  Offer(0x21);
  ClickButton(2);
  Flush();
  EXPECT_TRUE(Replies().empty()) << "the player chooses first";
  ASSERT_EQ(input().GangChoiceCount, 2);
  const auto& lower = *Find(ctl::Gang, 0);
  const auto& upper = *Find(ctl::Gang, 1);
  EXPECT_TRUE(lower.Visible() && upper.Visible());
  EXPECT_EQ(lower.Left(), Button(3).Left());
  EXPECT_EQ(lower.Top(), Button(0).Top());
  EXPECT_DOUBLE_EQ(lower.Width(), 0.8 * 48);
  EXPECT_DOUBLE_EQ(upper.Top(), Button(0).Top() - 0.8 * (0.8 * 78));
  EXPECT_EQ(upper.Picture(), ctx().view.TilePictures[view::TilePictureIndex(0x45, 4)]);
  for (int i : {0, 1, 3, 4}) EXPECT_FALSE(Button(i).Visible()) << i;
  EXPECT_EQ(input().Countdown, 6) << "the chooser's own time";
  EXPECT_EQ(Figure(), "6");

  ClickGang(1);
  Flush();
  ASSERT_EQ(Replies(), std::vector<int>{32});
  const Packet p = Sent(cmd::kClaimReply)[0];
  for (int v = 1; v < 4; ++v) EXPECT_EQ(Value(p, v), ReplyTile(0x45)) << v;
  EXPECT_FALSE(Find(ctl::Gang, 0)->Visible());
  EXPECT_FALSE(ctx().sched.TurnClockOn);
  EXPECT_EQ(input().GangChoices[0], seat(0).firstConcealed + 5);
  // The chosen tiles wait in the meld's slots with the request's kind.
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(seat(0).tiles[k].kind, 5);
    EXPECT_EQ(seat(0).tiles[k].code, 0x45);
  }
  EXPECT_EQ(seat(0).concealedCount, 14) << "the claim result takes them from the hand";
  ClickGang(0);
  Flush();
  EXPECT_EQ(Replies().size(), 1u);
}

TEST_F(OfferButtons, ExactlyOneCandidateIsSentAtOnce) {
  const struct {
    const char* what;
    int options;
    std::vector<int> hand;
    int lastDiscard;
    int reply;
    std::array<int, 3> tiles;
  } cases[] = {
      {"concealed", 0x21, {0x81, 0x81, 0x81, 0x81, 0x83, 0x45, 0x46, 0x47, 0x22, 0x23, 0x24, 0x11, 0x11, 0x13}, 0, 32,
       {0x2081, 0x2081, 0x2081}},
      {"exposed", 0x11, {0x81, 0x83, 0x45, 0x45, 0x45, 0x47, 0x22, 0x23, 0x24, 0x11, 0x11, 0x13, 0x16}, 0x45, 16,
       {0x2045, 0x2045, 0x2045}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Rebuild();
    StartHand(k.hand.size() == 14 ? 0 : 1);
    SetHand(k.hand);
    table().LastDiscardCode = static_cast<std::int16_t>(k.lastDiscard);
    Offer(k.options);
    ClickButton(2);
    Flush();
    ASSERT_EQ(Replies(), std::vector<int>{k.reply});
    const Packet p = Sent(cmd::kClaimReply)[0];
    for (int v = 0; v < 3; ++v) EXPECT_EQ(Value(p, v + 1), k.tiles[v]);
    EXPECT_FALSE(Find(ctl::Gang, 0) && Find(ctl::Gang, 0)->Visible()) << "no chooser";
    EXPECT_FALSE(Button(2).Visible());
  }
}

TEST_F(OfferButtons, AnAddedGangNamesTheTileThatJoinsThePung) {
  StartHand(0);
  SetHand({0x81, 0x83, 0x45, 0x46, 0x47, 0x22, 0x23, 0x24, 0x11, 0x11, 0x13});
  // A pung of 2条 laid before: slots 1..3, the hand from slot 7.
  auto& own = seat(0);
  for (int k = 1; k <= 3; ++k) own.tiles[k] = {3, 0x22, -1};
  own.meldEnd = 6;
  Offer(0x41);
  ClickButton(2);
  Flush();
  ASSERT_EQ(Replies(), std::vector<int>{64});
  const Packet p = Sent(cmd::kClaimReply)[0];
  EXPECT_EQ(Value(p, 1), 0);
  EXPECT_EQ(Value(p, 2), 0);
  EXPECT_EQ(Value(p, 3), ReplyTile(0x22));
}

TEST_F(OfferButtons, AGangOfferTheHandCannotMeetIsPassedAndTheDiscardStaysDue) {
  StartHand(0);
  Offer(0x21);  // no four alike in the dealt hand
  ClickButton(2);
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>{1});
  EXPECT_EQ(table().DiscardAllowed, round::kTrue);
  EXPECT_TRUE(ctx().sched.TurnClockOn);
  EXPECT_EQ(input().Countdown, 6);
  PressOwn(0);
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>{1});
  EXPECT_EQ(Discards().size(), 1u);
}

TEST_F(OfferButtons, TheChooserRunningOutPassesAndThrowsTheNewestTile) {
  OwnTurnWith({0x81, 0x81, 0x81, 0x81, 0x83, 0x45, 0x45, 0x45, 0x45, 0x47, 0x22, 0x23, 0x24, 0x11});
  Offer(0x21, 15);
  ClickButton(2);
  const int newest = OwnCode(LastOwn());
  Ticks(20 * 6);
  EXPECT_EQ(Figure(), "0");
  Flush();
  EXPECT_TRUE(Replies().empty());
  Ticks(20);
  Flush();
  EXPECT_EQ(Commands(), (std::vector<int>{cmd::kClaimReply, cmd::kDiscardTile}));
  EXPECT_EQ(Replies(), std::vector<int>{1});
  EXPECT_EQ(Discards(), std::vector<int>{newest | 0x4000});
  EXPECT_FALSE(Find(ctl::Gang, 0)->Visible());
  ClickGang(1);
  Flush();
  EXPECT_EQ(Replies().size(), 1u) << "a late click on the chooser sends nothing";
}

TEST_F(OfferButtons, PassOnAnotherSeatsTileStopsTheClock) {
  StartHand(1);
  Offer(0x81);
  ClickButton(4);
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>{1});
  EXPECT_FALSE(ClockShown());
  EXPECT_FALSE(ctx().sched.TurnClockOn);
  EXPECT_FALSE(ButtonsShown());
  ClickButton(4);
  ClickButton(3);
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>{1});
}

TEST_F(OfferButtons, AnOfferOvertakenByTheNextDrawClosesWithoutAReply) {
  StartHand(1);
  Receive(Discard(Mask(1), 0x45));
  Offer(0x81);
  Receive(Draw(Mask(0), 0x46));  // the server has settled the claims meanwhile
  EXPECT_FALSE(ButtonsShown());
  EXPECT_FALSE(ctx().sched.TurnClockOn);
  ClickButton(3);
  RightClickTable();
  Ticks(20 * 12);
  Flush();
  EXPECT_TRUE(Replies().empty());
  EXPECT_TRUE(Discards().empty()) << "the own turn waits for its own offer";
}

}  // namespace
}  // namespace tavrel::testing
