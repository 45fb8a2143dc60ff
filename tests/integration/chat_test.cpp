// The chat with the real parts, under a real X server: Chinese text typed into
// the chat line through the window system (xdotool) and sent with Enter reaches
// the other player of the table through tavrel-server; that player's quick phrase
// comes back as a speech bubble over the table, cut to its irregular shape. The
// other player is played by the test over loopback. The whole-screen picture is
// kept in the build folder as chat_bubble.png.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTcpSocket>

#include "session/commands.h"
#include "session/cp936.h"
#include "session/packet_io.h"
#include "session/startup.h"
#include "window_system.h"
#include "view/picture_catalogue.h"

namespace tavrel::itest {
namespace {

// Chat at (318, 729), 244 x 18 in the 1024 x 768 design; the table surface sits at (8, 20)
// inside the framed window of a 1280 x 1024 screen.
constexpr int kSurfaceLeft = 8, kSurfaceTop = 20;
constexpr int kChatX = kSurfaceLeft + 318 + 122, kChatY = kSurfaceTop + 729 + 9;
const QString kTyped = QString::fromUtf8("你好，各位！");


// The other player at the table: logs in over loopback and keeps what the server sends.
struct Peer {
  QTcpSocket socket;
  QByteArray received;
  explicit Peer(int port) {
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received.append(socket.readAll()); });
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  }
  void Send(const Packet& p) {
    socket.write(reinterpret_cast<const char*>(p.data()), static_cast<qint64>(p.size()));
    socket.flush();
  }
  std::vector<Packet> Packets(int command) const {
    std::vector<Packet> out;
    for (qsizetype at = 0; at + static_cast<qsizetype>(kPacketSize) <= received.size(); at += kPacketSize) {
      Packet p;
      std::memcpy(p.data(), received.constData() + at, kPacketSize);
      if (p[off::kCmd] == command) out.push_back(p);
    }
    return out;
  }
  std::vector<std::string> ChatTexts() const {
    std::vector<std::string> out;
    for (const Packet& p : Packets(cmd::kChat)) out.push_back(wire::GbkText(p, off::kPayload, 200));
    return out;
  }
};

struct ChatTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child xvfb, server, lobby;
  QString dumpDir, display;

  QString Dump() const {
    QFile f(dumpDir + "/table.txt");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  std::string Context() {
    return env.Context(lobby) + "\ndump:\n" + Dump().left(3000).toStdString();
  }
  bool WaitDump(const QRegularExpression& wanted, int ms) {
    return WaitFor([&] { return wanted.match(Dump()).hasMatch(); }, ms);
  }
  void Shot(const QString& name) { RequestShot(dumpDir, env.dir.filePath(name), ShotOf::WholeScreen); }
};

