// The player's mouse and keys through a real X server: tavrelmj plays a hand that a
// small server in this test scripts, and xdotool moves and clicks at the places the
// client's own layout gives (read from its table dump), never calling a handler.
// The server checks what arrives: the pass before the discard, 胡, the pass of a
// right click, the gang chosen from the chooser, a discard from the keyboard. The
// time from the click to the discard at the server is printed, and screenshots are
// kept in the build folder: player_input_deal.png, player_input_offer.png,
// player_input_chooser.png, player_input_end.png.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <map>

#include "window_system.h"

namespace tavrel::itest {
namespace {

constexpr int kOwnMask = 2;  // the local player sits at seat index 1
constexpr int kLeftMask = 1, kTopMask = 8, kRightMask = 4;

// The client's table dump: tiles, own slots, the input state and the controls.
struct Dump {
  struct Box {
    bool visible = false, enabled = false;
    int left = 0, top = 0, width = 0, height = 0;
    QString caption;
    int CentreX() const { return left + width / 2; }
    int CentreY() const { return top + height / 2; }
  };
  std::map<int, Box> tiles;                   // relative to the table surface
  std::map<int, std::pair<int, int>> own;     // slot -> (code, image)
  std::map<QString, Box> controls;            // "Operation 3" -> window coordinates
  std::map<QString, long> input;
  int first = 0, count = 0;
  QString text;

  static std::optional<Dump> Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    Dump d;
    d.text = QString::fromUtf8(f.readAll());
    for (const QString& line : d.text.split('\n', Qt::SkipEmptyParts)) {
      const QStringList w = line.split(' ');
      if (w[0] == "tile" && w.size() == 9) {
        d.tiles[w[1].toInt()] = {w[2] == "1", true, w[3].toInt(), w[4].toInt(), w[5].toInt(), w[6].toInt(), {}};
      } else if (w[0] == "slot" && w.size() == 6 && w[1] == "0") {
        d.own[w[2].toInt()] = {w[4].toInt(), w[5].toInt()};
      } else if (w[0] == "seat" && w[1] == "0") {
        for (const QString& f : w) {
          if (f.startsWith("first=")) d.first = f.mid(6).toInt();
          if (f.startsWith("count=")) d.count = f.mid(6).toInt();
        }
      } else if (w[0] == "input") {
        for (int i = 1; i < w.size(); ++i) d.input[w[i].section('=', 0, 0)] = w[i].section('=', 1).toLong();
      } else if (w[0] == "control" && w.size() >= 11) {
        d.controls[w[1] + " " + w[2]] = {w[3] == "1", w[4] == "1", w[5].toInt(), w[6].toInt(),
                                         w[7].toInt(), w[8].toInt(), w[10]};
      }
    }
    return d;
  }
  int OwnImage(int n) const { return own.at(first + n).second; }
  int OwnCode(int n) const { return own.at(first + n).first; }
  // Window coordinates of the middle of a tile.
  std::pair<int, int> TileCentre(int image) const {
    const Box& surface = controls.at("Pic1 -1");
    const Box& t = tiles.at(image);
    return {surface.left + t.CentreX(), surface.top + t.CentreY()};
  }
};

struct PlayerInputTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child xvfb, client;
  TestServer server;
  std::unique_ptr<TestLobby> lobby;
  QString display, dumpDir, window;
  QProcessEnvironment x;
  std::size_t seen = 0;  // packets from the client already looked at

