#pragma once
// Real programs around the table client: a small game server on 127.0.0.1 that
// the test plays, a lobby window on the real lobby link, and tavrelmj (or
// tavrel-lobby) as child processes that die with the test and are killed in the
// fixture's teardown. Every wait has a limit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QEventLoop>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/qt_backend.h"
#include "platform/qt/lobby_link_qt.h"
#include "session/command_record.h"
#include "session/wire.h"

namespace tavrel::itest {

inline const QString kProgramDir = TAVREL_PROGRAM_DIR;
inline const QString kClient = kProgramDir + "/tavrelmj";
inline const QString kLobbyProgram = kProgramDir + "/tavrel-lobby";
inline constexpr int kWaitMs = 15000;

inline void EnsureApp() {
  static int argc = 1;
  static char name[] = "session_test";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

// Runs the event loop until done() holds or ms pass.
inline bool WaitFor(const std::function<bool()>& done, int ms = kWaitMs) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() >= ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}
inline void Pump(int ms) {
  WaitFor([] { return false; }, ms);
}

inline Packet Make(int command, int seat = 0, std::array<int, 4> values = {0, 0, 0, 0}, SessionToken token = {0, 0}) {
  Info info;
  info.Cmd = static_cast<std::int16_t>(command);
  info.Seat = static_cast<std::uint8_t>(seat);
  for (int i = 0; i < 4; ++i) info.value[i] = static_cast<std::int16_t>(values[i]);
  return EncodeRecord(info, token);
}

// One client connection of the test server: the bytes it sent, cut into packets.
struct ServerConn {
  QTcpSocket* socket = nullptr;
  QByteArray received;
  bool closed = false;
  std::size_t PacketCount() const { return static_cast<std::size_t>(received.size()) / kPacketSize; }
  Packet PacketAt(std::size_t i) const {
    Packet p{};
    std::memcpy(p.data(), received.constData() + i * kPacketSize, kPacketSize);
    return p;
  }
  void Send(const Packet& p) {
    socket->write(reinterpret_cast<const char*>(p.data()), static_cast<qint64>(p.size()));
    socket->flush();
  }
};

struct TestServer {
  QTcpServer server;
  std::deque<std::unique_ptr<ServerConn>> conns;

  TestServer() {
    EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server.nextPendingConnection()) {
        auto c = std::make_unique<ServerConn>();
        c->socket = s;
        ServerConn* raw = c.get();
        QObject::connect(s, &QTcpSocket::readyRead, [raw] { raw->received.append(raw->socket->readAll()); });
        QObject::connect(s, &QTcpSocket::disconnected, [raw] { raw->closed = true; });
        conns.push_back(std::move(c));
      }
    });
  }
  ~TestServer() {
    // The sockets outlive their records inside QTcpServer; their signals must not reach them.
    for (auto& c : conns) QObject::disconnect(c->socket, nullptr, nullptr, nullptr);
  }
  int Port() const { return server.serverPort(); }
  // Waits for connection number n (0-based) and its packet number k; null on time-out.
  std::optional<Packet> WaitPacket(std::size_t n, std::size_t k, int ms = kWaitMs) {
    if (!WaitFor([&] { return conns.size() > n && conns[n]->PacketCount() > k; }, ms)) return std::nullopt;
    return conns[n]->PacketAt(k);
  }
  ServerConn& Conn(std::size_t n) { return *conns.at(n); }
};

// The lobby window, played by the test on the real link.
struct TestLobby {
  struct Received {
    int message;
    long wParam;
  };
  platform::qt::LobbyLinkQt link;
  std::vector<Received> received;
  explicit TestLobby(const std::string& dir, const std::string& caption = "Virel山庄") : link(dir) {
    link.onMessage = [this](int m, long w, long) { received.push_back({m, w}); };
    EXPECT_TRUE(link.RegisterWindow(caption));
  }
  int Count(int message, long wParam = -1) const {
    int n = 0;
    for (const auto& r : received)
      if (r.message == message && (wParam < 0 || r.wParam == wParam)) ++n;
    return n;
  }
  bool WaitMessage(int message, int count = 1, long wParam = -1, int ms = kWaitMs) {
    return WaitFor([&] { return Count(message, wParam) >= count; }, ms);
  }
  bool Post(int message) { return link.PostMessage("Tavrel麻将", message, 0, 0); }
};

// Which picture a client with a table dump (TAVREL_TABLE_DUMP) takes on request.
enum class ShotOf { TableWindow, WholeScreen };

// Asks the client for a picture into `target` (the request file is renamed into
// place, so the client never reads half of it), waits for it, and keeps a copy
// named like it in the build folder.
inline void RequestShot(const QString& dumpDir, const QString& target, ShotOf what = ShotOf::TableWindow,
                        int settleMs = 0) {
  const QString request = dumpDir + (what == ShotOf::WholeScreen ? "/screen.request" : "/shot.request");
  QFile file(request + ".tmp");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(target.toUtf8());
  file.close();
  QFile::rename(request + ".tmp", request);
  const QString name = QFileInfo(target).fileName();
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(target); }, 10000)) << name.toStdString();
  if (settleMs > 0) WaitFor([] { return false; }, settleMs);
  const QString kept = QDir::cleanPath(kProgramDir + "/../" + name);
  QFile::remove(kept);
  QFile::copy(target, kept);
  std::printf("screenshot: %s\n", kept.toLocal8Bit().constData());
}

