// The players' details: decoding, seating, what the table shows of each player,
// the rule lines and the wealth display, the round of four with the seat draw and
// the voices, the player card and the spectator's collection.
#include <gtest/gtest.h>

#include "players_fixture.h"
#include "scoring/seat_draw.h"
#include "scoring/user_info.h"
#include "sound/sound.h"
#include "view/player_card.h"

namespace tavrel::testing {
namespace {

using scoring::AvatarIndex;

struct PlayerDetails : PlayersFixture {};

TEST(AvatarIndexOfFace, CodesAndTheirAvatars) {
  const struct {
    const char* face;
    int avatar;
  } cases[] = {
      {"m1", 0},  {"m10", 9}, {"w3", 12}, {"w11", 10}, {"w10", 19}, {"m11", 0},  {"", 0},
      {"w", 10},  {"m0", 0},  {"x99", 0}, {"ww1", 10}, {"w0", 10},  {"m123", 0}, {"m05", 4},
      {"m-1", 0}, {"m", 0},   {"W3", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(AvatarIndex(c.face), c.avatar) << '"' << c.face << '"';
}

TEST(TableWealthOfRates, TheSmallestRateAboveZero) {
  const struct {
    std::array<std::uint32_t, 4> rates;
    std::uint32_t wealth;
  } cases[] = {
      {{0, 20, 10, 0}, 10}, {{5, 20, 10, 0}, 5}, {{0, 0, 0, 0}, 0}, {{0, 0, 0, 7}, 7}, {{4294967295u, 3, 0, 0}, 3},
  };
  for (const auto& c : cases) EXPECT_EQ(scoring::TableWealth(c.rates), c.wealth);
}

TEST_F(PlayerDetails, EveryFieldIsDecodedAndThePlayerShown) {
  Person who;
  who.name = "张三丰";
  who.tag = "VI";
  who.face = "w10";
  who.gender = 0;
  who.region = "杭州";
  who.points = 123456;
  who.credit = 77;
  who.level = "高手";
  who.logins = 31, who.drops = 2, who.wins = 17, who.losses = 9;
  who.account = "zsf88";
  who.userId = 9000000001ull;
  Packet p = UserInfo(Mask(2), who);
  // 1000 coins: 0xE8 0x03 and six zeros.
  const std::uint8_t coins[8] = {0xE8, 0x03, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 8; ++i) wire::PutU8(p, off::kUserCoins + i, coins[i]);
  wire::PutU64LE(p, off::kUserReserved40, 40);
  wire::PutU64LE(p, off::kUserReserved60, 60);
  wire::PutU64LE(p, off::kUserReserved68, 68);
  wire::PutSingleByteText(p, off::kUserVoiceGroup, "g1", 8);
  wire::PutSingleByteText(p, off::kUserVoiceStyle, "s2", 8);
  Receive(p);

  const scoring::Detail& d = detail(2);
  EXPECT_EQ(d.username, "张三丰");
  EXPECT_EQ(d.Face, "w10");
  EXPECT_EQ(d.Gender, 0);
  EXPECT_EQ(d.Region, "杭州");
  EXPECT_EQ(d.Points, 123456);
  EXPECT_EQ(d.Credit, 77);
  EXPECT_EQ(d.Coins, 1000);
  EXPECT_EQ(d.Reserved40, 40);
  EXPECT_EQ(d.Reserved60, 60);
  EXPECT_EQ(d.Reserved68, 68);
  // Region's last four bytes and Points' first four make Reserved52.
  EXPECT_EQ(d.Reserved52, static_cast<double>(wire::U64LE(p, off::kUserReserved52)));
  EXPECT_EQ(d.LevelTitle, "高手");
  EXPECT_EQ(d.LoginCount, 31);
  EXPECT_EQ(d.DropCount, 2);
  EXPECT_EQ(d.Wins, 17);
  EXPECT_EQ(d.Losses, 9);
  EXPECT_EQ(d.Account, "zsf88");
  EXPECT_EQ(d.Tag, "VI");
  EXPECT_EQ(d.VoiceGroup, "g1");
  EXPECT_EQ(d.VoiceStyle, "s2");
  EXPECT_EQ(d.UserId, 9000000001.0);

  EXPECT_EQ(seat(2).name, "zsf88") << "the table name is the account";
  EXPECT_EQ(Caption(ctl::Nid, 2), "[VI] 张三丰");
  EXPECT_EQ(Caption(ctl::Cash, 2), "1000金币");
  EXPECT_EQ(Caption(ctl::Level, 2), "高手");
  EXPECT_EQ(Find(ctl::Tou, 2)->Picture(), 410) << "w10 is avatar 19, picture 410";
  EXPECT_EQ(c->players.SheetFace[2].name, "张三丰");
  EXPECT_EQ(c->players.SheetFace[2].avatar, 19);
  EXPECT_EQ(c->ui.form(frm::Score).Get(ctl::Score::Tou, 2).tag, "19");
  EXPECT_EQ(c->ui.form(frm::Hero).Get(ctl::Hero::ID, 2).Caption(), "张三丰");
  EXPECT_EQ(c->ui.form(frm::Hero).Get(ctl::Hero::Tou, 2).Picture(), 410);
  EXPECT_FALSE(Shown(ctl::OK, 2)) << "not ready";
}

TEST_F(PlayerDetails, SeatFieldsChooseThePosition) {
  // Own seat index 2: masks 1, 2, 8 sit at the top, the left and the right.
  const struct {
    int seat;
    int position;
  } cases[] = {{1, 2}, {2, 1}, {8, 3}, {15, 0}};
  for (const auto& k : cases) {
    Person who;
    who.name = "at" + std::to_string(k.seat);
    who.account = "a" + std::to_string(k.seat);
    Receive(UserInfo(k.seat, who));
    EXPECT_EQ(detail(k.position).username, who.name) << k.seat;
    EXPECT_EQ(seat(k.position).name, who.account) << k.seat;
  }
}

TEST_F(PlayerDetails, TheOwnRecordFillsPositionZeroAndTheOwnMaskOnlyRefreshesTheRate) {
  c->view.HandStarted[2] = true;
  Person me;
  me.name = "我";
  me.account = "me";
  Receive(UserInfo(15, me));
  EXPECT_EQ(Caption(ctl::Nid, 0), "[玩家] 我");
  EXPECT_FALSE(c->view.HandStarted[2]) << "the start button's pressed mark is cleared";

  Person other = me;
  other.name = "别人";
  other.account = "other";
  other.wealthRate = 8;
  Receive(UserInfo(Mask(0), other));
  EXPECT_EQ(detail(0).username, "我");
  EXPECT_EQ(seat(0).name, "me");
  EXPECT_EQ(c->players.WealthRates[0], 8u);
  EXPECT_EQ(Caption(ctl::lbwealth), "8");
  EXPECT_TRUE(Shown(ctl::lbwealth));
  EXPECT_TRUE(Shown(ctl::Imgwealth));
}

TEST_F(PlayerDetails, SeatlessPlayersTakeTheFreeNameLabels) {
  table().custom[0].seat = 0;
  for (int p = 0; p < 4; ++p) c->main().Get(ctl::Nid, p).SetCaption("");
  c->main().SetState(platform::WindowState::Minimized);
  for (int i = 0; i < 3; ++i) {
    Person who;
    who.name = "无座" + std::to_string(i);
    Receive(UserInfo(0, who));
    EXPECT_EQ(detail(i + 1).username, who.name) << i;
  }
  EXPECT_EQ(c->players.SeatlessCount, 3);
  EXPECT_EQ(c->main().State(), platform::WindowState::Normal) << "the table window comes back";
  ASSERT_FALSE(platform.simLobby().sysCommands.empty());
  EXPECT_EQ(platform.simLobby().sysCommands.back().message, session::kScMinimize);
  EXPECT_TRUE(c->handEnd.Continued);
  EXPECT_EQ(Lines(0), std::vector<std::string>{"游戏将在15秒内开始"});

  // No free label left: the fourth goes where the third went.
  Person late;
  late.name = "迟到";
  Receive(UserInfo(0, late));
  EXPECT_EQ(detail(3).username, "迟到");
  EXPECT_EQ(c->players.SeatlessCount, 3);
}

TEST_F(PlayerDetails, RuleLinesAndTheWealthDisplay) {
  Person who;
  who.capRule = true;
  who.wealthRate = 20;
  Receive(UserInfo(Mask(1), who));
  EXPECT_TRUE(Shown(ctl::lbfont, 0));
  EXPECT_EQ(Caption(ctl::lbfont, 0), "个人金币数封顶");
  EXPECT_TRUE(Shown(ctl::lbfont, 1));
  EXPECT_EQ(Caption(ctl::lbfont, 1), "最少金币定倍数");
  EXPECT_FALSE(Shown(ctl::lbfont, 2));
  EXPECT_EQ(Caption(ctl::lbwealth), "20");

  who.capRule = false;
  who.diceRule = true;
  who.wealthRate = 10;
  Receive(UserInfo(Mask(2), who));
  EXPECT_TRUE(Shown(ctl::lbfont, 2));
  EXPECT_EQ(Caption(ctl::lbfont, 2), "骰子点数加倍");
  EXPECT_EQ(Caption(ctl::lbwealth), "10") << "the smallest rate above 0";
  EXPECT_TRUE(c->view.wealthDoubling());

  who.wealthRate = 0;
  Receive(UserInfo(Mask(3), who));
  EXPECT_FALSE(Shown(ctl::lbwealth)) << "the rate just received is 0";
  EXPECT_FALSE(Shown(ctl::Imgwealth));
  EXPECT_FALSE(c->view.wealthDoubling());
}

TEST_F(PlayerDetails, AFullTableDrawsTheSeatsShowsTheCompassAndGivesVoices) {
  Connect();
  c->view.HandStarted[5] = c->view.HandStarted[6] = true;
  FormTable();
  EXPECT_FALSE(c->players.InfoRound);
  EXPECT_TRUE(c->players.SeatNamesReceived);
  // The seat draw showed the own wind (seat index 2: 南) on one of its four tiles.
  const int wind = c->view.TilePictures[scoring::SeatWindPicture(own)];
  EXPECT_EQ(wind, 201 + 145);
  int windTiles = 0;
  for (int i = 0; i < 4; ++i) {
    ASSERT_NE(Find(ctl::SeatDraw, i), nullptr);
    EXPECT_FALSE(Find(ctl::SeatDraw, i)->Visible()) << "hidden again";
    windTiles += Find(ctl::SeatDraw, i)->Picture() == wind;
  }
  EXPECT_EQ(windTiles, 1);
  EXPECT_GE(Played(sound::kDraw), 1);
  EXPECT_TRUE(Shown(ctl::ZhiNan));
  EXPECT_FALSE(c->view.HandStarted[5]);
  EXPECT_FALSE(c->view.HandStarted[6]);
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(detail(p).VoiceGroup, "27") << p;
    EXPECT_EQ(detail(p).VoiceKind, 3) << p;
  }
  // The three others are ready: the table is reset for the first hand.
  EXPECT_TRUE(c->handEnd.Continued);
  EXPECT_FALSE(c->view.HandStarted[2]);
  for (int p = 1; p <= 3; ++p) EXPECT_TRUE(Shown(ctl::OK, p)) << p;
}

TEST_F(PlayerDetails, TwoMenDrawingTheSameVoiceGetDifferentOnes) {
  for (int p = 0; p < 4; ++p) detail(p).Gender = 1;
  // Find a time of day whose first two draws collide.
  int first = -1;
  for (int ms = 0; ms < 20000 && first < 0; ms += 7) {
    platform.simClock().now = ms;
    c->Randomize();
    const int a = c->RandomBelow(sound::kMaleVoices), b = c->RandomBelow(sound::kMaleVoices);
    if (a == b) first = a;
  }
  ASSERT_GE(first, 0);
  sound::AssignVoices(*c);
  const auto& numbers = c->sound.AssignedVoiceNumber;
  EXPECT_EQ(numbers[0], first);
  EXPECT_EQ(numbers[1], first == 0 ? 1 : 0) << "the second takes the lowest free number";
  std::set<int> distinct(numbers.begin(), numbers.end());
  EXPECT_EQ(distinct.size(), 4u);
  EXPECT_EQ(detail(1).VoiceStyle, sound::VoiceCodeOf(true, numbers[1]));
}

TEST_F(PlayerDetails, ThePlayerCardShowsNineFactsBesideTheAvatar) {
  Person who;
  who.name = "李四";
  who.gender = 0;
  who.region = "上海";
  who.points = 880, who.credit = 95;
  who.logins = 12, who.drops = 1, who.wins = 7, who.losses = 5;
  Receive(UserInfo(Mask(2), who));
  platform::Form& card = c->ui.form(frm::Information);
  EXPECT_FALSE(card.Visible());

  platform::UiEvent hover;
  hover.type = platform::UiEventType::MouseMove;
  hover.control = ctl::Tou.name;
  hover.index = 2;
  c->main().Dispatch(hover);
  ASSERT_TRUE(card.Visible());
  const char* values[] = {"李四", "女", "上海", "880", "95", "12", "1", "7", "5"};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(card.Get(ctl::Information::Inf, i).Caption(), values[i]) << i;
    EXPECT_EQ(card.Get(ctl::Information::Title, i).Caption(), view::kCardTitles[i]) << i;
  }
  EXPECT_EQ(view::kCardTitles[1], std::string("性    别"));
  EXPECT_EQ(card.Alpha(), 200);
  // Below the top avatar, on the screen.
  const platform::Control& avatar = *Find(ctl::Tou, 2);
  const double surfaceTop = c->main().Bounds().top + Find(ctl::Pic1)->Top();
  EXPECT_GT(card.Bounds().top, surfaceTop + avatar.Top() + avatar.Height() - 1);

  // Shown once: another avatar under the pointer does not replace it.
  hover.index = 1;
  c->main().Dispatch(hover);
  EXPECT_EQ(card.Get(ctl::Information::Inf, 0).Caption(), "李四");
  // The pointer over the table hides it; an empty seat shows no card.
  platform::UiEvent table;
  table.type = platform::UiEventType::MouseMove;
  table.control = ctl::Pic1.name;
  c->main().Dispatch(table);
  EXPECT_FALSE(card.Visible());
  detail(1).username.clear();
  c->main().Dispatch(hover);
  EXPECT_FALSE(card.Visible());
  // The own card sits above the own avatar.
  detail(0).username = "我";
  view::ShowPlayerCard(*c, 0);
  const platform::Control& mine = *Find(ctl::Tou, 0);
  EXPECT_LT(card.Bounds().top + card.Bounds().height, c->main().Bounds().top + Find(ctl::Pic1)->Top() + mine.Top());
}

struct SpectatorDetails : PlayersFixture {
  SpectatorDetails() {
    c->startup.Spectator = true;
    c->table.SpectatorMode = round::kTrue;
    c->startup.SpectatorUserId = 2002;
    for (auto& s : c->table.custom) s.seat = 0;
  }
  // The watched player at seat mask 4 (user ID 2002), the others around it.
  void SendFour(const std::array<int, 4>& masks, int count = 4) {
    for (int i = 0; i < count; ++i) {
      Person who;
      who.name = "seat" + std::to_string(masks[i]);
      who.account = "s" + std::to_string(masks[i]);
      who.userId = masks[i] == 4 ? 2002 : 3000 + i;
      Receive(UserInfo(masks[i], who));
    }
  }
};

TEST_F(SpectatorDetails, FourDetailsArePlacedAroundTheWatchedPlayer) {
  SendFour({1, 8, 4, 2}, 3);
  for (int p = 0; p < 4; ++p) EXPECT_TRUE(Caption(ctl::Nid, p).empty()) << "nothing is placed before the fourth";
  Person last;
  last.name = "seat2";
  last.account = "s2";
  last.userId = 3003;
  Receive(UserInfo(2, last));
  // Watched mask 4: 8 = 2w -> right (3); 1, with w = 4m -> top (2); 2, w = 2m -> left (1).
  EXPECT_EQ(detail(0).username, "seat4");
  EXPECT_EQ(seat(0).name, "s4");
  EXPECT_EQ(detail(3).username, "seat8");
  EXPECT_EQ(detail(2).username, "seat1");
  EXPECT_EQ(detail(1).username, "seat2");
  const std::uint8_t masks[4] = {4, 2, 1, 8};
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(seat(p).seat, masks[p]) << p;
    EXPECT_EQ(Caption(ctl::Nid, p), "[玩家] " + detail(p).username) << p;
  }
}

TEST_F(SpectatorDetails, TheDealerFromTheTableResetSetsTheWallBreak) {
  table().DealerSeat = 1;  // the player at the top
  table().TableRestoreValues = {1, 5};
  SendFour({1, 2, 4, 8});
  EXPECT_TRUE(seat(2).isDealer);
  // (2 * (17 * ((2 + 13 - 1) mod 4) + 1 + 5)) mod 84 = 80.
  EXPECT_EQ(table().WallFront, 80);
  EXPECT_EQ(table().WallBack, 78);
}

TEST(WatchedWallBreak, TheBreakStaysOnTheRing) {
  EXPECT_EQ(scoring::WatchedWallFront(2, 1, 5), 80);
  EXPECT_EQ(scoring::WatchedWallFront(0, 0, 0), 34);  // 2 * 17 * 1
  // 13 - 16 leaves a negative remainder: -70 is position 14 of the ring.
  EXPECT_EQ(scoring::WatchedWallFront(0, 16, 0), 14);
  for (int p = 0; p < 4; ++p)
    for (int x = 0; x < 256; x += 5)
      for (int y = 0; y < 256; y += 17) {
        const int front = scoring::WatchedWallFront(p, x, y);
        EXPECT_TRUE(front >= 0 && front < 84) << p << " " << x << " " << y;
      }
}

TEST_F(SpectatorDetails, WithoutTheWatchedPlayerNobodyIsPlaced) {
  c->startup.SpectatorUserId = 7777;
  SendFour({1, 2, 4, 8});
  for (int p = 0; p < 4; ++p) EXPECT_EQ(seat(p).seat, 0) << p;
  EXPECT_TRUE(Caption(ctl::Nid, 0).empty());
}

}  // namespace
}  // namespace tavrel::testing
