// The whole table as a player meets it, under a real X server: tavrel-server with
// three bots, the lobby stand-in and the table client. A click on 开始 through the
// window system (xdotool, at the place the layout gives AnNiu(2)) makes the server
// start the hand: its log shows the Continue and then the NewHand.
#include <QFile>

#include "window_system.h"

namespace tavrel::itest {
namespace {

// AnNiu(2), the start button, in the 1024 x 768 design: left 718, top 699, 60 x 30.
// On a screen above 1024 x 768 the table surface sits at (8, 20) inside the window.
constexpr int kSurfaceLeft = 8, kSurfaceTop = 20;
constexpr int kStartButtonCentreX = kSurfaceLeft + 718 + 30;
constexpr int kStartButtonCentreY = kSurfaceTop + 699 + 15;
constexpr int kScreenshotDelayMs = 9000;

QString ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

struct StartClickTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child xvfb, server, lobby;
  QString display;
};

TEST_F(StartClickTest, ClickOnStartMakesTheServerStartTheHand) {
  if (Tool("Xvfb").isEmpty() || Tool("xvfb-run").isEmpty())
    GTEST_SKIP() << "Xvfb (package xvfb) is not installed: the click through the window system cannot be tested";
  if (Tool("xdotool").isEmpty())
    GTEST_SKIP() << "xdotool is not installed: the click through the window system cannot be tested";
  ASSERT_TRUE(QFile::exists(kClient) && QFile::exists(kLobbyProgram)) << "build tavrelmj and tavrel-lobby first";
  display = StartXvfb(xvfb);
  ASSERT_FALSE(display.isEmpty()) << "Xvfb did not report its display: " << xvfb.Output();

  const QString log = env.dir.filePath("server.log");
  const int port = StartTableServer(server, {"--bots", "3", "--bot-delay", "100", "--log", log, "--seed", "7"});
  ASSERT_GT(port, 0) << server.Output();

  // The lobby stand-in starts the client on the X server; the client keeps the
  // picture pack of the program folder and its own runtime folder.
  QProcessEnvironment clientEnv = env.Env();
  clientEnv.insert("DISPLAY", display);
  clientEnv.insert("QT_QPA_PLATFORM", "xcb");
  clientEnv.remove("TAVREL_PROGRAM_FOLDER");
  clientEnv.remove("TAVREL_SCREEN");
  const QString shot = env.dir.filePath("start_click.png");
  clientEnv.insert("TAVREL_SCREENSHOT", shot);
  clientEnv.insert("TAVREL_SCREENSHOT_DELAY_MS", QString::number(kScreenshotDelayMs));
  lobby.Start(kLobbyProgram, {"--headless", "--server-port", QString::number(port), "--user", "player"}, clientEnv);

  // The table is formed once the server has announced the dealer to the player.
  ASSERT_TRUE(WaitFor([&] { return ReadAll(log).contains("PlayerLeft(16)"); }, 20000))
      << "the table was not formed\nlobby:\n" << lobby.Output() << "\nserver log:\n" << ReadAll(log).toStdString();
  Pump(1000);
  EXPECT_FALSE(ReadAll(log).contains("NewHand(4)")) << "no hand before the player is ready";

  QProcessEnvironment x = QProcessEnvironment::systemEnvironment();
  x.insert("DISPLAY", display);
  const QString window = FindWindow("Tavrel", x);
  ASSERT_FALSE(window.isEmpty()) << "the table window is not mapped\n" << lobby.Output();
  RunTool(Tool("xdotool"), {"mousemove", "--window", window, QString::number(kStartButtonCentreX),
                        QString::number(kStartButtonCentreY), "click", "1"},
      x);

  ASSERT_TRUE(WaitFor([&] { return ReadAll(log).contains("NewHand(4)"); }, 20000))
      << "no hand after the click\nlobby:\n" << lobby.Output() << "\nserver log:\n" << ReadAll(log).toStdString();
  const QString text = ReadAll(log);
  const int cont = text.indexOf(QRegularExpression("in  conn=\\d+ seat=\\d+ Continue/Leave\\(16\\) seat=\\d+ v=0,0,0,1"));
  ASSERT_GE(cont, 0) << text.toStdString();
  EXPECT_GT(text.indexOf("NewHand(4)"), cont) << "Continue first, then the hand";

  // A picture of the table after the click, kept in the build folder to be looked at.
  if (WaitFor([&] { return QFile::exists(shot); }, kScreenshotDelayMs + 5000)) {
    Pump(300);
    QFile::remove(kProgramDir + "/../start_click.png");
    QFile::copy(shot, kProgramDir + "/../start_click.png");
  }
}

}  // namespace
}  // namespace tavrel::itest
