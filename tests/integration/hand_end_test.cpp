// Ten hands against the bots with the real parts: tavrel-server (dice and wealth
// doubling, the human seat played for the player, a winners' caption made of the
// record file's own signs "]", "=" and a line break), the lobby stand-in with the
// short clocks, and the client. Every hand ends in its sheet and its row in the
// history; the history's totals are the sums of its rows; the record file the client
// wrote reads back as the sheet it shows. The sheet of a won hand is kept in the build
// folder as hand_end_sheet.png. The client's pauses run at a tenth of their length and
// 继续 is pressed after a drawn hand: about a minute and a half.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdlib>

#include "session/ini_file.h"
#include "session_harness.h"

namespace tavrel::itest {
namespace {

constexpr int kHands = 10;
constexpr int kGameLimitMs = 540000;
const QString kCaption = QString::fromUtf8("胡]了=\r\n好");

// What the dump says of the sheet and the history.
struct Sheets {
  long hand = -1;
  bool sheetVisible = false;
  QStringList lines[8];
  struct Row {
    long hand = 0;
    double amount[4] = {};
  };
  std::vector<Row> rows;
  double total[4] = {};
  bool totalsShown = false;

  static double AmountOf(const QString& text) {
    static const QRegularExpression number("(-?\\d+)");
    const auto m = number.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0;
  }
  static std::optional<Sheets> Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    Sheets m;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
      if (line.startsWith("round ")) {
        const auto hand = QRegularExpression(" hand=(\\d+)").match(line);
        if (hand.hasMatch()) m.hand = hand.captured(1).toLong();
      } else if (line.startsWith("sheet visible=")) {
        m.sheetVisible = line.endsWith("=1");
      } else if (line.startsWith("sheetline ")) {
        m.lines[line.mid(10, 1).toInt() & 7].append(line.mid(12));
      } else if (line.startsWith("history row")) {
        const QStringList parts = line.mid(11).split(" |");
        if (parts.size() != 5) continue;
        Row r;
        r.hand = parts[0].trimmed().toLong();
        for (int s = 0; s < 4; ++s) r.amount[s] = AmountOf(parts[s + 1]);
        m.rows.push_back(r);
      } else if (line.startsWith("history total ")) {
        const int s = line.mid(14, 1).toInt() & 3;
        m.total[s] = AmountOf(line.mid(16));
        m.totalsShown = m.totalsShown || !line.mid(16).isEmpty();
      }
    }
    return m;
  }
  bool Won() const {
    for (const QString& l : lines[0])
      if (l.startsWith(QString::fromUtf8("胡牌总分"))) return true;
    return false;
  }
};

// The dump writes a line break inside a line as \r or \n; the record file as one space.
QString AsRecorded(QString line) {
  line.replace("\\r\\n", " ").replace("\\r", " ").replace("\\n", " ");
  line = line.trimmed();
  return line.isEmpty() ? QStringLiteral(" ") : line;
}

struct HandEndTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child server, lobby;
  QString dumpDir, programDir;

  std::string Context() { return env.Context(lobby, getenv("FULL_LOG") ? 100000000 : 3000); }
  std::optional<Sheets> Now() { return Sheets::Read(dumpDir + "/table.txt"); }
  std::optional<Sheets> WaitModel(const std::function<bool(const Sheets&)>& ok, int limitMs) {
    QElapsedTimer total;
    total.start();
    while (total.elapsed() < limitMs) {
      Pump(100);
      if (auto m = Now(); m && ok(*m)) return m;
    }
    return std::nullopt;
  }
  void Shot(const QString& name) { RequestShot(dumpDir, env.dir.filePath(name), ShotOf::WholeScreen); }
  // A click on a control of the table window, as the client's test hook takes it.
  void Press(const QString& control) {
    QSaveFile request(dumpDir + "/click.request");
    ASSERT_TRUE(request.open(QIODevice::WriteOnly));
    request.write(control.toUtf8());
    ASSERT_TRUE(request.commit());
  }
};

