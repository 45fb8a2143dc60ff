// The sound settings as a player uses them, under a real X server: 设置 (AnNiu(3))
// opens VosSet above the table's corner, a click on the effects switch turns them
// off, 取消 turns them on again and closes the window; the collection switch and 确定
// keep the common collection. When a private PulseAudio null sink can be started, the
// client plays into it and the sink hears the table. The window is kept as a picture
// in the build folder: sound_settings.png.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPoint>
#include <QRect>
#include <map>

#include "window_system.h"
#include "sound_sink.h"

namespace tavrel::itest {
namespace {

// AnNiu(3) in the 1024 x 768 design: (788, 699), 60 x 30; the surface sits at (8, 20).
constexpr int kSettingsButtonX = 8 + 788 + 30, kSettingsButtonY = 20 + 699 + 15;


// What the dump says of the sound and its window.
struct SoundModel {
  bool on = false, loop = false, phrases = false, common = false, shown = false;
  int left = 0, top = 0;
  std::map<QString, QRect> controls;  // "Command2 2" -> place within the window
  bool valid = false;

  static SoundModel Read(const QString& path) {
    SoundModel m;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return m;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
      if (line.startsWith("sound ")) {
        m.valid = true;
        m.on = line.contains("on=1");
        m.loop = line.contains("loop=1");
        m.phrases = line.contains("phrases=1");
        m.common = line.contains("common=1");
      } else if (line.startsWith("vosset ")) {
        const QStringList p = line.split(' ');
        m.shown = line.contains("visible=1");
        m.left = p.value(2).toInt();
        m.top = p.value(3).toInt();
      } else if (line.startsWith("vosset-control ")) {
        const QStringList p = line.split(' ');
        m.controls[p.value(1) + " " + p.value(2)] = QRect(p.value(3).toInt(), p.value(4).toInt(), p.value(5).toInt(),
                                                          p.value(6).toInt());
      }
    }
    return m;
  }
  // The centre of a control of the window, on the screen.
  QPoint Centre(const QString& control) const {
    const QRect r = controls.count(control) ? controls.at(control) : QRect();
    return {left + r.center().x(), top + r.center().y()};
  }
};

struct SoundSettingsClick : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  Child xvfb, server, lobby;
  QString display, dumpDir;
  QProcessEnvironment x;

  SoundModel Now() { return SoundModel::Read(dumpDir + "/table.txt"); }
  std::optional<SoundModel> Wait(const std::function<bool(const SoundModel&)>& ok, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      Pump(100);
      SoundModel m = Now();
      if (m.valid && ok(m)) return m;
    }
    return std::nullopt;
  }
  void ClickAt(QPoint p) {
    RunTool(Tool("xdotool"), {"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"}, x);
  }
  void Shot(const QString& name) { RequestShot(dumpDir, env.dir.filePath(name), ShotOf::WholeScreen); }
};

