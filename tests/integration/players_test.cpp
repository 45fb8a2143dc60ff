// The players with the real parts. A bot leaves between hands (tavrel-server
// --bot-leaves-after 1): the client clears its seat, says so with the time,
// counts down, continues, and plays on with the bot that takes the seat. And,
// under a real X server, the player card appears when the pointer rests on an
// avatar. The client writes its table model (TAVREL_TABLE_DUMP); the screenshots
// are kept in the build folder: players_departed.png, players_refilled.png,
// players_card.png.
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "window_system.h"

namespace tavrel::itest {
namespace {

constexpr int kHandLimitMs = 150000;
// Tou(2), the top player's avatar, in the 1024 x 768 design: (350, 15), 70 x 62; on a
// screen above 1024 x 768 the table surface sits at (8, 20) inside the window.
constexpr int kSurfaceLeft = 8, kSurfaceTop = 20;
constexpr int kTopAvatarX = kSurfaceLeft + 350 + 35, kTopAvatarY = kSurfaceTop + 15 + 31;

// What the dump says of the players.
struct Players {
  struct Position {
    bool ready = false;
    int avatar = 0;
    QString account, nid;
  };
  Position at[4];
  QStringList sysmsg[2];
  bool countdownShown = false;
  int countdown = -1;
  bool cardVisible = false;
  QString cardName;
  long hand = -1;
  QString text;

  static std::optional<Players> Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    Players m;
    m.text = QString::fromUtf8(f.readAll());
    for (const QString& line : m.text.split('\n', Qt::SkipEmptyParts)) {
      if (line.startsWith("round ")) {
        const auto hand = QRegularExpression(" hand=(\\d+)").match(line);
        if (hand.hasMatch()) m.hand = hand.captured(1).toLong();
      } else if (line.startsWith("player ")) {
        const auto g = QRegularExpression("^player (\\d) ok=(\\d) tou=(\\d+) account=(\\S*) nid=(.*)$").match(line);
        if (!g.hasMatch()) continue;
        Position& p = m.at[g.captured(1).toInt() & 3];
        p = {g.captured(2) == "1", g.captured(3).toInt(), g.captured(4), g.captured(5)};
      } else if (line.startsWith("sysmsg ")) {
        m.sysmsg[line.mid(7, 1).toInt() & 1].append(line.mid(9));
      } else if (line.startsWith("countdown ")) {
        m.countdownShown = line.contains("shown=1") && line.contains("running=1");
        m.countdown = line.section("value=", 1).toInt();
      } else if (line.startsWith("card ")) {
        m.cardVisible = line.contains("visible=1");
        m.cardName = line.section("name=", 1);
      }
    }
    return m;
  }
  int PositionOf(const QString& account) const {
    for (int p = 0; p < 4; ++p)
      if (at[p].account == account) return p;
    return -1;
  }
};

struct PlayersTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child xvfb, server, lobby;
  QString dumpDir, display;

  std::string Context() { return env.Context(lobby); }
  // Server with three bots (seat 0 is the player's), the lobby stand-in and the client.
  void Start(const QStringList& serverOptions, const QProcessEnvironment& clientEnvironment) {
    ASSERT_TRUE(QFile::exists(kClient) && QFile::exists(kLobbyProgram)) << "build tavrelmj and tavrel-lobby first";
    const QStringList args = {"--bots", "3", "--bot-delay", "100", "--seed", "7", "--log", env.dir.filePath("server.log")};
    const int port = StartTableServer(server, args + serverOptions);
    ASSERT_GT(port, 0) << server.Output();
    dumpDir = env.dir.filePath("dump");
    QDir().mkpath(dumpDir);
    QProcessEnvironment clientEnv = clientEnvironment;
    clientEnv.remove("TAVREL_PROGRAM_FOLDER");
    clientEnv.insert("TAVREL_TABLE_DUMP", dumpDir);
    lobby.Start(kLobbyProgram, {"--headless", "--server-port", QString::number(port), "--user", "player"}, clientEnv);
  }
  std::optional<Players> Now() { return Players::Read(dumpDir + "/table.txt"); }
  std::optional<Players> WaitModel(const std::function<bool(const Players&)>& ok, int limitMs) {
    QElapsedTimer total;
    total.start();
    while (total.elapsed() < limitMs) {
      Pump(100);
      if (auto m = Now(); m && ok(*m)) return m;
    }
    return std::nullopt;
  }
  // A picture of the table window (or of the whole screen), kept in the build folder.
  void Shot(const QString& name, bool wholeScreen = false) {
    RequestShot(dumpDir, env.dir.filePath(name), wholeScreen ? ShotOf::WholeScreen : ShotOf::TableWindow);
  }
};