TEST_F(HandEndTest, TenHandsEachWithItsSheetAndHistoryRow) {
  ASSERT_TRUE(QFile::exists(kClient) && QFile::exists(kLobbyProgram)) << "build tavrelmj and tavrel-lobby first";
  // A program folder of the test's own (the record file lands there), with the pictures.
  programDir = env.dir.filePath("program");
  QDir().mkpath(programDir);
  ASSERT_TRUE(QFile::link(kProgramDir + "/pictures", programDir + "/pictures"));
  const int port = StartTableServer(
      server, {"--bots", "3", "--bot-delay", "20", "--autoplay", "60", "--seed", "4", "--ready-first-hand",
               "--dice-doubling", "--wealth-rate", "10", "--caption", kCaption, "--log", env.dir.filePath("server.log")});
  ASSERT_GT(port, 0) << server.Output();
  dumpDir = env.dir.filePath("dump");
  QDir().mkpath(dumpDir);
  QProcessEnvironment clientEnv = env.Env();
  clientEnv.insert("TAVREL_PROGRAM_FOLDER", programDir);
  clientEnv.insert("TAVREL_SCREEN", "1280x1024");
  // The draw pauses, the dice and the turn-over at a tenth of their length: what is
  // checked here is what the hands leave behind, not their pace.
  clientEnv.insert("TAVREL_PAUSE_PERCENT", "10");
  // The offscreen screen as large as the table window, so the picture holds the whole sheet.
  clientEnv.insert("QT_QPA_PLATFORM", env.OffscreenScreen(1280, 1024));
  clientEnv.insert("TAVREL_TABLE_DUMP", dumpDir);
  lobby.Start(kLobbyProgram,
              {"--headless", "--server-port", QString::number(port), "--user", "player", "--mode-switch", "1",
               "--lobby-caption", "Virel山庄 test", "--table-caption", "Tavrel麻将"},
              clientEnv);

  bool shot = false;
  QElapsedTimer game;
  game.start();
  std::optional<Sheets> last;
  while (game.elapsed() < kGameLimitMs) {
    auto m = WaitModel([&](const Sheets& s) { return !s.rows.empty() && (!last || s.rows.size() > last->rows.size()); },
                       kGameLimitMs - static_cast<int>(game.elapsed()));
    if (!m) break;
    last = m;
    // A drawn hand's countdown is 15 s: the player presses 继续 at once. A won hand's
    // 3-s countdown runs out, so both ways to the next hand are taken.
    if (!m->Won()) Press("AnNiu 2");
    if (!shot && m->Won() && m->sheetVisible) {
      Pump(600);
      Shot("hand_end_sheet.png");
      shot = true;
      // The record of this hand, as the client wrote it, is the sheet it shows.
      classIniFile record((programDir + "/info.vl").toStdString());
      const std::string section = "juNum:" + std::to_string(m->rows.back().hand);
      for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(record.GetIniKey(section, "count( " + std::to_string(i) + " )"), std::to_string(m->lines[i].size()))
            << i;
        for (int j = 0; j < m->lines[i].size(); ++j) {
          const std::string key = "count( " + std::to_string(i) + " )( " + std::to_string(j) + " )";
          const std::string value = record.GetIniKey(section, key);
          EXPECT_EQ(value.empty() ? std::string(" ") : value, AsRecorded(m->lines[i][j]).toStdString()) << key;
        }
      }
      bool captionSeen = false;
      for (int i = 0; i < 4; ++i)
        captionSeen = captionSeen || m->lines[i].contains(QString::fromUtf8("胡]了=\\r\\n好"));
      EXPECT_TRUE(captionSeen) << "the winners' caption on the sheet";
    }
    if (static_cast<int>(m->rows.size()) >= kHands) break;
  }
  ASSERT_TRUE(last) << "no hand ended" << Context();
  ASSERT_GE(static_cast<int>(last->rows.size()), kHands) << "hands finished: " << last->rows.size() << Context();
  EXPECT_TRUE(shot) << "no won hand among the ten";
  // Ten rows, hands 1 to 10, and totals that are the sums of the rows.
  Pump(500);
  auto final = Now();
  ASSERT_TRUE(final);
  double sums[4] = {};
  for (std::size_t r = 0; r < final->rows.size(); ++r) {
    EXPECT_EQ(final->rows[r].hand, static_cast<long>(r + 1));
    for (int s = 0; s < 4; ++s) sums[s] += final->rows[r].amount[s];
  }
  EXPECT_TRUE(final->totalsShown);
  for (int s = 0; s < 4; ++s) EXPECT_EQ(final->total[s], sums[s]) << s;
  EXPECT_EQ(sums[0] + sums[1] + sums[2] + sums[3], 0) << "the results of a table add up to nothing";
}

}  // namespace
}  // namespace tavrel::itest
