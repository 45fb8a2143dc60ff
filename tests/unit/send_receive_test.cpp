// Sending through the send ring, receiving through the receive ring, the token,
// the chat-text rules and the command 3 / 19 routing.
#include <gtest/gtest.h>

#include "chat/chat_line.h"
#include "client_fixture.h"
#include "fake_prop_plugin.h"
#include "session/commands.h"
#include "session/cp936.h"
#include "session/dispatcher.h"
#include "session/packet_io.h"
#include "session/transport.h"

namespace tavrel::testing {
namespace {

using session::SendCommand;

struct SendReceive : ClientFixture {
  std::vector<Info> dispatched;
  SendReceive() {
    for (int c : {1, 2, 4, 7, 17, 21, 29}) {
      session::RegisterHandler(ctx, c, [this](ClientContext& cx) { dispatched.push_back(cx.session.info); });
    }
  }
  Packet QueuedPacket(int i) {
    Packet p;
    for (int k = 0; k < static_cast<int>(kPacketSize); ++k) p[k] = ctx.session.SendRing.At(i * 272 + k);
    return p;
  }
  void SendChat(const std::string& text) {
    ctx.session.PendingChatText = text;
    Info info;
    info.Cmd = 19;
    SendCommand(ctx, info);
  }
};

TEST_F(SendReceive, SendCommandStampsTheCurrentTokenAndStartsTheSendTask) {
  ctx.session.token = {0x12, 0x34};
  ctx.sched.SendPending = false;
  ctx.sched.sendCounter = 5;
  Info info;
  info.Cmd = 24;
  SendCommand(ctx, info);
  ASSERT_EQ(ctx.session.SendRing.Queued(), 272);
  Packet p = QueuedPacket(0);
  EXPECT_EQ(p[3], 24);
  EXPECT_EQ(p[260], 0x12);
  EXPECT_EQ(p[261], 0x34);
  EXPECT_TRUE(ctx.sched.SendPending);
  EXPECT_EQ(ctx.sched.sendCounter, 0);
}

TEST_F(SendReceive, QueuePacketOverwritesTheCallersTokenBytes) {
  ctx.session.token = {7, 9};
  Packet p{};
  p[3] = 45;
  p[260] = 0xEE;
  session::QueuePacket(ctx, p);
  EXPECT_EQ(p[260], 7);
  EXPECT_EQ(QueuedPacket(0)[261], 9);
}

TEST_F(SendReceive, ChatTextRules) {
  SendChat("");
  EXPECT_EQ(ctx.session.SendRing.Queued(), 0) << "empty chat is not sent";

  std::string hundredAndOne(101, 'x');
  hundredAndOne[100] = 'y';
  SendChat(hundredAndOne);
  Packet p = QueuedPacket(0);
  EXPECT_EQ(p[16 + 99], 'x');
  EXPECT_EQ(p[16 + 100], 0) << "the 101st character is cut";
  EXPECT_TRUE(ctx.session.PendingChatText.empty());

  std::string wide;
  for (int i = 0; i < 101; ++i) wide += "麻";
  SendChat(wide);
  Packet q = QueuedPacket(1);
  EXPECT_EQ(q[214], 0xC2);
  EXPECT_EQ(q[215], 0xE9);
  EXPECT_EQ(q[216], 0) << "a hundred two-byte characters fill 16..215 exactly";
}

TEST_F(SendReceive, DecodeRoutesSeatNamesIntoTheirAbsoluteSlot) {
  Connect();
  Packet a = Make(3, 4);
  wire::PutSingleByteText(a, 16, "abc", 16);
  Packet b = Make(3, 8);
  for (int i = 0; i < 16; ++i) b[16 + i] = static_cast<std::uint8_t>('a' + i);
  Feed(a);
  session::ReceiveNextPacket(ctx);
  Feed(b);
  session::ReceiveNextPacket(ctx);
  EXPECT_EQ(ctx.table.SeatNames[2], "abc");
  EXPECT_EQ(ctx.table.SeatNames[3], "abcdefghijklmnop");
}

TEST_F(SendReceive, PropMarkedChatNeverReachesTheChatDisplay) {
  Connect();
  for (std::uint32_t marker : {272u, 260u, 0x80000110u, 5u}) {
    Packet p = Make(19, 1);
    wire::PutGbkText(p, 16, "你好", 200);
    wire::PutU32BE(p, 236, marker);
    Feed(p);
    session::DecodePacket(ctx);
  }
  // The chat history shows what reached the chat display.
  const auto& chatLines = chat::History(ctx).Items();
  ASSERT_EQ(chatLines.size(), 2u) << "only the two packets without a prop marker are chat";
  EXPECT_EQ(chatLines[0], "你好");
}

TEST_F(SendReceive, TokenFollowsEveryPacketButTheReconnectAnswer) {
  Connect();
  struct Case {
    int command;
    SessionToken token;
    SessionToken expected;
  } cases[] = {{2, {1, 2}, {1, 2}}, {29, {9, 9}, {1, 2}}, {7, {0, 0}, {0, 0}}, {200, {5, 6}, {5, 6}}};
  for (const auto& c : cases) {
    Feed(Make(c.command, 1, {0, 0, 0, 1}, c.token));
    session::ReceiveNextPacket(ctx);
    EXPECT_EQ(ctx.session.token, c.expected) << "command " << c.command;
  }
}

TEST_F(SendReceive, UnknownCommandsGoToThePluginOnlyWhenActive) {
  FakePropPlugin plugin;
  Connect();
  Feed(Make(8, 1, {1, 2, 3, 4}));
  session::ReceiveNextPacket(ctx);
  EXPECT_TRUE(dispatched.empty());

  plugin.Activate(ctx);
  Packet eight = Make(8, 1, {1, 2, 3, 4});
  eight[100] = 0x5A;
  Feed(eight);
  session::ReceiveNextPacket(ctx);
  Feed(Make(0, 1));
  session::ReceiveNextPacket(ctx);
  ASSERT_EQ(plugin.received.size(), 2u);
  EXPECT_EQ(plugin.received[0], eight) << "the packet reaches the plug-in unchanged";
  EXPECT_TRUE(dispatched.empty());
}

TEST_F(SendReceive, RingBoundaries) {
  Connect();
  Packet p = Make(2, 1, {0, 0, 0, 0x15});
  platform::ByteVec bytes(p.begin(), p.end());
  Feed(platform::ByteVec(bytes.begin(), bytes.end() - 1));
  EXPECT_EQ(ctx.session.RecvRing.Queued(), 271);
  session::ReceiveNextPacket(ctx);
  EXPECT_TRUE(dispatched.empty()) << "271 bytes decode nothing";
  Feed(platform::ByteVec{bytes.back()});
  session::ReceiveNextPacket(ctx);
  ASSERT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(dispatched[0].value[3], 0x15);

  // Odd-sized arrivals append every byte.
  Feed(platform::ByteVec(137, 0));
  EXPECT_EQ(ctx.session.RecvRing.Queued(), 137);
}

TEST_F(SendReceive, FullReceiveRingGivesUpTheTable) {
  platform.simLobby().windows.insert("Virel山庄");
  Connect();
  Feed(platform::ByteVec(session::kRingSize - 1, 0));
  EXPECT_FALSE(platform.ended);
  Feed(platform::ByteVec{0});
  EXPECT_TRUE(platform.ended);
  ASSERT_EQ(platform.simLobby().sysCommands.size(), 1u);
  EXPECT_EQ(platform.simLobby().sysCommands[0].message, 61728) << "the lobby is restored first";
}

TEST_F(SendReceive, HandResultWaitHoldsTableUsersAndEverythingBehindIt) {
  Connect();
  ctx.session.HandResultWait = true;
  ctx.TimerKeepAlive->SetEnabled(false);
  ctx.table.custom[0].seat = 1;
  Feed(Make(21, 2));
  Feed(Make(4, 1));
  for (int i = 0; i < 3; ++i) session::ReceiveNextPacket(ctx);
  EXPECT_TRUE(dispatched.empty() || dispatched.back().Cmd != 4);
  EXPECT_EQ(ctx.session.RecvRing.Queued(), 544) << "the held packet stays first";
  EXPECT_TRUE(ctx.TimerKeepAlive->Enabled()) << "another seat's departure re-arms the keep-alive";

  ctx.session.HandResultWait = false;  // the sheet was shown
  session::ReceiveNextPacket(ctx);
  session::ReceiveNextPacket(ctx);
  ASSERT_EQ(dispatched.size(), 2u);
  EXPECT_EQ(dispatched[0].Cmd, 21);
}

TEST_F(SendReceive, HeldPropPacketIsReplayedOnceWithTheNewSeatAndToken) {
  Connect();
  ctx.table.custom[0].seat = 2;
  session::ArmPropHolding(ctx);  // hand result
  Packet prop{};
  prop[3] = 45;
  wire::PutU16BE(prop, 8, 1032);  // 1032 / 8 = 129: the first kind
  prop[6] = 2;
  session::QueuePacket(ctx, prop);
  Ticks(2);
  EXPECT_TRUE(sock().sent.empty()) << "held back between hands";

  ctx.table.custom[0].seat = 8;  // seats changed
  ctx.session.token = {0x44, 0x55};
  session::ReplayHeldPropPackets(ctx);  // the next hand starts
  Ticks(2);
  auto sent = SentPackets();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 45);
  EXPECT_EQ(sent[0][6], 8);
  EXPECT_EQ(sent[0][260], 0x44);
  EXPECT_EQ(sent[0][261], 0x55);

