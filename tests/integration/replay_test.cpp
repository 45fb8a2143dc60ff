// A recorded hand replays into the same table. A hand is played with the real parts
// (tavrel-server, three bots that meld, the client through the lobby stand-in) while
// the client writes its debug log and its table model after every packet; then
// `tavrelmj --replay LOG --speed 16 --exit-at-end` plays the log offline, writing its
// table model after every packet too, and the two are compared packet by packet: the
// same tiles in the same places, the same rows. Then the hand is repeated into a
// ten-hand log and replayed at 16x, and the time it takes is printed (one recording
// serves both: a live hand takes more than a minute).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <map>

#include "meld_table_harness.h"

namespace tavrel::itest {
namespace {

// The table as both runs must agree on it: every tile picture's place and face
// (whichever wall position shows it; not whether it blinks), the rows' slots (kind
// and code) and the seats' counts.
QStringList Table(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("missing ") + path};
  QStringList tiles, rest;
  for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
    const QStringList w = line.split(' ');
    if (w[0] == "tile" && w.size() == 9)
      tiles << QStringList{w[3], w[4], w[5], w[6], w[7]}.join(' ');
    else if (w[0] == "slot" && w.size() == 6)
      rest << QStringList{w[0], w[1], w[2], w[3], w[4]}.join(' ');
    else if (w[0] == "seat" || w[0] == "revealed")
      rest << line;
  }
  tiles.sort();
  return rest + tiles;
}

struct ReplayTest : MeldTableTest {
  QString logPath() const { return env.dir.filePath("table.log"); }

  // The client through the lobby, recording.
  void StartRecordingClient(int port) {
    dumpDir = env.dir.filePath("live");
    QDir().mkpath(dumpDir);
    QProcessEnvironment e = env.Env();
    e.remove("TAVREL_PROGRAM_FOLDER");
    e.insert("TAVREL_SCREEN", "1280x1024");
    e.insert("TAVREL_TABLE_DUMP", dumpDir);
    e.insert("TAVREL_TABLE_DUMP_PACKETS", "all");
    e.insert("TAVREL_DEBUG_LOG", logPath());
    lobby.Start(kLobbyProgram, {"--headless", "--server-port", QString::number(port), "--user", "player"}, e);
  }

  // tavrelmj --replay: its exit status, -1 when it did not end in time.
  int Replay(const QString& log, const QString& dump, int limitMs, Child& replay) {
    QProcessEnvironment e = env.Env();
    e.remove("TAVREL_PROGRAM_FOLDER");
    e.insert("TAVREL_SCREEN", "1280x1024");
    if (!dump.isEmpty()) {
      QDir().mkpath(dump);
      e.insert("TAVREL_TABLE_DUMP", dump);
      e.insert("TAVREL_TABLE_DUMP_PACKETS", "all");
    }
    replay.Start(kClient, {"--replay", log, "--speed", "16", "--exit-at-end"}, e);
    if (!replay.WaitExit(limitMs)) return -1;
    return replay.process.exitStatus() == QProcess::NormalExit ? replay.process.exitCode() : -2;
  }
};

TEST_F(ReplayTest, ARecordedHandReplaysIntoTheSameTableAndTenHandsAtSixteenTimes) {
  const int port = StartServer({"--bots", "3", "--bot-delay", "0", "--decision-seconds", "2", "--grace", "200",
                                "--ready-first-hand", "--hands", "1", "--seed", "367"});
  ASSERT_GT(port, 0) << "build tavrelmj, tavrel-lobby and tavrel-server first" << server.Output();
  StartRecordingClient(port);
  auto end = WaitDump([](const Dump& d) { return d.hand >= 1 && d.LaidOpen(); }, 2500, 150000);
  ASSERT_TRUE(end) << "the hand did not come to its showdown" << Context();
  lobby.process.kill();
  lobby.WaitExit(5000);
  Pump(500);

  const QStringList live = QDir(dumpDir).entryList({"packet-*.txt"}, QDir::Files);
  ASSERT_GT(live.size(), 60) << "a hand has many packets";

  Child replay;
  const QString replayDump = env.dir.filePath("replay");
  ASSERT_EQ(Replay(logPath(), replayDump, 120000, replay), 0) << replay.Output();
  EXPECT_TRUE(replay.WaitOutput("replay ended")) << replay.Output();

  int compared = 0;
  for (const QString& name : live) {
    const QStringList a = Table(dumpDir + "/" + name), b = Table(replayDump + "/" + name);
    ASSERT_EQ(a.join('\n').toStdString(), b.join('\n').toStdString()) << "after " << name.toStdString();
    ++compared;
  }
  std::printf("compared the table after each of %d packets\n", compared);

  // A ten-hand log at 16x: the hand's packets, from its NewHand on, played ten times, each a little after the last.
  QFile in(logPath());
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  QStringList before, hand;
  for (const QString& line : QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts)) {
    if (line.contains(" recv 22 TableClosed")) break;  // the server's end after the one hand
    if (line.contains(" recv 4 NewHand")) hand.clear(), hand << line;
    else if (!hand.isEmpty()) hand << line;
    else before << line;
  }
  ASSERT_GT(hand.size(), 60);
  auto ms = [](const QString& line) {
    const QTime t = QTime::fromString(line.left(12), "HH:mm:ss.zzz");
    return t.isValid() ? t.msecsSinceStartOfDay() : -1;
  };
  const int first = ms(hand.first()), last = ms(hand.last());
  ASSERT_TRUE(first >= 0 && last >= first);
  QFile out(env.dir.filePath("ten.log"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  for (const QString& line : before) out.write((line + "\n").toUtf8());
  qint64 recorded = 0;
  for (int k = 0; k < 10; ++k) {
    const int shift = k * (last - first + 2000);
    for (const QString& line : hand) {
      const int t = ms(line);
      if (t < 0) continue;
      const QString stamp = QTime::fromMSecsSinceStartOfDay((t + shift) % 86400000).toString("HH:mm:ss.zzz");
      out.write((stamp + line.mid(12) + "\n").toUtf8());
    }
    recorded = shift + last - first;
  }
  out.close();

  Child tenHands;
  QElapsedTimer took;
  took.start();
  ASSERT_EQ(Replay(out.fileName(), QString(), 120000, tenHands), 0) << tenHands.Output();
  std::printf("a ten-hand log (%.0f s recorded) replayed at 16x in %.1f s\n", recorded / 1000.0, took.elapsed() / 1000.0);
}

TEST_F(ReplayTest, BadFilesEndWithAClearMessage) {
  const QString empty = env.dir.filePath("empty.log"), binary = env.dir.filePath("binary.log");
  QFile(empty).open(QIODevice::WriteOnly);
  {
    QFile b(binary);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    QByteArray junk(300000, '\0');
    for (int i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131) % 251);
    b.write(junk);
  }
  const struct {
    QString file;
    const char* message;
  } cases[] = {{empty, "nothing to replay"}, {binary, "skipped"}, {env.dir.filePath("missing.log"), "cannot read the replay file"}};
  for (const auto& c : cases) {
    Child replay;
    EXPECT_EQ(Replay(c.file, QString(), 30000, replay), 1) << replay.Output();
    EXPECT_TRUE(replay.WaitOutput(c.message, 1000)) << c.file.toStdString() << replay.Output();
  }
}

}  // namespace
}  // namespace tavrel::itest
