// The Wireshark dissector (tools/wireshark/tavrel.lua) on captures made on loopback
// with tshark: a hand against tavrel-server (the client through the lobby stand-in,
// a second player played here who says something in the chat), and a stream whose
// TCP segments split the packets anywhere and end in half a packet. Skipped with a
// message when tshark is missing or may not capture.
#include <QDir>
#include <QStandardPaths>
#include <map>
#include <set>

#include "meld_table_harness.h"
#include "session/cp936.h"
#include "session/startup.h"

namespace tavrel::itest {
namespace {

const QString kDissector = QStringLiteral(TAVREL_SOURCE_DIR "/tools/wireshark/tavrel.lua");
const QString kChatLine = QStringLiteral("你好，大家好！");

// One decoded packet, as tshark prints its fields.
struct Pdu {
  QString direction, name, text;
  int seat = 0;
  int values[4] = {0, 0, 0, 0};
};

struct DissectorTest : MeldTableTest {
  Child capture;
  QString pcap;
  QString tshark = QStandardPaths::findExecutable("tshark");

  // Starts tshark on the loopback's TCP; false (with the reason) when it cannot.
  bool StartCapture(std::string& why) {
    if (tshark.isEmpty()) {
      why = "tshark is not installed (apt-get install tshark)";
      return false;
    }
    pcap = env.dir.filePath("capture.pcapng");
    capture.Start(tshark, {"-i", "lo", "-f", "tcp", "-w", pcap, "-q"},
                  QProcessEnvironment::systemEnvironment());
    if (!capture.WaitOutput("Capturing on", 10000)) {
      why = "tshark may not capture on the loopback here: " + capture.Output();
      return false;
    }
    // tshark says so a little before its capture has begun.
    Pump(1500);
    return true;
  }
  void StopCapture() {
    Pump(800);  // the last segments reach the file
    capture.process.terminate();
    capture.WaitExit(10000);
  }
  // tshark with the dissector over the capture: one line per frame, its packets' fields.
  std::vector<Pdu> Decode(int port) {
    QProcess p;
    p.start(tshark, {"-X", "lua_script:" + kDissector, "-o", QString("tavrel.port:%1").arg(port), "-r", pcap, "-Y",
                     QString("tavrel && tcp.port == %1").arg(port), "-T", "fields", "-E", "occurrence=a", "-E", "aggregator=|", "-e", "tavrel.direction",
                     "-e", "tavrel.cmd_name", "-e", "tavrel.seat", "-e", "tavrel.value0", "-e", "tavrel.value1", "-e",
                     "tavrel.value2", "-e", "tavrel.value3", "-e", "tavrel.text"});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    std::vector<Pdu> out;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
      const QStringList f = line.split('\t');
      if (f.size() < 7) continue;
      const QStringList dirs = f[0].split('|');
      const QStringList texts = f.size() > 7 ? f[7].split('|') : QStringList();
      int textAt = 0;  // the packets with a text field, in order
      for (int i = 0; i < dirs.size(); ++i) {
        Pdu d;
        d.direction = dirs[i];
        d.name = f[1].split('|').value(i);
        d.seat = f[2].split('|').value(i).toInt(nullptr, 0);
        for (int v = 0; v < 4; ++v) d.values[v] = f[3 + v].split('|').value(i).toInt();
        if (d.name == "Chat" || d.name == "TableClosed" || (d.name == "PlayerLeft" && d.direction == "received"))
          d.text = texts.value(textAt++);
        out.push_back(d);
      }
    }
    return out;
  }
  // Bytes each way over the port, from tshark without the dissector.
  std::map<QString, long> TcpBytes(int port) {
    QProcess p;
    p.start(tshark, {"-r", pcap, "-Y", QString("tcp.port == %1 && tcp.len > 0").arg(port), "-T", "fields", "-e", "tcp.dstport", "-e", "tcp.len"});
    EXPECT_TRUE(p.waitForFinished(60000));
    std::map<QString, long> bytes;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
      const QStringList f = line.split('\t');
      bytes[f[0].toInt() == port ? "sent" : "received"] += f.value(1).toLong();
    }
    return bytes;
  }
};