// A child program that dies with the test and is killed at the end of the test.
struct Child {
  QProcess process;
  QByteArray output;
  bool pdeathsig = true;

  void Start(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] { output.append(process.readAllStandardOutput()); });
    if (pdeathsig) process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(program, args);
    EXPECT_TRUE(process.waitForStarted(5000)) << program.toStdString();
  }
  bool WaitOutput(const QString& text, int ms = kWaitMs) {
    return WaitFor([&] { return QString::fromUtf8(output).contains(text); }, ms);
  }
  bool WaitExit(int ms = kWaitMs) { return WaitFor([&] { return process.state() == QProcess::NotRunning; }, ms); }
  bool Running() const { return process.state() != QProcess::NotRunning; }
  std::string Output() const { return output.toStdString(); }
  ~Child() {
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished(3000);
    }
    output.append(process.readAllStandardOutput());
    // The client reports a control looked up under the wrong kind; that fails the test.
    EXPECT_FALSE(output.contains(app::kKindMismatchMark)) << output.toStdString();
  }
};

// Starts tavrel-server on a free loopback port (--port 0 comes first, then `args`)
// and gives the port it listens on, or 0 when it reports none.
inline int StartTableServer(Child& server, const QStringList& args) {
  server.Start(kProgramDir + "/tavrel-server", QStringList{"--port", "0"} + args,
               QProcessEnvironment::systemEnvironment());
  if (!server.WaitOutput("listening on")) return 0;
  return QString::fromUtf8(server.output).section(':', -1).section('\n', 0, 0).trimmed().toInt();
}

// A fresh runtime folder and program folder per test, so tests never meet each other's windows or locks.
struct SessionEnv {
  QTemporaryDir dir;
  SessionEnv() {
    EXPECT_TRUE(dir.isValid());
    ::mkdir((dir.path() + "/tavrel").toLocal8Bit().constData(), 0700);
  }
  std::string LinkDir() const { return (dir.path() + "/tavrel").toStdString(); }
  QProcessEnvironment Env() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TAVREL_BOX_TIMEOUT_MS", "200");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("TAVREL_PROGRAM_FOLDER", dir.path());
    env.remove("TAVREL_DEBUG_LOG");
    // No sound from tests on a player's speakers: a sound server address where none is.
    env.insert("PULSE_SERVER", "unix:" + dir.path() + "/no-sound-server");
    return env;
  }
  // What tavrel-server wrote to its --log in this folder.
  QString ServerLog() const {
    QFile f(dir.filePath("server.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  // A QT_QPA_PLATFORM value: an offscreen screen of this size, so a window picture holds
  // the whole table.
  QString OffscreenScreen(int width, int height) const {
    QFile screens(dir.filePath("screens.json"));
    if (!screens.open(QIODevice::WriteOnly)) {
      ADD_FAILURE() << "cannot write " << screens.fileName().toStdString();
      return "offscreen";
    }
    screens.write(QString(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, "height": %2, "logicalDpi": 96}]})")
                      .arg(width)
                      .arg(height)
                      .toUtf8());
    return "offscreen:configfile=" + screens.fileName();
  }
  // The lobby's output and the server log's end, for a failure's message.
  std::string Context(const Child& lobby, int logTail = 3000) const {
    return "\nlobby:\n" + lobby.Output() + "\nserver log:\n" + ServerLog().right(logTail).toStdString();
  }
};

inline QString Line(int serverPort, const QString& user = "alice", const QString& key = "k3y-0001") {
  return QString("%1$%2$127.0.0.1$%3$测试区$0$$$$$$$$0$0$").arg(user, key).arg(serverPort);
}

// Answer to a login: value(3) outcome, value(1) turn clock.
inline Packet LoginAnswer(int outcome, SessionToken token = {0x21, 0x43}) {
  return Make(18, 0, {0, 0x1C, 0, outcome}, token);
}

// The four seat names, the local player at seat index 1 (mask 2).
inline void SendSeatNames(ServerConn& c, const std::string& own, SessionToken token = {0x21, 0x43}) {
  const std::string names[4] = {"bob", own, "carol", "dave"};
  for (int i = 0; i < 4; ++i) {
    Packet p = Make(3, 1 << i, {0, 0, 0, 0}, token);
    wire::PutSingleByteText(p, off::kPayload, names[i], 16);
    c.Send(p);
  }
}

// A free loopback port (bound and released).
inline int FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const int port = probe.serverPort();
  probe.close();
  return port;
}

}  // namespace tavrel::itest
