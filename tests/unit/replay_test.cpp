// The replay of a recorded table: the log lines read back byte for byte, damaged and
// old lines skipped with a message naming them, the time-scaled platform, and a hand
// recorded on one client and replayed into another that ends with the same table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/replay.h"
#include "app/table_dump.h"
#include "platform/names.h"
#include "platform/scaled_platform.h"
#include "session/debug_log.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using ::testing::HasSubstr;
using session::LogLine;
using Kind = session::LogLine::Kind;

// One file per test: ctest runs the tests of this binary side by side.
std::string TempPath(const std::string& name) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return ::testing::TempDir() + "/tavrel_replay_" + (test ? std::string(test->test_suite_name()) + "." + test->name() + "_" : "") + name;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string Line(double secondsOfDay, bool sent, const Packet& p) {
  return session::LogTime(secondsOfDay) + " " + session::PacketLogText(sent, p);
}

Packet Numbered(int command, int seat, std::array<int, 4> values) {
  return ClientFixture::Make(command, seat, values, {0x12, 0x34});
}

TEST(ReplayLogLine, PacketsComeBackByteForByte) {
  Packet full{};
  for (std::size_t i = 0; i < kPacketSize; ++i) full[i] = static_cast<std::uint8_t>(i * 7 + 1);
  Packet seatTiles = Numbered(40, 4, {0, 0, 0, 0});
  wire::PutU8(seatTiles, off::kReserved7, 9);  // the discard count, in the frame only
  wire::PutU8(seatTiles, off::kPayload, 0x12);
  Packet wideValues = Numbered(7, 2, {0x1234, -1, 0, 0x4012});  // high bytes the record drops
  wire::PutU8(wideValues, off::kCmdHigh, 1);
  Packet reconnect = Numbered(16, 1, {0, 0, 0, 2});
  wire::PutU32LE(reconnect, off::kTailNumber, 1000000);
  const struct {
    const char* what;
    Packet packet;
  } cases[] = {{"all zero", Packet{}}, {"every byte set", full}, {"SeatTiles' discard count", seatTiles},
               {"high bytes of values and command", wideValues}, {"tail number", reconnect}};
  for (const auto& c : cases) {
    const LogLine l = session::ParseLogLine(Line(45296.789, false, c.packet));
    ASSERT_EQ(l.kind, Kind::Packet) << c.what << ": " << l.text;
    EXPECT_FALSE(l.sent);
    EXPECT_EQ(l.ms, 45296789) << c.what;
    EXPECT_EQ(l.packet, c.packet) << c.what;
  }
}

TEST(ReplayLogLine, TimesCarryMilliseconds) {
  EXPECT_EQ(session::LogTime(0), "00:00:00.000");
  EXPECT_EQ(session::LogTime(3723.0456), "01:02:03.046");
  EXPECT_EQ(session::LogTime(86400.0), "00:00:00.000") << "the day starts again";
}

TEST(ReplayLogLine, DamagedAndOldLinesAreToldApart) {
  const std::string good = Line(100, false, Numbered(5, 2, {0, 1, 0, 0x21}));
  const std::size_t payloadAt = good.find("payload=") + 8;
  std::string wrongCommand = good;
  wrongCommand.replace(good.find(" 5 DrawTile"), 11, " 6 DrawTile");
  const struct {
    const char* what;
    std::string line;
    Kind kind;
  } cases[] = {
      {"empty", "", Kind::Damaged},
      {"binary", std::string("\x01\x7f\x00\xff garbage", 13), Kind::Damaged},
      {"cut in the payload", good.substr(0, payloadAt + 5), Kind::Damaged},
      {"cut before the payload", good.substr(0, good.find(" payload=")), Kind::Damaged},
      {"a payload digit damaged", good.substr(0, payloadAt) + "G" + good.substr(payloadAt + 1), Kind::Damaged},
      {"a command number not its packet's", wrongCommand, Kind::Damaged},
      {"a time past the day", "25:00:00.000 recv 1 ?", Kind::Damaged},
      {"an older client's time", "12:00:00 recv 5 DrawTile seat=2 values=0,1,0,33 payload= (+256 zero)", Kind::Old},
      {"an older client's packet", "12:00:00.120 recv 5 DrawTile seat=2 values=0,1,0,33 payload= (+256 zero)", Kind::Old},
      {"a system message", "12:00:00.120 sysmsg0: 连接服务器成功！", Kind::Other},
      {"the start-up line", "12:00:00.120 start-up: alice$***$127.0.0.1$7700$", Kind::StartUp},
  };
  for (const auto& c : cases) EXPECT_EQ(session::ParseLogLine(c.line).kind, c.kind) << c.what << ": " << c.line;
}

