#pragma once
// A laid-out, seated client (round_fixture.h) fed the players' packets: details
// (UserInfo), departures and seat changes (PlayerLeft, TableUsers).
#include <string>
#include <vector>

#include "round_fixture.h"
#include "scoring/player_details.h"
#include "session/lobby_ops.h"

namespace tavrel::testing {

// One player's details as the server sends them.
struct Person {
  std::string name = "someone";
  std::string account = "acct";
  std::string face = "m1";
  int gender = 1;
  std::string region = "本地";
  std::uint64_t points = 100, credit = 100, coins = 5000;
  std::string level = "新手";
  std::uint32_t logins = 3, drops = 1, wins = 2, losses = 4;
  std::string tag = "玩家";
  bool ready = false;
  std::uint64_t userId = 1001;
  std::uint32_t wealthRate = 0;
  bool capRule = false, diceRule = false;
};

struct PlayersFixture : RoundFixture {
  static Packet UserInfo(int seat, const Person& who) {
    Packet p = Make(20, seat);
    wire::PutGbkText(p, off::kUserName, who.name, off::kUserNameBytes);
    wire::PutSingleByteText(p, off::kUserFace, who.face, off::kUserFaceBytes);
    wire::PutU8(p, off::kUserGender, static_cast<std::uint8_t>(who.gender));
    wire::PutGbkText(p, off::kUserRegion, who.region, 4);
    wire::PutU64LE(p, off::kUserPoints, who.points);
    wire::PutU64LE(p, off::kUserCredit, who.credit);
    wire::PutU64LE(p, off::kUserCoins, who.coins);
    wire::PutGbkText(p, off::kUserLevelTitle, who.level, off::kUserLevelTitleBytes);
    wire::PutU32LE(p, off::kUserLoginCount, who.logins);
    wire::PutU32LE(p, off::kUserDropCount, who.drops);
    wire::PutU32LE(p, off::kUserWins, who.wins);
    wire::PutU32LE(p, off::kUserLosses, who.losses);
    wire::PutSingleByteText(p, off::kUserAccount, who.account, off::kUserAccountBytes);
    wire::PutGbkText(p, off::kUserTag, who.tag, off::kUserTagBytes);
    wire::PutU8(p, off::kUserReady, who.ready ? 1 : 0);
    wire::PutU64LE(p, off::kUserId, who.userId);
    wire::PutU32LE(p, off::kUserWealthRate, who.wealthRate);
    wire::PutU8(p, off::kUserCapRule, who.capRule ? 1 : 0);
    wire::PutU8(p, off::kUserDiceRule, who.diceRule ? 1 : 0);
    return p;
  }
  // PlayerLeft in one of its forms (value(3)).
  static Packet PlayerLeft(int seat, int form, int v1 = 0, int v2 = 0) { return Make(16, seat, {0, v1, v2, form}); }
  static Packet TableUsers(const std::string& name, int v0 = 0) {
    Packet p = Make(21, 0, {v0, 0, 0, 0});
    wire::PutSingleByteText(p, off::kTableUsersName, name, off::kTableUsersNameBytes);
    return p;
  }
  static Packet SeatName(int seat, const std::string& name) {
    Packet p = Make(3, seat);
    wire::PutSingleByteText(p, off::kPayload, name, off::kNameBytes);
    return p;
  }

  // The player of relative seat r at this table (own seat index `own`).
  Person PersonAt(int r) {
    Person who;
    who.name = "玩家" + std::to_string(r);
    who.account = "acct" + std::to_string(r);
    who.userId = 1001 + r;
    who.ready = r != 0;
    return who;
  }
  // The announcement of a formed table: the seat names, then the four details
  // (the own record with seat 15), as the server sends them.
  void FormTable() {
    const std::string ownAccount = PersonAt(0).account;
    c->table.custom[0].name = ownAccount;
    for (int i = 0; i < 4; ++i) {
      const int r = (own - i + 4) & 3;
      Receive(SeatName(1 << i, PersonAt(r).account));
    }
    for (int r = 0; r < 4; ++r) Receive(UserInfo(r == 0 ? 15 : Mask(r), PersonAt(r)));
  }

  void Connect() {
    c->Winsock1->RemoteHost = "127.0.0.1";
    c->Winsock1->RemotePort = 4000;
    c->Winsock1->Connect();
    platform.RunPending();
  }
  std::vector<Packet> SentPackets() {
    std::vector<Packet> out;
    const auto& s = platform.socket(0)->sent;
    for (std::size_t i = 0; i + kPacketSize <= s.size(); i += kPacketSize) {
      Packet p;
      std::copy(s.begin() + static_cast<long>(i), s.begin() + static_cast<long>(i + kPacketSize), p.begin());
      out.push_back(p);
    }
    return out;
  }

  void Ticks(int n) { platform.Advance(50LL * n); }
  std::vector<std::string> Lines(int list) { return c->main().Get(ctl::Sysmsg, list).Items(); }
  std::string Caption(const platform::ControlName& name, int index = -1) {
    const platform::Control* ctl = Find(name, index);
    return ctl ? ctl->Caption() : std::string();
  }
  bool Shown(const platform::ControlName& name, int index = -1) {
    const platform::Control* ctl = Find(name, index);
    return ctl && ctl->Visible();
  }
  scoring::Detail& detail(int p) { return c->players.Detail[p]; }
};

}  // namespace tavrel::testing