  bool StartXvfb() {
    display = itest::StartXvfb(xvfb);
    if (display.isEmpty()) return false;
    x = QProcessEnvironment::systemEnvironment();
    x.insert("DISPLAY", display);
    return true;
  }
  ServerConn& Conn() { return server.Conn(0); }
  // A click at `at` whose packets are timed at the server: xdotool runs beside the
  // test's event loop and the clock starts as it starts (its own start-up included).
  std::vector<std::pair<Packet, qint64>> TimedClick(std::pair<int, int> at, std::size_t packets) {
    MoveTo(at);
    QProcess clicker;
    clicker.setProcessEnvironment(x);
    QElapsedTimer sinceClick;
    sinceClick.start();
    clicker.start(Tool("xdotool"), {"click", "1"});
    std::vector<std::pair<Packet, qint64>> arrived;
    WaitFor([&] {
      while (Conn().PacketCount() > seen) {
        const Packet p = Conn().PacketAt(seen++);
        if (p[off::kCmd] != 24) arrived.push_back({p, sinceClick.elapsed()});
      }
      return arrived.size() >= packets;
    }, 10000);
    clicker.waitForFinished(5000);
    return arrived;
  }
  void Send(const Packet& p) { Conn().Send(p); }
  std::optional<Dump> Now() { return Dump::Read(dumpDir + "/table.txt"); }
  std::optional<Dump> WaitDump(const std::function<bool(const Dump&)>& ok, int ms = 15000) {
    std::optional<Dump> d;
    WaitFor([&] {
      d = Now();
      return d && ok(*d);
    }, ms);
    if (d && ok(*d)) return d;
    return std::nullopt;
  }
  // The next packet of the client that is not a keep-alive.
  std::optional<Packet> NextPacket(int ms = 10000) {
    std::optional<Packet> found;
    WaitFor([&] {
      while (Conn().PacketCount() > seen) {
        const Packet p = Conn().PacketAt(seen++);
        if (p[off::kCmd] != 24) {
          found = p;
          return true;
        }
      }
      return false;
    }, ms);
    return found;
  }
  static int Value(const Packet& p, int i) { return wire::I16BE(p, off::kValues + 2 * static_cast<std::size_t>(i)); }
  void Xdo(const QStringList& args) { RunTool(Tool("xdotool"), args, x); }
  void MoveTo(std::pair<int, int> at) {
    Xdo({"mousemove", "--window", window, QString::number(at.first), QString::number(at.second)});
  }
  void ClickAt(std::pair<int, int> at, int button = 1) {
    MoveTo(at);
    Xdo({"click", QString::number(button)});
  }
  void Shot(const QString& name) { RequestShot(dumpDir, env.dir.filePath(name), ShotOf::TableWindow, 200); }
  static Packet Offer(int options, int seconds) {
    Packet p = Make(6, kOwnMask, {options, 0, 0, 0});
    wire::PutU8(p, off::kOfferSeconds, static_cast<std::uint8_t>(seconds));
    return p;
  }
  static Packet Deal(const std::vector<int>& tiles) {
    Packet p = Make(1, kOwnMask, {0, 12, 0, 0});
    for (std::size_t i = 0; i < tiles.size(); ++i)
      wire::PutU16BE(p, off::kDealtTiles + 2 * i, static_cast<std::uint16_t>(tiles[i]));
    return p;
  }
};