TEST(ReplayLogLine, ASentLoginKeepsItsKeyMaskedAndItsName) {
  Packet login = session::BuildLoginPacket("alice", "secret");
  const LogLine l = session::ParseLogLine(Line(10, true, login));
  ASSERT_EQ(l.kind, Kind::Packet) << l.text;
  EXPECT_TRUE(l.sent);
  EXPECT_EQ(wire::SingleByteText(l.packet, off::kLoginUser, off::kLoginUserBytes), "alice");
  EXPECT_EQ(wire::U8(l.packet, off::kLoginKey), 0) << "the key is not in the log";
}

struct LogFile : ::testing::Test {
  std::string path = TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::vector<std::string> messages;
  std::unique_ptr<app::ReplayLog> log;
  void Open(const std::string& text) {
    WriteFile(path, text);
    log = std::make_unique<app::ReplayLog>(path);
    log->onMessage = [this](const std::string& m) { messages.push_back(m); };
    ASSERT_TRUE(log->Open());
  }
  std::vector<app::ReplayPacket> All() {
    std::vector<app::ReplayPacket> out;
    while (auto p = log->Next()) out.push_back(*p);
    return out;
  }
  ~LogFile() override { std::remove(path.c_str()); }
};

TEST_F(LogFile, OnlyReceivedPacketsArePlayedAndDamagedLinesAreNamed) {
  std::string text;
  text += "12:00:00.000 start-up: bob$***$127.0.0.1$7700$测试区$0$$$$$$$$0$0$\n";
  text += Line(43200.010, true, session::BuildLoginPacket("bob", "k")) + "\n";
  text += Line(43200.100, false, Numbered(18, 0, {0, 8, 0, 1})) + "\n";
  text += "12:00:00.150 sysmsg0: 连接服务器成功！\n";
  text += "this is not a line of the log\n";
  text += Line(43200.200, false, Numbered(3, 1, {0, 0, 0, 0})) + "\n";
  text += std::string(app::ReplayLog::kMaxLine + 10, 'x') + "\n";  // a binary blob without line ends
  const std::string last = Line(43200.300, false, Numbered(3, 2, {0, 0, 0, 0}));
  text += last.substr(0, last.size() - 20);  // cut off mid-line at the end
  Open(text);
  const auto packets = All();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].bytes[off::kCmd], 18);
  EXPECT_EQ(packets[0].line, 3);
  EXPECT_EQ(packets[1].ms - packets[0].ms, 100);
  EXPECT_EQ(log->UserName(), "bob");
  EXPECT_FALSE(log->Spectator());
  EXPECT_EQ(log->SkippedLines(), 3);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_THAT(messages[0], HasSubstr("line 5:"));
  EXPECT_THAT(messages[1], HasSubstr("line 7:"));
  EXPECT_THAT(messages[2], HasSubstr("line 8:"));
}

TEST_F(LogFile, AnOlderClientsLogIsSkippedWithOneMessage) {
  Open("12:00:00 start-up: bob$***$127.0.0.1$7700$\n12:00:01 recv 18 LoginResult seat=0 values=0,8,0,1 payload= (+256 zero)\n"
       "12:00:02 recv 3 SeatName seat=1 values=0,0,0,0 payload=626F62 (+253 zero)\n");
  EXPECT_TRUE(All().empty());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0], HasSubstr("line 1: written by an older client"));
  EXPECT_EQ(log->SkippedLines(), 3);
}

TEST_F(LogFile, EmptyAndBinaryFilesHoldNothing) {
  for (const std::string& text : {std::string(), std::string("\0\0\0\x89PNG\r\n\x1a\n", 12)}) {
    messages.clear();
    Open(text);
    EXPECT_TRUE(All().empty());
    EXPECT_EQ(messages.size(), static_cast<std::size_t>(log->SkippedLines())) << "one message a damaged line";
  }
  EXPECT_THAT(messages[0], HasSubstr("line 1: no time at the start; skipped"));
}

TEST_F(LogFile, MessagesStopAfterTheFirstFewDamagedLines) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "garbage\n";
  Open(text);
  All();
  EXPECT_EQ(log->SkippedLines(), 50);
  EXPECT_EQ(messages.size(), static_cast<std::size_t>(app::ReplayLog::kMaxMessages) + 1);
}