  session::ReplayHeldPropPackets(ctx);  // a second hand start sends nothing again
  Ticks(2);
  EXPECT_EQ(SentPackets().size(), 1u);

  session::QueuePacket(ctx, prop);  // holding ended: further ones pass
  Ticks(2);
  EXPECT_EQ(SentPackets().size(), 2u);
}

TEST_F(SendReceive, FullSendRingNeverOverwritesAQueuedPacket) {
  // Disconnected: everything stays queued. 127 whole packets fit.
  for (int i = 0; i < 127; ++i) {
    Info info;
    info.Cmd = i % 2 ? 24 : 2;
    info.value[3] = static_cast<std::int16_t>(i);
    SendCommand(ctx, info);
  }
  EXPECT_EQ(ctx.session.SendRing.Queued(), 127 * 272);

  Info keepAlive;
  keepAlive.Cmd = 24;
  SendCommand(ctx, keepAlive);  // a new keep-alive is refused when full
  EXPECT_EQ(ctx.session.RefusedPackets, 1);

  Info discard;
  discard.Cmd = 2;
  discard.value[3] = 0x4021;
  SendCommand(ctx, discard);  // room is made by dropping the oldest keep-alive (packet 1)
  EXPECT_EQ(ctx.session.DroppedKeepAlives, 1);
  EXPECT_EQ(ctx.session.SendRing.Queued(), 127 * 272);
  EXPECT_EQ(QueuedPacket(0)[15], 0);
  EXPECT_EQ(QueuedPacket(1)[15], 2) << "packet 1, the oldest keep-alive, is gone";
  EXPECT_EQ(QueuedPacket(126)[14], 0x40);
  EXPECT_EQ(QueuedPacket(126)[15], 0x21) << "the new packet is last";

  // With no keep-alive left to drop, other packets are refused.
  while (ctx.session.DroppedKeepAlives < 63) SendCommand(ctx, discard);
  const int refused = ctx.session.RefusedPackets;
  SendCommand(ctx, discard);
  EXPECT_EQ(ctx.session.RefusedPackets, refused + 1);
}

}  // namespace
}  // namespace tavrel::testing
