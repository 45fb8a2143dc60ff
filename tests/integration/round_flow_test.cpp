// A whole hand with the real parts: tavrel-server with three bots (it moves for the
// silent human seat too), the lobby stand-in headless and tavrelmj offscreen, with a
// relay in between that counts the server's packets and can cut the client's line.
// The client writes its table model (TAVREL_TABLE_DUMP) and takes screenshots on
// request; they are kept in the build folder: round_after_deal.png,
// round_mid_hand.png, round_end.png, round_rejoin_before.png, round_rejoin_after.png.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <map>
#include <set>

#include "session_harness.h"

namespace tavrel::itest {
namespace {

constexpr int kHandLimitMs = 150000;

// The server's packets pass whole; the client's side can be cut while the line to
// the server stays, so that the server sees nothing but a reconnection.
struct Relay {
  struct Link {
    QTcpSocket* client = nullptr;
    QTcpSocket* upstream = nullptr;
    QByteArray fromServer, toServer;
    bool cut = false;
  };
  QTcpServer server;
  int upstreamPort = 0;
  std::vector<std::unique_ptr<Link>> links;
  std::vector<Packet> packets;  // every packet the server sent to the client, in order

  explicit Relay(int port) : upstreamPort(port) {
    EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* c = server.nextPendingConnection()) Open(c);
    });
  }
  ~Relay() {
    for (auto& l : links) {
      QObject::disconnect(l->client, nullptr, nullptr, nullptr);
      QObject::disconnect(l->upstream, nullptr, nullptr, nullptr);
    }
  }
  int Port() const { return server.serverPort(); }

  void Open(QTcpSocket* c) {
    auto link = std::make_unique<Link>();
    Link* l = link.get();
    l->client = c;
    l->upstream = new QTcpSocket(&server);
    QObject::connect(c, &QTcpSocket::readyRead, [l] {
      l->toServer.append(l->client->readAll());
      if (l->upstream->state() == QAbstractSocket::ConnectedState) {
        l->upstream->write(l->toServer);
        l->toServer.clear();
      }
    });
    QObject::connect(l->upstream, &QTcpSocket::connected, [l] {
      l->upstream->write(l->toServer);
      l->toServer.clear();
    });
    QObject::connect(l->upstream, &QTcpSocket::readyRead, [this, l] {
      l->fromServer.append(l->upstream->readAll());
      while (l->fromServer.size() >= static_cast<int>(kPacketSize)) {
        Packet p{};
        std::memcpy(p.data(), l->fromServer.constData(), kPacketSize);
        l->fromServer.remove(0, kPacketSize);
        if (l->cut) continue;
        packets.push_back(p);
        l->client->write(reinterpret_cast<const char*>(p.data()), kPacketSize);
      }
    });
    l->upstream->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(upstreamPort));
    links.push_back(std::move(link));
  }
  // The client's line goes dead; the server's stays open until it is replaced.
  void CutClient() {
    Link& l = *links.back();
    l.cut = true;
    l.client->abort();
  }
  int Count(int command) const {
    return static_cast<int>(std::count_if(packets.begin(), packets.end(), [&](const Packet& p) { return p[off::kCmd] == command; }));
  }
  // DiscardTile packets per seat mask.
  std::map<int, int> DiscardsBySeat() const {
    std::map<int, int> out;
    for (const Packet& p : packets)
      if (p[off::kCmd] == 2 && p[15] != 0) ++out[p[off::kSeat] & 0xF];
    return out;
  }
};

// The client's table model, read from its dump.
struct Model {
  struct Seat {
    int mask = 0, first = 0, count = 0, meldEnd = 0, red = 0, wild = 0, discards = 0;
  };
  struct Tile {
    bool visible = false;
    int left = 0, top = 0, width = 0, height = 0, picture = 0;
  };
  std::map<std::string, long> round;
  Seat seats[4];
  std::vector<std::array<int, 5>> rowSlots;  // r, k, kind, code, image
  Tile tiles[84];
  QString text;
  QString tableText;  // the table's lines only: the countdown's figure changes every second