TEST_F(LogFile, TimeRunsOnPastMidnightAndLongPausesAreShortened) {
  std::string text;
  text += Line(86399.900, false, Numbered(23, 0, {})) + "\n";  // 23:59:59.900
  text += Line(0.100, false, Numbered(23, 0, {})) + "\n";      // 00:00:00.100 the next day
  text += Line(0.050, false, Numbered(23, 0, {})) + "\n";      // a step back: not before the last
  text += Line(3600.100, false, Numbered(23, 0, {})) + "\n";   // an hour later
  Open(text);
  const auto p = All();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[1].recordedMs - p[0].recordedMs, 200);
  EXPECT_EQ(p[2].recordedMs, p[1].recordedMs);
  EXPECT_EQ(p[3].recordedMs - p[2].recordedMs, 3600000);
  EXPECT_EQ(p[3].ms - p[2].ms, app::ReplayLog::kGapReplayMs) << "played a second later";
}

TEST(ReplayLogMissing, AMissingFileIsReported) {
  app::ReplayLog log(TempPath("does-not-exist"));
  std::string message;
  log.onMessage = [&](const std::string& m) { message = m; };
  EXPECT_FALSE(log.Open());
  EXPECT_THAT(message, HasSubstr("cannot read the replay file"));
}

TEST(ReplayArguments, OptionsAndTheirFaults) {
  const struct {
    std::vector<const char*> args;
    bool replay;
    double speed;
    bool exitAtEnd;
    bool error;
  } cases[] = {
      {{"tavrelmj", "alice$k$127.0.0.1$1$x$0$"}, false, 1, false, false},
      {{"tavrelmj", "--replay", "t.log"}, true, 1, false, false},
      {{"tavrelmj", "--replay", "t.log", "--speed", "16", "--exit-at-end"}, true, 16, true, false},
      {{"tavrelmj", "--speed", "0.25", "--replay", "t.log"}, true, 0.25, false, false},
      {{"tavrelmj", "--replay"}, false, 1, false, true},
      {{"tavrelmj", "--replay", "t.log", "--speed", "32"}, false, 1, false, true},
      {{"tavrelmj", "--replay", "t.log", "--speed", "fast"}, false, 1, false, true},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto o = app::ReplayArguments(static_cast<int>(c.args.size()), c.args.data(), error);
    EXPECT_EQ(o.has_value(), c.replay) << c.args.back();
    EXPECT_EQ(!error.empty(), c.error) << c.args.back();
    if (o) {
      EXPECT_EQ(o->path, "t.log");
      EXPECT_EQ(o->speed, c.speed);
      EXPECT_EQ(o->exitAtEnd, c.exitAtEnd);
    }
  }
}

TEST(ScaledPlatform, TimeTimersAndWaitsRunAtTheSpeedAndStandStillWhenPaused) {
  platform::sim::SimPlatform sim;
  platform::ScaledPlatform scaled(sim);
  scaled.SetSpeed(16);
  scaled.SetTimeMs(1000);
  auto timer = scaled.CreateTimer();
  int ticks = 0;
  timer->onTick = [&] { ++ticks; };
  timer->SetInterval(800);
  timer->SetEnabled(true);
  EXPECT_EQ(timer->Interval(), 800) << "the client sees its own interval";
  sim.Advance(500);  // 8 seconds of scaled time
  EXPECT_EQ(ticks, 10);
  EXPECT_EQ(scaled.clock().NowMs(), 1000 + 8000);
  scaled.Sleep(1600);
  EXPECT_EQ(sim.Now(), 600) << "a sleep of 1.6 s takes 100 ms";

  scaled.SetPaused(true);
  const auto frozen = scaled.clock().NowMs();
  sim.Advance(1000);
  EXPECT_EQ(ticks, 10) << "no tick while paused";
  EXPECT_EQ(scaled.clock().NowMs(), frozen);
  EXPECT_TRUE(timer->Enabled()) << "paused, not switched off";

  scaled.SetPaused(false);
  scaled.SetSpeed(100);
  EXPECT_EQ(scaled.Speed(), 16);
  scaled.SetSpeed(0.1);
  EXPECT_EQ(scaled.Speed(), 0.25);
  sim.Advance(3200);
  EXPECT_EQ(ticks, 11);
  EXPECT_EQ(scaled.clock().NowMs(), frozen + 800);
}