TEST_F(SoundSettingsClick, SwitchesCancelAndCloseThroughTheWindowSystem) {
  if (Tool("Xvfb").isEmpty() || Tool("xdotool").isEmpty())
    GTEST_SKIP() << "Xvfb and xdotool are needed to click through the window system";
  ASSERT_TRUE(QFile::exists(kClient) && QFile::exists(kLobbyProgram)) << "build tavrelmj and tavrel-lobby first";
  NullSinkServer sink;  // the client plays into it when it starts; without it, silently

  display = StartXvfb(xvfb);
  ASSERT_FALSE(display.isEmpty()) << "Xvfb did not report its display: " << xvfb.Output();
  x = QProcessEnvironment::systemEnvironment();
  x.insert("DISPLAY", display);

  const int port = StartTableServer(
      server, {"--bots", "3", "--bot-delay", "100", "--seed", "7", "--log", env.dir.filePath("server.log")});
  ASSERT_TRUE(port > 0) << server.Output();
  dumpDir = env.dir.filePath("dump");
  QDir().mkpath(dumpDir);
  QProcessEnvironment clientEnv = env.Env();
  clientEnv.insert("DISPLAY", display);
  clientEnv.insert("QT_QPA_PLATFORM", "xcb");
  clientEnv.insert("TAVREL_TABLE_DUMP", dumpDir);
  clientEnv.remove("TAVREL_PROGRAM_FOLDER");
  clientEnv.remove("TAVREL_SCREEN");
  clientEnv.insert("PULSE_SERVER", sink.Ok() ? sink.Address() : QString("unix:/nonexistent/tavrel-no-sound"));
  const QString raw = env.dir.filePath("table.raw");
  SinkRecorder rec(raw);
  if (sink.Ok()) {
    ASSERT_TRUE(rec.Start());
  }
  lobby.Start(kLobbyProgram, {"--headless", "--server-port", QString::number(port), "--user", "player"}, clientEnv);

  auto start = Wait([](const SoundModel& m) { return !m.controls.empty(); }, 20000);
  ASSERT_TRUE(start) << "no table dump\n" << lobby.Output() << "\ndump:\n" << [&] {
    QFile f(dumpDir + "/table.txt");
    return f.open(QIODevice::ReadOnly) ? f.readAll().left(3000).toStdString() : std::string("(none)");
  }();
  const QString window = FindWindow("Tavrel", x);
  ASSERT_FALSE(window.isEmpty()) << "the table window is not mapped\n" << lobby.Output();
  EXPECT_EQ(start->on, sink.Ok()) << "sound is on exactly when there is a sound server";
  EXPECT_TRUE(start->loop);

  RunTool(Tool("xdotool"), {"mousemove", "--window", window, QString::number(kSettingsButtonX),
                            QString::number(kSettingsButtonY), "click", "1"},
          x);
  auto open = Wait([](const SoundModel& m) { return m.shown; });
  ASSERT_TRUE(open) << "设置 did not open the settings window";
  Pump(500);
  Shot("sound_settings.png");

  const bool effectsBefore = open->on;
  ClickAt(open->Centre("Command2 2"));
  auto switched = Wait([&](const SoundModel& m) { return m.on != effectsBefore; });
  ASSERT_TRUE(switched) << "the effects switch did nothing";
  EXPECT_TRUE(switched->shown);

  ClickAt(open->Centre("Command1 1"));
  auto cancelled = Wait([&](const SoundModel& m) { return !m.shown; });
  ASSERT_TRUE(cancelled) << "取消 did not close the window";
  EXPECT_EQ(cancelled->on, effectsBefore) << "取消 puts the effects back";

  RunTool(Tool("xdotool"), {"mousemove", "--window", window, QString::number(kSettingsButtonX),
                            QString::number(kSettingsButtonY), "click", "1"},
          x);
  auto again = Wait([](const SoundModel& m) { return m.shown; });
  ASSERT_TRUE(again);
  ClickAt(again->Centre("Command2 3"));
  ASSERT_TRUE(Wait([](const SoundModel& m) { return m.common; })) << "the collection switch did nothing";
  ClickAt(again->Centre("Command1 0"));
  auto closed = Wait([](const SoundModel& m) { return !m.shown; });
  ASSERT_TRUE(closed) << "确定 did not close the window";
  EXPECT_TRUE(closed->common) << "确定 keeps the common collection";

  if (sink.Ok()) {
    // The real client, heard at the sink since its start: the table loop, until the first
    // table sound (the seat draw) ends it. A null sink passes sound on late.
    Pump(2000);
    rec.Stop();
    if (auto heard = MeasureRaw(raw)) {
      EXPECT_GT(heard->rms, 0.001) << "the sink heard nothing of the table";
      std::printf("sink RMS since the client started: %.4f (max %.3f)\n", heard->rms, heard->maximum);
    }
  }
}

}  // namespace
}  // namespace tavrel::itest