  static long Field(const QString& line, const QString& name) {
    const QRegularExpression re(" " + name + "=(-?[0-9.]+)");
    const auto m = re.match(line);
    return m.hasMatch() ? std::lround(m.captured(1).toDouble()) : -999;
  }
  static std::optional<Model> Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    Model m;
    m.text = QString::fromUtf8(f.readAll());
    for (const QString& line : m.text.split('\n', Qt::SkipEmptyParts)) {
      const QStringList w = line.split(' ');
      if (w[0] == "round" || w[0] == "seat" || w[0] == "slot" || w[0] == "tile") m.tableText += line + '\n';
      if (w[0] == "round") {
        for (const char* name : {"hand", "front", "back", "wild", "lastImage", "lastSeat", "flushed", "restoreDone", "playing"})
          m.round[name] = Field(line, name);
      } else if (w[0] == "seat") {
        Seat& s = m.seats[w[1].toInt() & 3];
        s.mask = Field(line, "mask");
        s.first = Field(line, "first");
        s.count = Field(line, "count");
        s.meldEnd = Field(line, "meldEnd");
        s.red = Field(line, "red");
        s.wild = Field(line, "wildBonus");
        s.discards = Field(line, "discards");
      } else if (w[0] == "slot" && w.size() == 6) {
        m.rowSlots.push_back({w[1].toInt(), w[2].toInt(), w[3].toInt(), w[4].toInt(), w[5].toInt()});
      } else if (w[0] == "tile" && w.size() == 9) {
        Tile& t = m.tiles[w[1].toInt() % 84];
        t = {w[2] == "1", w[3].toInt(), w[4].toInt(), w[5].toInt(), w[6].toInt(), w[7].toInt()};
      }
    }
    return m;
  }
  int TotalDiscards() const {
    int n = 0;
    for (const Seat& s : seats) n += s.discards;
    return n;
  }
  // Discards of relative seat r, the tile still at the centre included.
  int DiscardsOf(int r) const {
    const bool atCentre = round.at("flushed") == 0 && round.at("lastImage") >= 0 && round.at("lastSeat") == r;
    return seats[r].discards + (atCentre ? 1 : 0);
  }
  // Tiles a seat holds: concealed, open and set aside.
  int Held(int r) const {
    const Seat& s = seats[r];
    return s.count + (s.meldEnd - (r == 0 ? 3 : 4)) + s.red + s.wild;
  }
};

struct RoundFlowTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child server, lobby;
  std::unique_ptr<Relay> relay;
  QString dumpDir;

  void Start(int seed, int graceMs, int decisionSeconds = 3) {
    ASSERT_TRUE(QFile::exists(kClient) && QFile::exists(kLobbyProgram)) << "build tavrelmj and tavrel-lobby first";
    const int port = StartTableServer(
        server, {"--bots", "3", "--bot-delay", "100", "--decision-seconds", QString::number(decisionSeconds), "--grace",
                 QString::number(graceMs), "--ready-first-hand", "--seed", QString::number(seed), "--log",
                 env.dir.filePath("server.log")});
    ASSERT_GT(port, 0) << server.Output();
    relay = std::make_unique<Relay>(port);
    dumpDir = env.dir.filePath("dump");
    QDir().mkpath(dumpDir);
    QProcessEnvironment clientEnv = env.Env();
    clientEnv.remove("TAVREL_PROGRAM_FOLDER");
    clientEnv.insert("TAVREL_SCREEN", "1280x1024");
    clientEnv.insert("TAVREL_TABLE_DUMP", dumpDir);
    lobby.Start(kLobbyProgram, {"--headless", "--server-port", QString::number(relay->Port()), "--user", "player"},
                clientEnv);
  }
  std::optional<Model> Now() { return Model::Read(dumpDir + "/table.txt"); }
  // Waits until the model satisfies `ok` and has not changed for `quietMs`.
  std::optional<Model> WaitModel(const std::function<bool(const Model&)>& ok, int quietMs, int limitMs) {
    QString last;
    QElapsedTimer quiet, total;
    total.start();
    quiet.start();
    while (total.elapsed() < limitMs) {
      Pump(100);
      auto m = Now();
      if (!m) continue;
      if (m->tableText != last) {
        last = m->tableText;
        quiet.restart();
      }
      if (ok(*m) && quiet.elapsed() >= quietMs) return m;
    }
    return std::nullopt;
  }
  // A screenshot of the client, kept in the build folder.
  void Shot(const QString& name) { RequestShot(dumpDir, env.dir.filePath(name)); }
  std::string Context() { return env.Context(lobby); }

  // Every tile lies on the felt, no two tiles on one place, every row tile shown.
  static void ExpectTilesInPlace(const Model& m) {
    std::set<std::pair<int, int>> places;
    for (int i = 0; i < 84; ++i) {
      const Model::Tile& t = m.tiles[i];
      if (!t.visible) continue;
      EXPECT_TRUE(t.left >= 0 && t.top >= 0 && t.left + t.width <= 1024 && t.top + t.height <= 768)
          << "tile " << i << " off the felt at " << t.left << "," << t.top;
      EXPECT_TRUE(places.insert({t.left, t.top}).second) << "tile " << i << " lies on another at " << t.left << "," << t.top;
    }
    std::set<int> rowImages;
    for (const auto& s : m.rowSlots) {
      const Model::Seat& seat = m.seats[s[0]];
      if (s[1] < seat.first || s[1] >= seat.first + seat.count) continue;
      EXPECT_TRUE(rowImages.insert(s[4]).second) << "picture " << s[4] << " in two row rowSlots";
      ASSERT_TRUE(s[4] >= 0 && s[4] < 84);
      EXPECT_TRUE(m.tiles[s[4]].visible) << "row tile " << s[4] << " of seat " << s[0] << " hidden";
    }
  }
};