TEST_F(ChatTest, TypedChineseReachesTheOtherPlayerAndItsPhraseComesBackAsABubble) {
  if (Tool("Xvfb").isEmpty()) GTEST_SKIP() << "Xvfb (package xvfb) is not installed: typing through the window system cannot be tested";
  if (Tool("xdotool").isEmpty()) GTEST_SKIP() << "xdotool is not installed: typing through the window system cannot be tested";
  ASSERT_TRUE(QFile::exists(kClient) && QFile::exists(kLobbyProgram)) << "build tavrelmj and tavrel-lobby first";
  display = StartXvfb(xvfb);
  ASSERT_FALSE(display.isEmpty()) << "Xvfb did not report its display: " << xvfb.Output();

  // The server: two bot seats; the player and the peer take the other two.
  const int port = StartTableServer(
      server, {"--bots", "2", "--bot-delay", "100", "--seed", "7", "--log", env.dir.filePath("server.log")});
  ASSERT_GT(port, 0) << server.Output();

  dumpDir = env.dir.filePath("dump");
  QDir().mkpath(dumpDir);
  QProcessEnvironment clientEnv = env.Env();
  clientEnv.remove("TAVREL_PROGRAM_FOLDER");  // the program folder of the build: pictures and chat.ini
  clientEnv.insert("TAVREL_TABLE_DUMP", dumpDir);
  clientEnv.insert("DISPLAY", display);
  clientEnv.insert("QT_QPA_PLATFORM", "xcb");
  clientEnv.remove("TAVREL_SCREEN");
  lobby.Start(kLobbyProgram, {"--headless", "--server-port", QString::number(port), "--user", "player"}, clientEnv);
  ASSERT_TRUE(WaitFor([&] { return env.ServerLog().contains("login: 'player' takes seat 0"); }, 30000)) << Context();

  Peer peer(port);
  ASSERT_TRUE(WaitFor([&] { return peer.socket.state() == QAbstractSocket::ConnectedState; }, 10000));
  peer.Send(session::BuildLoginPacket("peer", ""));
  // The table is full: the player sees the peer at its right (server seat 1, position 3).
  ASSERT_TRUE(WaitDump(QRegularExpression("player 3 ok=\\d tou=\\d+ account=peer "), 30000)) << Context();

  QProcessEnvironment x = QProcessEnvironment::systemEnvironment();
  x.insert("DISPLAY", display);
  const QString window = FindWindow("Tavrel", x);
  ASSERT_FALSE(window.isEmpty()) << "the table window is not mapped" << Context();
  RunTool(Tool("xdotool"), {"mousemove", "--window", window, QString::number(kChatX), QString::number(kChatY), "click", "1"}, x);
  Pump(300);
  RunTool(Tool("xdotool"), {"type", "--delay", "60", kTyped}, x);
  ASSERT_TRUE(WaitDump(QRegularExpression("chatline text=" + QRegularExpression::escape(kTyped) + "\n"), 10000))
      << "the typed text is not in the chat line" << Context();
  RunTool(Tool("xdotool"), {"key", "Return"}, x);

  // Through the server to the other player, as the sender wrote it.
  const std::string expected = "player说道: " + kTyped.toStdString();
  ASSERT_TRUE(WaitFor([&] { return !peer.ChatTexts().empty(); }, 10000)) << "nothing reached the peer" << Context();
  EXPECT_EQ(peer.ChatTexts().front(), expected);
  const Packet line = peer.Packets(cmd::kChat).front();
  EXPECT_EQ(line[off::kSeat], 1) << "from seat 0";
  // The sender sees its own line come back, with itself as 你.
  EXPECT_TRUE(WaitDump(QRegularExpression("history 你说道: " + QRegularExpression::escape(kTyped) + "\n"), 10000))
      << Context();
  EXPECT_TRUE(WaitDump(QRegularExpression("chatline text=\n"), 2000)) << "the chat line was not emptied";

  // The peer's quick phrase 2 of list 1: the player's bubble for position 3 shows the
  // player's own list entry ("快点吧，等得花都谢了！" in the shipped chat.ini).
  Info info;
  info.Cmd = cmd::kChat;
  info.Seat = 2;
  info.value = {1, 0, 0, 2};
  peer.Send(session::EncodeChat(info, "peer说道: 快点吧", {0, 0}));
  const QRegularExpression holding("bubble 3 shown=1 alpha=208 left=(-?\\d+) top=(-?\\d+) width=(\\d+) height=(\\d+) rects=(\\d+) text=(.*)\n");
  ASSERT_TRUE(WaitDump(holding, 10000)) << "no bubble" << Context();
  const auto bubble = holding.match(Dump());
  EXPECT_EQ(bubble.captured(6), QString::fromUtf8("快点吧，等得花都谢了！"));
  // Cut row by row: a shaped window is many rectangles, not one.
  EXPECT_GT(bubble.captured(5).toInt(), bubble.captured(4).toInt() / 2) << "a shaped window, not one rectangle";
  EXPECT_TRUE(WaitDump(QRegularExpression("history 你说道: .*\nhistory peer说道: 快点吧\n"), 5000)) << Context();
  Pump(300);
  Shot("chat_bubble.png");

  // In the picture the bubble stands over the table: its middle is the bubble, its
  // corner (the picture's key colour) shows the felt through.
  QImage shot(env.dir.filePath("chat_bubble.png"));
  ASSERT_FALSE(shot.isNull());
  const int left = bubble.captured(1).toInt(), top = bubble.captured(2).toInt();
  const int width = bubble.captured(3).toInt();
  const QColor corner = shot.pixelColor(left + 1, top + 1);
  const QColor middle = shot.pixelColor(left + width / 2, top + 6);
  const QColor key(QRgb(0xFF000000u | view::kSpeakBoxKeyColour));
  EXPECT_NE(corner, key) << "the key colour is cut away";
  EXPECT_GT(corner.green(), corner.red()) << "the felt shows at the corner";
  EXPECT_GT(middle.red(), 200) << "the bubble is light";
  EXPECT_GT(middle.blue(), 180);
  // And it fades away by itself.
  EXPECT_TRUE(WaitDump(QRegularExpression("bubble 3 shown=0 "), 20000)) << "the bubble stayed" << Context();
}

}  // namespace
}  // namespace tavrel::itest