Packet Packet272(int command, int seat, std::array<int, 4> values, SessionToken token) {
  return Make(command, seat, values, token);
}

// The second player at the table: logs in, says one line, discards what it draws and
// passes every offer.
struct Talker {
  QTcpSocket socket;
  QByteArray in;
  int ownMask = 0;
  SessionToken token{};
  void Send(Packet p) {
    StampToken(p, token);
    socket.write(reinterpret_cast<const char*>(p.data()), kPacketSize);
  }
  void Start(int port) {
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { Read(); });
    socket.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(socket.waitForConnected(5000));
    const Packet login = session::BuildLoginPacket("talker", "k3y-secret");
    socket.write(reinterpret_cast<const char*>(login.data()), kPacketSize);
  }
  void Read() {
    in.append(socket.readAll());
    while (in.size() >= static_cast<int>(kPacketSize)) {
      Packet p{};
      std::memcpy(p.data(), in.constData(), kPacketSize);
      in.remove(0, kPacketSize);
      token = TokenOf(p);
      const int command = p[off::kCmd], seat = p[off::kSeat] & 15;
      if (command == 3 && wire::SingleByteText(p, off::kPayload, 16) == "talker") {
        ownMask = seat;
        Packet chat = Packet272(19, ownMask, {0, 0, 0, 0}, token);
        const std::string gbk = text::Utf8ToCp936(kChatLine.toStdString());
        std::memcpy(chat.data() + off::kPayload, gbk.data(), std::min<std::size_t>(gbk.size(), 200));
        Send(chat);
      } else if (command == 5 && seat == ownMask && ownMask) {
        Send(Packet272(2, ownMask, {0, 0, 0, (p[15] & 0xFF) | 0x4000}, token));
      } else if (command == 6 && ownMask) {
        Send(Packet272(7, ownMask, {1, 0, 0, 0}, token));
      }
    }
  }
};

TEST_F(DissectorTest, AHandCapturedOnLoopbackIsDecodedPacketByPacket) {
  std::string why;
  if (!StartCapture(why)) GTEST_SKIP() << why;
  const int port = StartServer({"--bots", "2", "--bot-delay", "0", "--decision-seconds", "2", "--grace", "200",
                                "--ready-first-hand", "--hands", "1", "--seed", "5"});
  ASSERT_GT(port, 0) << server.Output();
  StartClient(port, {"--user", "player"});
  Talker talker;
  talker.Start(port);
  ASSERT_TRUE(WaitFor([&] { return server.process.state() == QProcess::NotRunning; }, 180000))
      << "the hand did not end" << Context();
  StopCapture();

  const std::vector<Pdu> pdus = Decode(port);
  const auto bytes = TcpBytes(port);
  std::map<QString, long> decoded;
  std::set<QString> names;
  std::set<int> seatNameMasks;
  bool ownDiscard = false;
  int chats = 0;
  for (const Pdu& d : pdus) {
    decoded[d.direction] += kPacketSize;
    names.insert(d.direction + " " + d.name);
    if (d.name == "SeatName") seatNameMasks.insert(d.seat);
    if (d.direction == "sent" && d.name == "DiscardTile") ownDiscard |= d.values[3] >= 0x4000;
    if (d.name == "Chat") {
      EXPECT_EQ(d.text, kChatLine) << "the chat text, from code page 936";
      ++chats;
    }
  }
  EXPECT_EQ(decoded, bytes) << "every byte of the hand is in a decoded packet";
  QStringList seen(names.begin(), names.end());
  for (const char* n : {"sent Login", "sent DiscardTile", "sent Chat", "received LoginResult", "received SeatName",
                        "received UserInfo", "received NewHand", "received DealTiles", "received DrawTile",
                        "received DiscardTile", "received ClaimOptions", "received ClaimResult", "received HandShowdown", "received HandOver", "received Chat",
                        "received PlayerLeft", "received TableClosed"})
    EXPECT_TRUE(names.count(n)) << n << " among " << seen.join(", ").toStdString();
  EXPECT_EQ(seatNameMasks, (std::set<int>{1, 2, 4, 8}));
  EXPECT_TRUE(ownDiscard) << "a sent discard carries the tile with 0x4000";
  EXPECT_GE(chats, 3) << "said once, heard by both players";

  // The login key never shows in the dissection.
  QProcess verbose;
  verbose.start(tshark, {"-X", "lua_script:" + kDissector, "-o", QString("tavrel.port:%1").arg(port), "-r", pcap, "-V",
                         "-Y", "tavrel.cmd_name == \"Login\""});
  ASSERT_TRUE(verbose.waitForFinished(60000));
  const QByteArray text = verbose.readAllStandardOutput();
  EXPECT_TRUE(text.contains("User name: talker")) << text.toStdString();
  EXPECT_TRUE(text.contains("**********")) << "the key, masked";
  EXPECT_FALSE(text.contains("k3y-secret"));
}