TEST_F(PlayerInputTest, MouseAndKeysThroughTheWindowSystemReachTheServer) {
  if (Tool("Xvfb").isEmpty()) GTEST_SKIP() << "Xvfb (package xvfb) is not installed: no real X server to click on";
  if (Tool("xdotool").isEmpty()) GTEST_SKIP() << "xdotool is not installed: no way to click through the window system";
  ASSERT_TRUE(QFile::exists(kClient)) << "build tavrelmj first";
  ASSERT_TRUE(StartXvfb()) << "Xvfb did not report its display";

  lobby = std::make_unique<TestLobby>(env.LinkDir());
  dumpDir = env.dir.filePath("dump");
  QDir().mkpath(dumpDir);
  QProcessEnvironment e = env.Env();
  e.insert("DISPLAY", display);
  e.insert("QT_QPA_PLATFORM", "xcb");
  e.remove("TAVREL_PROGRAM_FOLDER");
  e.remove("TAVREL_SCREEN");
  e.insert("TAVREL_TABLE_DUMP", dumpDir);
  client.Start(kClient, {Line(server.Port())}, e);

  ASSERT_TRUE(server.WaitPacket(0, 0)) << client.Output();
  seen = 1;
  Send(LoginAnswer(1));
  SendSeatNames(Conn(), "alice");
  window = FindWindow("Tavrel", x);
  ASSERT_FALSE(window.isEmpty()) << "the table window is not mapped\n" << client.Output();
  Pump(1000);  // input reaches a window that has only just been mapped a moment later

  // The player presses 开始: the table asks for the hand.
  auto seated = WaitDump([](const Dump& d) { return d.controls.count("AnNiu 2") && d.controls.at("AnNiu 2").enabled; });
  ASSERT_TRUE(seated);
  ClickAt({seated->controls.at("AnNiu 2").CentreX(), seated->controls.at("AnNiu 2").CentreY()});
  auto ready = NextPacket();
  ASSERT_TRUE(ready) << client.Output();
  EXPECT_EQ((*ready)[off::kCmd], 16);
  EXPECT_EQ(Value(*ready, 3), 1);

  // A hand dealt by the player: two four-alike groups and an honour to throw.
  Send(Make(4, kOwnMask, {1, 2, 3, 4}));
  Send(Deal({0x81, 0x81, 0x81, 0x81, 0x45, 0x45, 0x45, 0x45, 0x22, 0x23, 0x24, 0x11}));
  for (int mask : {kOwnMask, kRightMask, kTopMask, kLeftMask}) Send(Make(5, mask, {0, 0, 0, mask == kOwnMask ? 0x11 : 0}));
  Send(Make(5, kOwnMask, {0, 0, 0, 0x17}));
  Send(Make(14, 0, {0, 0, 0x27, 0x26}));
  auto dealt = WaitDump([](const Dump& d) { return d.count == 14; }, 20000);
  ASSERT_TRUE(dealt) << "the hand was not dealt\n" << client.Output() << "\n" << (Now() ? Now()->text.left(3000).toStdString() : "no dump");
  Pump(1500);  // the dealt hand turns face up
  dealt = Now();
  Shot("player_input_deal.png");

  // Hover: the tile under the pointer stands 10 pixels up.
  const int last = dealt->count - 1;
  MoveTo(dealt->TileCentre(dealt->OwnImage(3)));
  ASSERT_TRUE(WaitDump([&](const Dump& d) { return d.tiles.at(dealt->OwnImage(3)).top == 554; }, 5000))
      << "no raise under the pointer";

  // The own turn: the offer with nothing in it, then a click on the honour 中 at the end.
  Send(Offer(0x00, 15));
  ASSERT_TRUE(WaitDump([](const Dump& d) { return d.controls.at("Operation 4").visible; }, 5000));
  Shot("player_input_offer.png");
  const int image = dealt->OwnImage(last), code = dealt->OwnCode(last);
  const auto arrived = TimedClick(dealt->TileCentre(image), 2);
  ASSERT_EQ(arrived.size(), 2u) << client.Output();
  const Packet& pass = arrived[0].first;
  EXPECT_EQ(pass[off::kCmd], 7);
  EXPECT_EQ(Value(pass, 0), 1) << "the open offer is passed first";
  const Packet& discard = arrived[1].first;
  EXPECT_EQ(discard[off::kCmd], 2);
  EXPECT_EQ(discard[off::kSeat], kOwnMask);
  EXPECT_EQ(Value(discard, 3), code | 0x4000);
  std::printf("click to the server: the pass after %lld ms, the discard after %lld ms (one packet a tick)\n",
              static_cast<long long>(arrived[0].second), static_cast<long long>(arrived[1].second));
  auto centred = WaitDump([&](const Dump& d) { return d.tiles.at(image).left == (1024 - 36) / 2; }, 3000);
  ASSERT_TRUE(centred) << "the discard is not at the centre";
  EXPECT_EQ(centred->tiles.at(image).top, (768 - 50) / 2);

  // The server's echo, then the right seat's discard: 胡 is offered and clicked.
  Send(Make(2, kOwnMask, {0, 0, 0, code}));
  Send(Make(5, kRightMask));
  Send(Make(2, kRightMask, {0, 0, 0, 0x45}));
  Send(Offer(0x81, 15));
  auto hu = WaitDump([](const Dump& d) { return d.controls.at("Operation 3").enabled && d.controls.at("Operation 3").visible; });
  ASSERT_TRUE(hu) << "no 胡 to click";
  ClickAt({hu->controls.at("Operation 3").CentreX(), hu->controls.at("Operation 3").CentreY()});
  auto huReply = NextPacket();
  ASSERT_TRUE(huReply);
  EXPECT_EQ((*huReply)[off::kCmd], 7);
  EXPECT_EQ(Value(*huReply, 0), 128);

  // The top seat's discard: a right click on the bare table passes.
  Send(Make(5, kTopMask));
  Send(Make(2, kTopMask, {0, 0, 0, 0x29}));
  Send(Offer(0x11, 15));
  ASSERT_TRUE(WaitDump([](const Dump& d) { return d.controls.at("Operation 4").visible; }));
  ClickAt({dealt->controls.at("Pic1 -1").left + 512, dealt->controls.at("Pic1 -1").top + 250}, 3);
  auto rightPass = NextPacket();
  ASSERT_TRUE(rightPass);
  EXPECT_EQ(Value(*rightPass, 0), 1);

  // The own draw and a concealed gang: the chooser of two, the upper one clicked.
  Send(Make(5, kLeftMask));
  Send(Make(2, kLeftMask, {0, 0, 0, 0x13}));
  Send(Make(5, kOwnMask, {0, 0, 0, 0x16}));
  Send(Offer(0x21, 15));
  auto gang = WaitDump([](const Dump& d) { return d.controls.at("Operation 2").enabled && d.controls.at("Operation 2").visible; });
  ASSERT_TRUE(gang);
  ClickAt({gang->controls.at("Operation 2").CentreX(), gang->controls.at("Operation 2").CentreY()});
  auto chooser = WaitDump([](const Dump& d) { return d.controls.count("Gang 1") && d.controls.at("Gang 1").visible; });
  ASSERT_TRUE(chooser) << "no chooser";
  Shot("player_input_chooser.png");
  const Dump::Box upper = chooser->controls.at("Gang 1");
  ClickAt({upper.CentreX(), upper.top + 8});  // its top, clear of the lower picture
  auto gangReply = NextPacket();
  ASSERT_TRUE(gangReply);
  EXPECT_EQ(Value(*gangReply, 0), 32);
  for (int v = 1; v < 4; ++v) EXPECT_EQ(Value(*gangReply, v), 0x2045) << "the upper picture is the 5万 group";

  // The own turn once more: 过 by a right click first, then the discard goes alone.
  Send(Offer(0x00, 15));
  auto again = WaitDump([](const Dump& d) { return d.controls.at("Operation 4").visible; });
  ASSERT_TRUE(again);
  ClickAt({again->controls.at("Pic1 -1").left + 512, again->controls.at("Pic1 -1").top + 250}, 3);
  auto turnPass = NextPacket();
  ASSERT_TRUE(turnPass);
  EXPECT_EQ(Value(*turnPass, 0), 1);
  const int alone = again->OwnImage(0), aloneCode = again->OwnCode(0);
  const auto single = TimedClick(again->TileCentre(alone), 1);
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].first[off::kCmd], 2);
  EXPECT_EQ(Value(single[0].first, 3), aloneCode | 0x4000);
  std::printf("click to the server, the offer passed before: the discard after %lld ms\n",
              static_cast<long long>(single[0].second));
  Send(Make(2, kOwnMask, {0, 0, 0, aloneCode}));
  Send(Make(5, kRightMask));
  Send(Make(2, kRightMask, {0, 0, 0, 0x31 - 0x10}));
  Send(Make(5, kTopMask));
  Send(Make(2, kTopMask, {0, 0, 0, 0x12}));
  Send(Make(5, kLeftMask));
  Send(Make(2, kLeftMask, {0, 0, 0, 0x14}));
  Send(Make(5, kOwnMask, {0, 0, 0, 0x86}));

  // The keyboard: Left raises the newest tile, Enter discards it as a click does.
  Send(Offer(0x00, 15));
  ASSERT_TRUE(WaitDump([](const Dump& d) { return d.controls.at("Operation 4").visible; }));
  auto before = Now();
  const int newestCode = before->OwnCode(before->count - 1);
  Xdo({"windowfocus", "--sync", window});
  Xdo({"key", "Left"});
  ASSERT_TRUE(WaitDump([&](const Dump& d) { return d.tiles.at(d.OwnImage(d.count - 1)).top == 554; }, 5000))
      << "Left raised nothing";
  Xdo({"key", "Return"});
  auto keyPass = NextPacket();
  ASSERT_TRUE(keyPass);
  EXPECT_EQ(Value(*keyPass, 0), 1);
  auto keyDiscard = NextPacket();
  ASSERT_TRUE(keyDiscard);
  EXPECT_EQ((*keyDiscard)[off::kCmd], 2);
  EXPECT_EQ(Value(*keyDiscard, 3), newestCode | 0x4000);
  Pump(500);
  Shot("player_input_end.png");
  EXPECT_FALSE(NextPacket(1000)) << "nothing else was sent";
}

}  // namespace
}  // namespace tavrel::itest