TEST_F(RoundFlowTest, AWholeHandFromTheDealToTheEnd) {
  Start(7, 200);
  auto dealt = WaitModel(
      [](const Model& m) {
        if (m.round.at("wild") <= 0) return false;
        for (const auto& s : m.seats)
          if (s.count < 13) return false;
        return true;
      },
      0, 30000);
  ASSERT_TRUE(dealt) << "the hand was not dealt" << Context();
  Shot("round_after_deal.png");
  ExpectTilesInPlace(*dealt);
  // The own hand stands in line at the row origin, face up and sorted.
  for (const auto& s : dealt->rowSlots)
    if (s[0] == 0 && s[1] >= 4 && s[1] < 4 + 13) {
      EXPECT_EQ(dealt->tiles[s[4]].top, 564) << s[1];
    }

  auto mid = WaitModel([](const Model& m) { return m.TotalDiscards() >= 12; }, 0, 60000);
  ASSERT_TRUE(mid) << "play did not go on" << Context();
  Shot("round_mid_hand.png");

  ASSERT_TRUE(WaitFor([&] { return relay->Count(9) >= 4; }, kHandLimitMs)) << "the hand did not end" << Context();
  auto end = WaitModel([](const Model&) { return true; }, 2000, 20000);
  ASSERT_TRUE(end) << Context();
  Shot("round_end.png");

  ExpectTilesInPlace(*end);
  int shown = 0;
  for (const auto& t : end->tiles) shown += t.visible;
  EXPECT_EQ(shown, 84) << "each tile of the wall is somewhere on the table";
  // Every seat's discards lie in its row (or, the last one, at the centre).
  const auto discards = relay->DiscardsBySeat();
  for (int r = 0; r < 4; ++r) {
    const int mask = end->seats[r].mask;
    EXPECT_EQ(end->DiscardsOf(r), discards.count(mask) ? discards.at(mask) : 0) << "seat " << r;
  }
  EXPECT_GE(end->TotalDiscards(), 12);
}

TEST_F(RoundFlowTest, ARejoinedClientRebuildsTheTableItLeft) {
  // The server waits long for the silent seat, and the player's own countdown is long,
  // so that nothing moves while it is away.
  Start(11, 15000, 20);
  ASSERT_TRUE(WaitFor(
      [&] {
        const auto& p = relay->packets;
        return relay->Count(2) >= 8 && !p.empty() && p.back()[off::kCmd] == 6;
      },
      kHandLimitMs))
      << "no offer to the player after some discards" << Context();
  auto before = WaitModel([](const Model&) { return true; }, 1500, 20000);
  ASSERT_TRUE(before) << Context();
  Shot("round_rejoin_before.png");
  const int claimsBefore = relay->Count(7);

  relay->CutClient();
  ASSERT_TRUE(WaitFor([&] { return relay->Count(40) >= 4; }, 30000)) << "no rejoin" << Context();
  auto after = WaitModel([](const Model& m) { return m.round.at("restoreDone") == 1; }, 1500, 20000);
  ASSERT_TRUE(after) << "the table was not rebuilt" << Context();
  Shot("round_rejoin_after.png");

  ExpectTilesInPlace(*after);
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(after->seats[r].mask, before->seats[r].mask);
    EXPECT_EQ(after->Held(r), before->Held(r)) << "tiles held";
    EXPECT_EQ(after->DiscardsOf(r), before->DiscardsOf(r)) << "discards";
    // Without a claim shown before the cut, the counts are the same slot for slot.
    if (claimsBefore == 0) {
      EXPECT_EQ(after->seats[r].count, before->seats[r].count);
      EXPECT_EQ(after->seats[r].meldEnd, before->seats[r].meldEnd);
    }
  }
  EXPECT_EQ(after->round.at("playing"), 1);
}

}  // namespace
}  // namespace tavrel::itest