TEST(ScaledPlatform, SoundsStopAboveTwiceTheSpeedAndComeBackBelow) {
  platform::sim::SimPlatform sim;
  platform::ScaledPlatform scaled(sim);
  auto& audio = scaled.audio();
  EXPECT_TRUE(audio.Play(1, "voice.wav", false));
  scaled.SetSpeed(2);
  EXPECT_TRUE(audio.Play(0, "effect.wav", false)) << "2x still sounds";
  scaled.SetSpeed(4);
  EXPECT_EQ(sim.simAudio().playing[1], "") << "what played is cut off";
  EXPECT_EQ(sim.simAudio().playing[0], "");
  EXPECT_TRUE(audio.Play(2, "voice.wav", false)) << "quiet, not a failure the sound module would report";
  EXPECT_EQ(sim.simAudio().played.size(), 2u);
  scaled.SetSpeed(1);
  EXPECT_TRUE(audio.Play(2, "voice.wav", false));
  EXPECT_EQ(sim.simAudio().played.size(), 3u);
}

// What the viewer of a replay may still do: look around, never play.
TEST(ReplayInput, LookingAroundStaysPlayingIsDropped) {
  using platform::UiEvent;
  using platform::UiEventType;
  struct Case {
    const char* form;
    UiEventType type;
    const char* control;
    int index;
    int key;
    bool accepted;
  };
  const Case cases[] = {
      {frm::Main, UiEventType::Click, "MJ_Image", 3, 0, false},       // a discard
      {frm::Main, UiEventType::MouseDown, "MJ_Image", 3, 0, false},
      {frm::Main, UiEventType::Click, "AnNiu", 2, 0, false},          // start/continue
      {frm::Main, UiEventType::Click, "AnNiu", 0, 0, false},          // send chat
      {frm::Main, UiEventType::KeyPress, "Text1", -1, 13, false},     // Enter in the chat line
      {frm::Main, UiEventType::Click, "Bank", -1, 0, false},
      {frm::Score, UiEventType::Click, "AnNiu", 0, 0, false},         // the sheet's buttons
      {frm::huifu, UiEventType::DblClick, "List1", -1, 0, false},     // a quick phrase
      {frm::Main, UiEventType::MouseMove, "MJ_Image", 3, 0, true},    // hovering
      {frm::Main, UiEventType::Click, "AnNiu", 6, 0, true},           // history
      {frm::Main, UiEventType::Click, "AnNiu", 5, 0, true},           // results
      {frm::Main, UiEventType::Click, "ImgClose", 0, 0, true},
      {frm::Main, UiEventType::MouseDown, "LbMove", -1, 0, true},     // dragging the window
      {frm::Main, UiEventType::KeyDown, "", -1, 112, true},           // F1 hides
      {frm::frmExit, UiEventType::Click, "cmdOK", -1, 0, true},
      {frm::Hero, UiEventType::Click, "Command1", -1, 0, true},
  };
  for (const Case& c : cases) {
    UiEvent e;
    e.type = c.type;
    e.control = c.control;
    e.index = c.index;
    e.key = c.key;
    EXPECT_EQ(app::ReplayAcceptsInput(c.form, e), c.accepted) << c.form << " " << c.control << "(" << c.index << ")";
  }
}

// A hand recorded on a client with the debug log, then replayed into a second
// client on the time-scaled platform: the same table at the end.
struct RecordAndReplay : SessionFixture {
  std::string logPath = TempPath("hand.log");
  ~RecordAndReplay() override { std::remove(logPath.c_str()); }

  // Feeds a stream of server bytes (a fuzz seed: a first byte for the fuzzer, then the
  // packets) one packet at a time, as a server sends them.
  void PlayStream(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), kPacketSize) << file;
    for (std::size_t at = 1; at + kPacketSize <= bytes.size(); at += kPacketSize) {
      Feed(platform::ByteVec(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + kPacketSize)));
      Ticks(4);
    }
    Ticks(200);
  }

  static std::string TableOnly(const std::string& dump) {
    // The tiles, the rows and the seats; not the system messages or the clocks.
    std::istringstream in(dump);
    std::string out, line;
    while (std::getline(in, line))
      if (line.rfind("tile ", 0) == 0 || line.rfind("slot ", 0) == 0 || line.rfind("seat ", 0) == 0 ||
          line.rfind("player ", 0) == 0 || line.rfind("revealed ", 0) == 0)
        out += line + "\n";
    return out;
  }
};

