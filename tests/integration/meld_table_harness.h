#pragma once
// The table model of a running client as the claims and spectator tests read it, and
// a fixture that starts tavrel-server with --bot-melds and a client through the lobby
// stand-in, with screenshots kept in the build folder.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <map>

#include "session_harness.h"

namespace tavrel::itest {

// The client's table model, as far as this test reads it.
struct Dump {
  QString text;
  long hand = -1, winner = -1, restoreDone = 0;
  std::map<int, int> kinds;  // slot kind -> slots
  int red = 0;               // 中 set aside, all seats
  int revealedSeats = 0;     // other seats whose concealed tiles are all known
  int counts[4] = {0, 0, 0, 0};
  struct Tile {
    bool visible;
    int left, top, width, height;
  };
  std::vector<Tile> tiles;

  static long Field(const QString& line, const QString& name) {
    const auto m = QRegularExpression(" " + name + "=(-?[0-9.]+)").match(line);
    return m.hasMatch() ? std::lround(m.captured(1).toDouble()) : -999;
  }
  static std::optional<Dump> Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    Dump d;
    d.text = QString::fromUtf8(f.readAll());
    for (const QString& line : d.text.split('\n', Qt::SkipEmptyParts)) {
      const QStringList w = line.split(' ');
      if (w[0] == "round") {
        d.hand = Field(line, "hand");
        d.restoreDone = Field(line, "restoreDone");
      } else if (w[0] == "claims") {
        d.winner = Field(line, "winner");
      } else if (w[0] == "seat") {
        d.red += Field(line, "red");
        d.counts[w[1].toInt() & 3] = Field(line, "count");
      } else if (w[0] == "slot" && w.size() == 6) {
        ++d.kinds[w[3].toInt()];
      } else if (w[0] == "revealed") {
        if (Field(line, "n") > 0) ++d.revealedSeats;
      } else if (w[0] == "tile" && w.size() == 9) {
        d.tiles.push_back({w[2] == "1", w[3].toInt(), w[4].toInt(), w[5].toInt(), w[6].toInt()});
      }
    }
    return d;
  }
  int Gangs() const { return Kind(4) + Kind(5) + Kind(6); }
  int Kind(int k) const { return kinds.count(k) ? kinds.at(k) : 0; }
  bool LaidOpen() const { return revealedSeats == 3 && counts[1] == 0 && counts[2] == 0 && counts[3] == 0; }
};

struct MeldTableTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child server, lobby;
  QString dumpDir;

  std::string Context() { return env.Context(lobby); }
  int StartServer(const QStringList& extra) {
    if (!QFile::exists(kClient) || !QFile::exists(kLobbyProgram)) return 0;
    return StartTableServer(server, QStringList{"--bot-melds", "--log", env.dir.filePath("server.log")} + extra);
  }
  void StartClient(int port, const QStringList& lobbyArgs) {
    dumpDir = env.dir.filePath("dump");
    QDir().mkpath(dumpDir);
    QProcessEnvironment e = env.Env();
    e.remove("TAVREL_PROGRAM_FOLDER");
    e.insert("TAVREL_SCREEN", "1280x1024");
    e.insert("TAVREL_TABLE_DUMP", dumpDir);
    lobby.Start(kLobbyProgram, QStringList{"--headless", "--server-port", QString::number(port)} + lobbyArgs, e);
  }
  std::optional<Dump> Now() { return Dump::Read(dumpDir + "/table.txt"); }
  // Waits until the model satisfies `ok` and has stayed the same for `quietMs`.
  std::optional<Dump> WaitDump(const std::function<bool(const Dump&)>& ok, int quietMs, int limitMs) {
    QString last;
    QElapsedTimer quiet, total;
    total.start();
    quiet.start();
    while (total.elapsed() < limitMs) {
      Pump(100);
      auto d = Now();
      if (!d) continue;
      // The table's lines; the countdown's figure changes every second after a hand.
      QString table = d->text.section("\ninput ", 0, 0);
      table.remove(QRegularExpression("\ncountdown [^\n]*"));
      if (table != last) {
        last = table;
        quiet.restart();
      }
      if (ok(*d) && quiet.elapsed() >= quietMs) return d;
    }
    return std::nullopt;
  }
  void Shot(const QString& name) { RequestShot(dumpDir, env.dir.filePath(name)); }
  static void ExpectOnTheFelt(const Dump& d) {
    for (std::size_t i = 0; i < d.tiles.size(); ++i) {
      const auto& t = d.tiles[i];
      if (!t.visible) continue;
      EXPECT_TRUE(t.left >= 0 && t.top >= 0 && t.left + t.width <= 1024 && t.top + t.height <= 768)
          << "tile " << i << " off the felt at " << t.left << "," << t.top;
    }
  }
};

}  // namespace tavrel::itest
