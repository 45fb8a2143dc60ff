// The players' packets under bad input: texts without an end, numbers at their
// maxima, odd face codes, seat fields that name nobody or everybody, an empty
// leaving name. No crash, and the table stays consistent.
#include <gtest/gtest.h>

#include "players_fixture.h"
#include "scoring/departures.h"
#include "session/cp936.h"
#include "view/player_card.h"

namespace tavrel::testing {
namespace {

struct PlayersBadInput : PlayersFixture {
  PlayersBadInput() {
    Seat(0);
    FormTable();
  }
  // Every seated position shows what its details say; a position without a
  // player shows nothing.
  void ExpectConsistentSeats(const char* when) {
    SCOPED_TRACE(when);
    for (int p = 0; p < 4; ++p) {
      const auto& d = detail(p);
      if (d.username.empty()) {
        EXPECT_TRUE(Caption(ctl::Nid, p).empty()) << p;
        EXPECT_TRUE(Caption(ctl::Cash, p).empty()) << p;
        EXPECT_EQ(d.Coins, 0) << p;
      } else {
        EXPECT_EQ(Caption(ctl::Nid, p), "[" + d.Tag + "] " + d.username) << p;
      }
    }
    EXPECT_GE(c->players.SeatlessCount, 0);
    EXPECT_LE(c->players.SeatlessCount, 3);
    const auto& t = c->table;
    EXPECT_TRUE(t.WallFront >= 0 && t.WallFront < 84);
  }
};

TEST_F(PlayersBadInput, UnterminatedTextsAndNumbersAtTheirMaxima) {
  Packet p = UserInfo(Mask(2), PersonAt(2));
  // Every text field full to its last byte: two-byte characters, with a lead byte last.
  const struct {
    std::size_t off, width;
  } gbkFields[] = {{off::kUserName, off::kUserNameBytes},
                   {off::kUserRegion, off::kUserRegionBytes},
                   {off::kUserLevelTitle, off::kUserLevelTitleBytes},
                   {off::kUserTag, off::kUserTagBytes}};
  for (const auto& f : gbkFields)
    for (std::size_t i = 0; i < f.width; ++i) wire::PutU8(p, f.off + i, i % 2 == 0 ? 0xB0 : 0xA1);
  // The name ends in a lead byte without its second half.
  wire::PutU8(p, off::kUserName + off::kUserNameBytes - 1, 0xB0);
  const struct {
    std::size_t off, width;
  } singleFields[] = {{off::kUserFace, off::kUserFaceBytes},
                      {off::kUserAccount, off::kUserAccountBytes},
                      {off::kUserVoiceGroup, off::kUserVoiceBytes},
                      {off::kUserVoiceStyle, off::kUserVoiceBytes}};
  for (const auto& f : singleFields)
    for (std::size_t i = 0; i < f.width; ++i) wire::PutU8(p, f.off + i, 'z');
  for (std::size_t o : {off::kUserPoints, off::kUserCredit, off::kUserCoins, off::kUserReserved40, off::kUserReserved60,
                        off::kUserReserved68, off::kUserId})
    wire::PutU64LE(p, o, ~0ull);
  for (std::size_t o : {off::kUserLoginCount, off::kUserDropCount, off::kUserWins, off::kUserLosses,
                        off::kUserWealthRate})
    wire::PutU32LE(p, o, 0xFFFFFFFFu);
  for (std::size_t o : {off::kUserGender, off::kUserReady, off::kUserCapRule, off::kUserDiceRule, off::kUserPropsOff})
    wire::PutU8(p, o, 0xFF);
  Receive(p);

  const auto& d = detail(2);
  EXPECT_EQ(text::CharCount(d.username), 16u) << "sixteen characters, the field's end ends the text";
  EXPECT_EQ(text::CharCount(d.Region), 4u);
  EXPECT_EQ(d.Face, std::string(16, 'z'));
  EXPECT_EQ(d.Account, std::string(16, 'z'));
  EXPECT_EQ(seat(2).name, std::string(16, 'z'));
  EXPECT_EQ(d.VoiceGroup, std::string(8, 'z'));
  EXPECT_EQ(d.Coins, 18446744073709551615.0);
  EXPECT_EQ(d.Losses, -1);
  EXPECT_EQ(Caption(ctl::Cash, 2), "18446744073709551616金币");
  EXPECT_EQ(Find(ctl::Tou, 2)->Picture(), c->view.AvatarPictures[0]) << "a face of letters is avatar 0";
  EXPECT_EQ(Caption(ctl::lbwealth), "4294967295");
  ExpectConsistentSeats("after the full packet");

  // The card shows it all.
  view::ShowPlayerCard(*c, 2);
  EXPECT_EQ(c->ui.form(frm::Information).Get(ctl::Information::Inf, 8).Caption(), "-1");
}

TEST_F(PlayersBadInput, OddFaceCodesShowAKnownAvatar) {
  const struct {
    const char* face;
    int picture;
  } cases[] = {{"w", 401}, {"m0", 191}, {"x99", 191}, {"ww1", 401}, {"w10", 410}, {"m11", 191}, {"", 191}};
  for (const auto& k : cases) {
    Person who = PersonAt(3);
    who.face = k.face;
    Receive(UserInfo(Mask(3), who));
    EXPECT_EQ(Find(ctl::Tou, 3)->Picture(), k.picture) << '"' << k.face << '"';
  }
}

TEST_F(PlayersBadInput, SeatFieldsThatNameNoSeatPlaceNobody) {
  for (int seat : {3, 5, 6, 7, 9, 10, 11, 12, 13, 14}) {
    Person who;
    who.name = "nobody" + std::to_string(seat);
    Receive(UserInfo(seat, who));
    for (int p = 0; p < 4; ++p) EXPECT_NE(detail(p).username, who.name) << seat;
  }
  ExpectConsistentSeats("after seats that name nobody");
}

TEST_F(PlayersBadInput, PlayerLeftWithSeatZeroOrFifteenInEveryForm) {
  for (int form : {0, 1, 2, 3, 200})
    for (int seatField : {0, 15}) {
      SCOPED_TRACE(std::to_string(form) + " seat " + std::to_string(seatField));
      Build(1280, 1024);
      Seat(0);
      FormTable();
      c->handEnd.TableFormed = true;
      Receive(PlayerLeft(seatField, form, 0xFF, 0xFF));
      ExpectConsistentSeats("after the packet");
      // Seat 0 says everybody is missing: the table ends with its dialog, the client stays.
      EXPECT_FALSE(platform.ended);
      if (seatField == 0 && form != 0 && form != 2) {
        EXPECT_TRUE(c->ui.form(frm::frmOtherExit).Visible());
      }
      if (form == 2) {
        EXPECT_EQ(table().FirstDealerSeat, seatField) << "a dealer mask of no seat is only kept";
      }
      platform.ended = false;
    }
}

TEST_F(PlayersBadInput, TableUsersWithAnEmptyName) {
  for (int shifted : {0, 1}) {
    Packet p = TableUsers("");
    wire::PutU8(p, off::kTableUsersShifted, static_cast<std::uint8_t>(shifted));
    Receive(p);
    // A first byte of 1 shifted down is no name either.
    wire::PutU8(p, off::kTableUsersName, 1);
    Receive(p);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(seat(r).name, PersonAt(r).account) << r;
  }
  EXPECT_FALSE(platform.ended);
  ExpectConsistentSeats("after empty names");
}

}  // namespace
}  // namespace tavrel::testing