// A server written here: its packets leave in pieces of every size, then half a packet.
TEST_F(DissectorTest, PacketsSplitAnywhereAreReassembled) {
  std::string why;
  if (!StartCapture(why)) GTEST_SKIP() << why;
  QTcpServer listener;
  ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
  const int port = listener.serverPort();
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(client.waitForConnected(5000));
  ASSERT_TRUE(listener.waitForNewConnection(5000));
  QTcpSocket* conn = listener.nextPendingConnection();
  conn->setSocketOption(QAbstractSocket::LowDelayOption, 1);

  QByteArray stream;
  const SessionToken token{0x21, 0x43};
  auto add = [&](Packet p) { stream.append(reinterpret_cast<const char*>(p.data()), kPacketSize); };
  for (int i = 0; i < 4; ++i) {
    Packet name = Make(3, 1 << i, {0, 0, 0, 0}, token);
    wire::PutSingleByteText(name, off::kPayload, "p" + std::to_string(i), 16);
    add(name);
  }
  add(Make(17, 0, {-120, 40, 40, 40}, token));
  Packet chat = Make(19, 4, {0, 0, 0, 0}, token);
  const std::string gbk = text::Utf8ToCp936(kChatLine.toStdString());
  std::memcpy(chat.data() + off::kPayload, gbk.data(), gbk.size());
  add(chat);
  Packet left = Make(16, 2, {0, 0, 0, 2}, token);
  wire::PutU32LE(left, off::kTailNumber, 1000000);
  add(left);
  const int whole = stream.size() / static_cast<int>(kPacketSize);
  stream.append(QByteArray(100, '\x07'));  // half a packet, and the connection ends
  int at = 0;
  for (const int piece : {1, 271, 300, 5, 10, 500, 3, 700}) {
    if (at >= stream.size()) break;
    conn->write(stream.mid(at, piece));
    conn->flush();
    at += piece;
    Pump(60);
  }
  if (at < stream.size()) conn->write(stream.mid(at));
  conn->flush();
  Pump(200);
  conn->close();
  Pump(300);
  StopCapture();

  const std::vector<Pdu> pdus = Decode(port);
  ASSERT_EQ(static_cast<int>(pdus.size()), whole) << "every whole packet, none made of the half";
  EXPECT_EQ(pdus[0].name, "SeatName");
  EXPECT_EQ(pdus[3].seat, 8);
  EXPECT_EQ(pdus[4].name, "Settlement");
  EXPECT_EQ(pdus[4].values[0], -120);
  EXPECT_EQ(pdus[5].text, kChatLine);
  EXPECT_EQ(pdus[6].name, "PlayerLeft");
  EXPECT_EQ(pdus[6].values[3], 2);
}

}  // namespace
}  // namespace tavrel::itest