TEST_F(PlayersTest, ABotLeavesBetweenHandsAndAnotherTakesItsSeat) {
  QProcessEnvironment clientEnv = env.Env();
  clientEnv.insert("TAVREL_SCREEN", "1280x1024");
  Start({"--decision-seconds", "3", "--grace", "200", "--ready-first-hand", "--bot-leaves-after", "1"}, clientEnv);

  // robot1 sits at seat 1, at the player's right (position 3).
  auto formed = WaitModel([](const Players& m) { return m.PositionOf("robot1") == 3 && m.hand >= 1; }, 30000);
  ASSERT_TRUE(formed) << "the table was not formed" << Context();
  const QString leaver = formed->at[3].nid;
  EXPECT_TRUE(leaver.endsWith("机器人甲")) << leaver.toStdString();

  // After the first hand: the seat is cleared, the line says who left and when, the countdown runs.
  auto departed = WaitModel(
      [](const Players& m) { return m.at[3].nid.isEmpty() && m.countdownShown && !m.sysmsg[0].isEmpty(); },
      kHandLimitMs);
  ASSERT_TRUE(departed) << "no departure after the first hand" << Context();
  Shot("players_departed.png");
  ASSERT_EQ(departed->sysmsg[0].size(), 1);
  EXPECT_TRUE(QRegularExpression("^机器人甲退出了游戏 \\d{1,2}:\\d{1,2}:\\d{1,2}$").match(departed->sysmsg[0][0]).hasMatch())
      << departed->sysmsg[0][0].toStdString();
  EXPECT_TRUE(departed->at[3].account.isEmpty());
  EXPECT_EQ(departed->at[3].avatar, 0);
  EXPECT_LE(departed->countdown, 10) << "TableUsers with value(0) = 1: ten seconds";
  EXPECT_FALSE(departed->at[1].nid.isEmpty()) << "the others stay";

  // The countdown's Continue: the seats drawn again, another bot in the seat, the next hand.
  auto refilled = WaitModel([](const Players& m) { return m.PositionOf("robot4") >= 0 && m.hand >= 2; }, 40000);
  ASSERT_TRUE(refilled) << "the table did not go on with the new bot" << Context();
  EXPECT_EQ(refilled->PositionOf("robot4"), 3);
  EXPECT_TRUE(refilled->at[3].nid.endsWith("机器人丁")) << refilled->at[3].nid.toStdString();
  EXPECT_GT(refilled->at[3].avatar, 0);
  const QString log = env.ServerLog();
  const int cont = log.indexOf(QRegularExpression("in  conn=\\d+ seat=0 Continue/Leave\\(16\\) seat=\\d+ v=0,0,0,1"));
  EXPECT_GE(cont, 0) << "the countdown sent Continue";
  EXPECT_GT(log.indexOf("seats drawn anew"), cont);
  Pump(1500);
  Shot("players_refilled.png");
}

TEST_F(PlayersTest, ThePlayerCardAppearsWhenThePointerRestsOnAnAvatar) {
  if (Tool("Xvfb").isEmpty())
    GTEST_SKIP() << "Xvfb (package xvfb) is not installed: hovering through the window system cannot be tested";
  if (Tool("xdotool").isEmpty())
    GTEST_SKIP() << "xdotool is not installed: hovering through the window system cannot be tested";
  display = StartXvfb(xvfb);
  ASSERT_FALSE(display.isEmpty()) << "Xvfb did not report its display: " << xvfb.Output();

  QProcessEnvironment clientEnv = env.Env();
  clientEnv.insert("DISPLAY", display);
  clientEnv.insert("QT_QPA_PLATFORM", "xcb");
  clientEnv.remove("TAVREL_SCREEN");
  Start({}, clientEnv);
  auto seated = WaitModel([](const Players& m) { return !m.at[2].nid.isEmpty() && m.at[2].avatar > 0; }, 30000);
  ASSERT_TRUE(seated) << "nobody sits at the top" << Context();
  EXPECT_FALSE(seated->cardVisible);

  QProcessEnvironment x = QProcessEnvironment::systemEnvironment();
  x.insert("DISPLAY", display);
  const QString window = FindWindow("Tavrel", x);
  ASSERT_FALSE(window.isEmpty()) << "the table window is not mapped\n" << lobby.Output();
  // Onto the avatar in two small steps, as a hand would.
  for (int step : {-6, 0})
    RunTool(Tool("xdotool"),
            {"mousemove", "--window", window, QString::number(kTopAvatarX + step), QString::number(kTopAvatarY + step)}, x);
  auto card = WaitModel([](const Players& m) { return m.cardVisible; }, 10000);
  ASSERT_TRUE(card) << "no card on the avatar" << Context();
  EXPECT_FALSE(card->cardName.isEmpty());
  EXPECT_TRUE(card->at[2].nid.endsWith("] " + card->cardName)) << "the card names the top player";
  Pump(500);
  Shot("players_card.png", true);

  // Off the avatar, onto the table: the card goes.
  RunTool(Tool("xdotool"), {"mousemove", "--window", window, "520", "420"}, x);
  EXPECT_TRUE(WaitModel([](const Players& m) { return !m.cardVisible; }, 10000)) << "the card stayed";
}

}  // namespace
}  // namespace tavrel::itest
