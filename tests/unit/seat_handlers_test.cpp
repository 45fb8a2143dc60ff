// Seat names, ready marks and gold changes.
#include <gtest/gtest.h>

#include <fstream>

#include "client_fixture.h"
#include "scoring/hand_record.h"
#include "session/packet_io.h"
#include "session/transport.h"

namespace tavrel::testing {
namespace {

struct SeatHandlers : ClientFixture {
  void Receive(const Packet& p) {
    Feed(p);
    session::ReceiveNextPacket(ctx);
  }
  Packet Named(int command, int seat, const std::string& name, std::array<int, 4> values = {0, 0, 0, 0}) {
    Packet p = Make(command, seat, values);
    wire::PutSingleByteText(p, 16, name, 16);
    return p;
  }
};

TEST_F(SeatHandlers, FourNamesFindTheLocalSeatAndTurnTheTable) {
  Connect();
  ctx.table.custom[0].name = "carol";
  const char* names[] = {"alice", "bob", "carol", "dave"};
  for (int i = 0; i < 4; ++i) Receive(Named(3, 1 << i, names[i]));
  const std::uint8_t masks[] = {4, 2, 1, 8};
  const char* rel[] = {"carol", "bob", "alice", "dave"};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(ctx.table.custom[r].seat, masks[r]) << r;
    EXPECT_EQ(ctx.table.custom[r].name, rel[r]) << r;
  }
  EXPECT_EQ(ctx.table.SeatPacketCount, 0);
  EXPECT_FALSE(ctx.TimerKeepAlive->Enabled()) << "a seated player stops the keep-alive";
}

TEST_F(SeatHandlers, ASecondSeriesWithoutATableResetStillFindsTheLocalSeat) {
  Connect();
  ctx.table.custom[0].name = "carol";
  const char* first[] = {"alice", "bob", "carol", "dave"};
  for (int i = 0; i < 4; ++i) Receive(Named(3, 1 << i, first[i]));
  // A forced leave and a fresh login: new seats, and nobody emptied the name slots.
  const char* second[] = {"carol", "erin", "frank", "gina"};
  for (int i = 0; i < 4; ++i) Receive(Named(3, 1 << i, second[i]));
  EXPECT_EQ(ctx.table.SeatNames[0], "carol");
  EXPECT_EQ(ctx.table.custom[0].seat, 1);
  EXPECT_EQ(ctx.table.custom[1].name, "gina") << "the seat at the left has the next-lower index";
}

TEST_F(SeatHandlers, NoMatchingNameLeavesTheSeatsAlone) {
  Connect();
  ctx.table.custom[0].name = "zed";
  for (int i = 0; i < 4; ++i) Receive(Named(3, 1 << i, "p" + std::to_string(i)));
  for (int r = 0; r < 4; ++r) EXPECT_EQ(ctx.table.custom[r].seat, 0);
}

TEST_F(SeatHandlers, SeatNamesDeleteTheRecordFileAndZeroTheTotals) {
  char dir[] = "/tmp/tavrel-seat-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  platform.programFolder = dir;
  const std::string record = std::string(dir) + "/info.vl";
  std::ofstream(record) << "[juNum:1]\n";
  ctx.players.RunningTotal = {1, 2, 3, 4};
  Connect();
  Receive(Named(3, 1, "x"));
  EXPECT_FALSE(std::ifstream(record).good());
  EXPECT_EQ(ctx.players.RunningTotal[3], 0);
  // A hand recorded after that is deleted by the next name as well.
  scoring::WriteHandRecord(ctx, 1);
  ASSERT_TRUE(std::ifstream(record).good());
  Receive(Named(3, 2, "y"));
  EXPECT_FALSE(std::ifstream(record).good());
  ::rmdir(dir);
}

TEST_F(SeatHandlers, ReadyMarkShowsOnlyForValueOneAndANamedSeat) {
  Connect();
  ctx.table.custom[2].name = "bob";
  ctx.main().Get("Nid", 2, platform::ControlKind::Label).SetCaption("[x] bob");
  for (int p = 0; p < 4; ++p) ctx.main().Get("OK", p).SetVisible(false);
  Receive(Named(23, 1, "bob", {0, 0, 0, 0}));
  EXPECT_FALSE(ctx.main().Get("OK", 2).Visible());
  Receive(Named(23, 1, "bob", {0, 0, 0, 1}));
  EXPECT_TRUE(ctx.main().Get("OK", 2).Visible());
  EXPECT_FALSE(ctx.main().Get("OK", 1).Visible());
}

TEST_F(SeatHandlers, GoldChanges) {
  Connect();
  struct Case {
    double start;
    std::int64_t delta;
    std::string shown;
  } cases[] = {{300, -500, "0金币"}, {300, 200, "500金币"}, {0, 1234567890123, "1234567890123金币"}};
  for (const auto& c : cases) {
    ctx.players.Detail[0].Coins = c.start;
    Packet p = Make(91);
    wire::PutSignedAmount(p, 16, c.delta);
    Receive(p);
    EXPECT_EQ(ctx.main().Get("Cash", 0, platform::ControlKind::Label).Caption(), c.shown);
  }

  ctx.players.Detail[2].Account = "u42";
  ctx.players.Detail[2].Coins = 100;
  ctx.players.Detail[3].Coins = 100;
  Packet p = Make(92);
  wire::PutSignedAmount(p, 16, 50);
  wire::PutGbkText(p, 25, "u42", 17);
  Receive(p);
  EXPECT_EQ(ctx.players.Detail[2].Coins, 150);
  EXPECT_EQ(ctx.players.Detail[3].Coins, 100);
  Packet nobody = Make(92);
  wire::PutSignedAmount(nobody, 16, 50);
  wire::PutGbkText(nobody, 25, "u7", 17);
  Receive(nobody);
  EXPECT_EQ(ctx.players.Detail[2].Coins, 150) << "an unknown user ID changes nothing";
}

}  // namespace
}  // namespace tavrel::testing
