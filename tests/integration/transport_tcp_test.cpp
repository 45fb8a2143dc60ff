// The real socket and rings: a TCP server on 127.0.0.1 sends packets in chunks of
// awkward sizes; each reaches the dispatcher once and in order. Packets queued while
// the socket is down leave in order once it is up.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "app/client_context.h"
#include "platform/qt/qt_platform.h"
#include "session/command_record.h"
#include "session/dispatcher.h"
#include "session/packet_io.h"

namespace tavrel {
namespace {

struct TcpFixture : ::testing::Test {
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "transport_tcp_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  }
  platform::qt::QtPlatform platform;
  QTcpServer server;
  QTcpSocket* peer = nullptr;

  void Listen() {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [this] { peer = server.nextPendingConnection(); });
  }
  bool WaitFor(const std::function<bool()>& done, int ms = 10000) { return platform.PumpUntil(done, ms); }
};

Packet Numbered(int command, int n) {
  Info info;
  info.Cmd = static_cast<std::int16_t>(command);
  info.Seat = 1;
  info.value[3] = static_cast<std::int16_t>(n & 0xFF);
  info.value[2] = static_cast<std::int16_t>(n >> 8);
  return EncodeRecord(info, {static_cast<std::uint8_t>(n), 0});
}

TEST_F(TcpFixture, AwkwardChunksReachTheDispatcherOnceInOrder) {
  Listen();
  ClientContext ctx(platform);
  InstallParts(ctx);
  ctx.TimerKeepAlive->SetEnabled(false);
  std::vector<int> seen;
  session::RegisterHandler(ctx, 2, [&](ClientContext& cx) {
    seen.push_back(cx.session.info.value[2] << 8 | cx.session.info.value[3]);
  });
  ctx.Winsock1->RemoteHost = "127.0.0.1";
  ctx.Winsock1->RemotePort = server.serverPort();
  ctx.Winsock1->Connect();
  ASSERT_TRUE(WaitFor([&] { return peer != nullptr && ctx.Connected(); }));

  constexpr int kPackets = 60;
  QByteArray stream;
  for (int i = 0; i < kPackets; ++i) {
    Packet p = Numbered(2, i);
    stream.append(reinterpret_cast<const char*>(p.data()), static_cast<int>(p.size()));
  }
  const int chunks[] = {1, 271, 545, 1, 1, 272, 7, 544};
  int at = 0, k = 0;
  while (at < stream.size()) {
    const int n = std::min<int>(chunks[k++ % 8], static_cast<int>(stream.size()) - at);
    peer->write(stream.mid(at, n));
    peer->flush();
    at += n;
    platform.PumpFor(2);
  }
  ASSERT_TRUE(WaitFor([&] { return static_cast<int>(seen.size()) == kPackets; }, 20000));
  for (int i = 0; i < kPackets; ++i) ASSERT_EQ(seen[i], i) << "packet " << i;
  platform.PumpFor(200);
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kPackets)) << "nothing is dispatched twice";
}

TEST_F(TcpFixture, PacketsQueuedWhileDownLeaveInOrderOnceUp) {
  Listen();
  ClientContext ctx(platform);
  InstallParts(ctx);
  ctx.TimerKeepAlive->SetEnabled(false);
  for (int i = 0; i < 5; ++i) {
    Info info;
    info.Cmd = 2;
    info.value[3] = static_cast<std::int16_t>(0x4010 + i);
    session::SendCommand(ctx, info);
  }
  platform.PumpFor(300);  // several ticks with no connection: nothing leaves, nothing is lost
  EXPECT_EQ(ctx.session.SendRing.Queued(), 5 * 272);

  ctx.Winsock1->RemoteHost = "127.0.0.1";
  ctx.Winsock1->RemotePort = server.serverPort();
  ctx.Winsock1->Connect();
  QByteArray got;
  ASSERT_TRUE(WaitFor([&] {
    if (peer) got += peer->readAll();
    return got.size() >= 5 * 272;
  }));
  ASSERT_EQ(got.size(), 5 * 272);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(static_cast<std::uint8_t>(got[i * 272 + 3]), 2);
    EXPECT_EQ(static_cast<std::uint8_t>(got[i * 272 + 15]), 0x10 + i);
  }
}

}  // namespace
}  // namespace tavrel