TEST_F(RecordAndReplay, AReplayedHandEndsWithTheSameTable) {
  ASSERT_TRUE(session::InstallDebugLog(ctx, logPath.c_str()));
  StartAndLogIn("a$secret$10.0.0.5$4100$北京$0$$$$$$$$$$");
  PlayStream(std::string(TAVREL_SOURCE_DIR) + "/fuzz/corpus/fuzz_stream/claims_showdown.bin");
  ctx.startup.debugLog.file.reset();
  const std::string live = app::DescribeTable(ctx);

  platform::sim::SimPlatform sim;
  platform::ScaledPlatform scaled(sim);
  ClientContext replayed(scaled);
  InstallParts(replayed);
  std::vector<std::string> messages;
  app::Replay replay(replayed, scaled, {logPath, 16, true});
  replay.onMessage = [&](const std::string& m) { messages.push_back(m); };
  ASSERT_TRUE(replay.Start());
  EXPECT_THAT(replayed.main().Caption(), HasSubstr("回放 12:00:00 ×16"));
  for (int i = 0; i < 20000 && !replay.Ended(); ++i) sim.Advance(10);
  ASSERT_TRUE(replay.Ended());
  EXPECT_TRUE(sim.ended) << "--exit-at-end";
  EXPECT_EQ(sim.exitCode, 0);
  EXPECT_GT(replay.PacketsFed(), 30);
  EXPECT_EQ(TableOnly(app::DescribeTable(replayed)), TableOnly(live));
  EXPECT_THAT(messages.back(), HasSubstr("replay ended"));
  EXPECT_EQ(replayed.Winsock1->State(), platform::kSocketConnected) << "nothing was sent anywhere";
  ExpectNoKindMismatches(replayed.ui);

  // The table's own handlers are behind the replay's gate.
  int clicks = 0;
  replayed.main().On("Probe", platform::UiEventType::Click, [&](const platform::UiEvent&) { ++clicks; });
  platform::UiEvent click;
  click.control = "Probe";
  replayed.main().Dispatch(click);
  EXPECT_EQ(clicks, 0) << "a click on the replayed table reaches nothing";
}

TEST_F(RecordAndReplay, PausedTheReplayStepsOnePacketAtATime) {
  ASSERT_TRUE(session::InstallDebugLog(ctx, logPath.c_str()));
  StartAndLogIn("a$secret$10.0.0.5$4100$北京$0$$$$$$$$$$");
  PlayStream(std::string(TAVREL_SOURCE_DIR) + "/fuzz/corpus/fuzz_stream/hand_start.bin");
  ctx.startup.debugLog.file.reset();

  platform::sim::SimPlatform sim;
  platform::ScaledPlatform scaled(sim);
  ClientContext replayed(scaled);
  InstallParts(replayed);
  app::Replay replay(replayed, scaled, {logPath, 1, false});
  ASSERT_TRUE(replay.Start());
  replay.TogglePause();
  EXPECT_THAT(replayed.main().Caption(), HasSubstr("暂停"));
  sim.Advance(60000);
  EXPECT_EQ(replay.PacketsFed(), 0) << "nothing plays while paused";
  replay.Step();
  EXPECT_EQ(replay.PacketsFed(), 1);
  EXPECT_TRUE(replayed.session.TableActive) << "the login answer was handled at once";
  replay.Step();
  replay.Step();
  EXPECT_EQ(replay.PacketsFed(), 3);
  replay.Faster();
  replay.Faster();
  EXPECT_THAT(replayed.main().Caption(), HasSubstr("×4 暂停"));
  EXPECT_EQ(replayed.main().Get(ctl::lcaption).Caption(), replayed.main().Caption()) << "the title drawn in the strip";
  replay.Slower();
  replay.Slower();
  replay.Slower();
  replay.Slower();
  replay.Slower();
  EXPECT_THAT(replayed.main().Caption(), HasSubstr("×¼"));
  replay.TogglePause();
  for (int i = 0; i < 20000 && !replay.Ended(); ++i) sim.Advance(50);
  EXPECT_TRUE(replay.Ended());
  EXPECT_FALSE(sim.ended) << "without --exit-at-end the table stays up";
  EXPECT_THAT(replayed.main().Caption(), HasSubstr("结束"));
}

TEST(ReplayNothing, ALogWithoutPacketsEndsWithStatusOne) {
  const std::string path = TempPath("empty.log");
  WriteFile(path, "");
  platform::sim::SimPlatform sim;
  platform::ScaledPlatform scaled(sim);
  ClientContext ctx(scaled);
  InstallParts(ctx);
  std::vector<std::string> messages;
  app::Replay replay(ctx, scaled, {path, 1, true});
  replay.onMessage = [&](const std::string& m) { messages.push_back(m); };
  EXPECT_FALSE(replay.Start());
  EXPECT_TRUE(sim.ended);
  EXPECT_EQ(sim.exitCode, 1);
  ASSERT_FALSE(messages.empty());
  EXPECT_THAT(messages[0], HasSubstr("nothing to replay"));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tavrel::testing
