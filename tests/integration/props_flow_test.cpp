// Props end to end: tavrel-server --props (the winner of a hand gets a chest), the lobby
// stand-in with the props switch on, the client with the sample plug-in from its program
// folder. The first won hand is followed by the chest phase (a picture of the chests is
// kept in the build folder as props_chests.png), a chest opens with its animation
// (props_chest_open.png), and the sheet shows the plug-in's lines.
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "session_harness.h"

namespace tavrel::itest {
namespace {

constexpr int kGameLimitMs = 180000;
constexpr int kOpenChestPicture = 20002;  // the sample plug-in's open chest

// What the dump says of the props, the chests and the sheet.
struct Dump {
  int propState = 0;
  bool countdown = false, animating = false, sheetVisible = false;
  int chestsShown = 0, openChests = 0;
  QString label;
  QStringList sheetLines;

  static std::optional<Dump> Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    Dump d;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
      if (line.startsWith("props ")) {
        d.propState = QRegularExpression(" state=(-?\\d+)").match(line).captured(1).toInt();
        d.countdown = line.contains(" countdown=1");
        d.animating = line.contains(" animating=1");
      } else if (line.startsWith("control ImgProp ")) {
        // control ImgProp index visible enabled left top width height picture caption
        const QStringList f = line.split(' ');
        if (f.size() > 9 && f[3] == "1") {
          ++d.chestsShown;
          if (f[9].toInt() == kOpenChestPicture) ++d.openChests;
        }
      } else if (line.startsWith("control LbProp ")) {
        d.label = line.section(' ', 10);
      } else if (line.startsWith("sheet visible=")) {
        d.sheetVisible = line.endsWith("=1");
      } else if (line.startsWith("sheetline ")) {
        d.sheetLines.append(line.mid(12));
      }
    }
    return d;
  }
};

struct PropsFlowTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child server, lobby;
  QString dumpDir;

  std::string Context() { return env.Context(lobby); }
  std::optional<Dump> WaitDump(const std::function<bool(const Dump&)>& ok, int limitMs) {
    QElapsedTimer total;
    total.start();
    while (total.elapsed() < limitMs) {
      Pump(50);
      if (auto d = Dump::Read(dumpDir + "/table.txt"); d && ok(*d)) return d;
    }
    return std::nullopt;
  }
  void Shot(const QString& name) { RequestShot(dumpDir, env.dir.filePath(name)); }
};

TEST_F(PropsFlowTest, AWonHandIsFollowedByTheChestsAndThenTheSheetWithThePluginsLines) {
  ASSERT_TRUE(QFile::exists(kClient) && QFile::exists(kLobbyProgram)) << "build tavrelmj and tavrel-lobby first";
  ASSERT_TRUE(QFile::exists(kProgramDir + "/plugin/tools/PropDll.so")) << "build the sample plug-in first";
  // A program folder of the test's own, with the pictures and the plug-in.
  const QString programDir = env.dir.filePath("program");
  QDir().mkpath(programDir);
  ASSERT_TRUE(QFile::link(kProgramDir + "/pictures", programDir + "/pictures"));
  ASSERT_TRUE(QFile::link(kProgramDir + "/plugin", programDir + "/plugin"));
  const int port = StartTableServer(server, {"--bots", "3", "--bot-delay", "20", "--autoplay", "60", "--seed", "4",
                                             "--props", "--ready-first-hand", "--log", env.dir.filePath("server.log")});
  ASSERT_GT(port, 0) << server.Output();
  dumpDir = env.dir.filePath("dump");
  QDir().mkpath(dumpDir);
  QProcessEnvironment clientEnv = env.Env();
  clientEnv.insert("TAVREL_PROGRAM_FOLDER", programDir);
  clientEnv.insert("TAVREL_SCREEN", "1280x1024");
  // The offscreen screen as large as the table window, so the picture holds the whole table.
  clientEnv.insert("QT_QPA_PLATFORM", env.OffscreenScreen(1280, 1024));
  clientEnv.insert("TAVREL_TABLE_DUMP", dumpDir);
  lobby.Start(kLobbyProgram,
              {"--headless", "--server-port", QString::number(port), "--user", "player", "--mode-switch", "1",
               "--props", "1", "--lobby-caption", "Virel山庄 test", "--table-caption", "Tavrel麻将"},
              clientEnv);

  ASSERT_TRUE(WaitDump([](const Dump& d) { return d.propState == 2; }, 60000))
      << "the sample plug-in is loaded with its chests" << Context();
  // The first won hand: its chests, all closed.
  auto chests = WaitDump([](const Dump& d) { return d.countdown && d.chestsShown == 5; }, kGameLimitMs);
  ASSERT_TRUE(chests) << "no chest phase" << Context();
  EXPECT_EQ(chests->openChests, 0);
  EXPECT_TRUE(chests->label.contains(QString::fromUtf8("请选择一个宝箱打开")) ||
              chests->label.contains(QString::fromUtf8("请等待其他玩家打开宝箱")))
      << chests->label.toStdString();
  EXPECT_FALSE(chests->sheetVisible) << "the sheet waits for the chests";
  Shot("props_chests.png");
  // The chest opens (chosen for the player after 5 s, or the other's at 2) and counts its gold.
  auto opened = WaitDump([](const Dump& d) { return d.animating && d.openChests == 1; }, 8000);
  ASSERT_TRUE(opened) << "no chest opened" << Context();
  EXPECT_TRUE(opened->label.contains(QString::fromUtf8("金币"))) << opened->label.toStdString();
  Shot("props_chest_open.png");
  // Then the sheet, with the plug-in's lines in the winner's column.
  auto sheet = WaitDump([](const Dump& d) { return d.sheetVisible && !d.animating; }, 15000);
  ASSERT_TRUE(sheet) << "no sheet after the chest" << Context();
  EXPECT_TRUE(sheet->sheetLines.contains(QString::fromUtf8("宝箱奖励"))) << sheet->sheetLines.join(" / ").toStdString();
}

}  // namespace
}  // namespace tavrel::itest
