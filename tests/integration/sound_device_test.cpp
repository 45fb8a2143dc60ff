// The sound device on Qt Multimedia, played for real into a private PulseAudio null
// sink: bad wave files are refused without a sound or a hang, and a discard voice
// built by the client's own names reaches the sink. Skipped, with the reason, when no
// sound server can be started here.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

#include "app/client_context.h"
#include "platform/qt/qt_audio.h"
#include "platform/qt/qt_platform.h"
#include "session_harness.h"
#include "sound/sound.h"
#include "sound/sound_settings.h"
#include "sound_sink.h"

namespace tavrel::itest {
namespace {

using platform::qt::QtAudio;

// A 16-bit mono wave of a tone, written by hand so that the test needs no tool.
QByteArray ToneWave(int rate, double seconds, double amplitude) {
  const int frames = static_cast<int>(rate * seconds);
  QByteArray data;
  for (int i = 0; i < frames; ++i) {
    const auto v = static_cast<qint16>(std::lround(amplitude * 32767 * std::sin(2 * M_PI * 440.0 * i / rate)));
    data.append(static_cast<char>(v & 0xFF)).append(static_cast<char>((v >> 8) & 0xFF));
  }
  auto u32 = [](quint32 v) {
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
  };
  auto u16 = [](quint16 v) { return QByteArray(1, static_cast<char>(v & 0xFF)) + QByteArray(1, static_cast<char>(v >> 8)); };
  QByteArray w = "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate * 2) +
                 u16(2) + u16(16) + "data" + u32(data.size());
  return w + data;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class SoundDevice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnsureApp();
    server_ = new NullSinkServer();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  static NullSinkServer* server_;
};
NullSinkServer* SoundDevice::server_ = nullptr;

TEST_F(SoundDevice, HundredthsOfADecibelBecomeTheLinearScale) {
  struct Case {
    int hundredths;
    double linear;
  } cases[] = {{0, 1.0}, {100, 1.0}, {-600, 0.501}, {-800, 0.398}, {-2000, 0.1}, {-6000, 0.001}, {-10000, 0.0},
               {-20000, 0.0}};
  for (const Case& c : cases)
    EXPECT_NEAR(platform::qt::LinearVolume(c.hundredths), c.linear, 0.001) << c.hundredths;
}

TEST_F(SoundDevice, BadWaveFilesDoNotPlayAndLeaveTheChannelSilent) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString good = dir.filePath("good.wav");
  const QByteArray tone = ToneWave(22050, 1.0, 0.3);
  ASSERT_TRUE(Write(good, tone));
  QByteArray tenMinutes = ToneWave(8000, 0.01, 0.3);
  {
    // 8-bit mono at 8 kHz, ten minutes of it: a real file of 4.8 MB.
    const quint32 bytes = 8000u * 600u;
    QByteArray header = tenMinutes.left(44);
    header[22] = 1;                                   // channels
    for (int i = 0; i < 4; ++i) header[28 + i] = static_cast<char>((8000u >> (8 * i)) & 0xFF);  // byte rate
    header[32] = 1;                                   // block align
    header[34] = 8;                                   // bits
    for (int i = 0; i < 4; ++i) header[40 + i] = static_cast<char>((bytes >> (8 * i)) & 0xFF);
    tenMinutes = header + QByteArray(static_cast<int>(bytes), static_cast<char>(128));
  }
  struct Bad {
    const char* name;
    QByteArray bytes;
  } bad[] = {
      {"empty.wav", QByteArray()},
      {"truncated.wav", tone.left(44 + 100)},
      {"header-only.wav", tone.left(30)},
      {"text.wav", "this is not a wave file\n"},
      {"picture.wav", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'x')},
      {"ten-minutes.wav", tenMinutes},
  };
  for (const Bad& b : bad) ASSERT_TRUE(Write(dir.filePath(b.name), b.bytes)) << b.name;
  QDir(dir.path()).mkdir("folder.wav");

  QtAudio audio;
  const bool open = audio.Open();
  if (server_->Ok()) {
    EXPECT_TRUE(open);
  }
  if (open) {
    ASSERT_TRUE(audio.Play(platform::kSharedChannel, good.toStdString(), true));
    EXPECT_TRUE(audio.Playing(platform::kSharedChannel));
  }
  std::vector<QString> paths;
  for (const Bad& b : bad) paths.push_back(dir.filePath(b.name));
  paths.push_back(dir.filePath("missing.wav"));
  paths.push_back(dir.filePath("folder.wav"));
  for (const QString& path : paths) {
    if (open) {
      ASSERT_TRUE(audio.Play(platform::kSharedChannel, good.toStdString(), true));
    }
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(audio.Play(platform::kSharedChannel, path.toStdString(), false)) << path.toStdString();
    EXPECT_LT(t.elapsed(), 1000) << path.toStdString();
    // What played before ended; nothing took its place.
    EXPECT_FALSE(audio.Playing(platform::kSharedChannel)) << path.toStdString();
  }
  // Only the good file was decoded and kept.
  EXPECT_EQ(audio.Cache().Count(), open ? 1u : 0u);
  if (!open) GTEST_SKIP() << "no sound server here (" << server_->Error().toStdString()
                          << "): the files were refused without a device";
}

TEST_F(SoundDevice, ADiscardVoiceReachesTheSink) {
  if (!server_->Ok()) GTEST_SKIP() << "no sound server: " << server_->Error().toStdString();
  qputenv("TAVREL_PROGRAM_FOLDER", QByteArray(TAVREL_PROGRAM_DIR));
  platform::qt::QtPlatform platform;
  platform.SetAudio(std::make_unique<QtAudio>());
  ClientContext ctx(platform);
  InstallParts(ctx);
  sound::SetUpSound(ctx);
  ASSERT_TRUE(ctx.sound.SoundOn) << "the device did not open";
  // The background sound off, so that what the sink hears is the discard.
  sound::PressSwitch(ctx, sound::kSwitchBackground);
  scoring::Detail& d = ctx.players.Detail[1];
  d.Gender = 1;
  d.VoiceGroup = sound::kLocalDialect;
  d.VoiceStyle = sound::VoiceCodeOf(true, 0);
  d.VoiceKind = 3;
  const std::string voice = sound::VoicePrefix(ctx, 1) + sound::TileVoiceSuffix(0x45);
  if (!QFile::exists(QString::fromStdString(voice)))
    GTEST_SKIP() << "no voice pack (espeak-ng or sox missing at build time): " << voice;

  QTemporaryDir dir;
  const QString quiet = dir.filePath("quiet.raw"), heard = dir.filePath("heard.raw");
  {
    SinkRecorder rec(quiet);
    if (!rec.Start()) GTEST_SKIP() << "parec is not installed";
    Pump(800);
  }
  {
    SinkRecorder rec(heard);
    ASSERT_TRUE(rec.Start());
    Pump(300);
    // As the discard handler does: the click, then the tile in the discarder's voice.
    sound::PlayEffect(ctx, sound::kDiscard);
    sound::PlayTileVoice(ctx, 1, 0x45);
    // A null sink passes what it plays to its monitor late (well over a second).
    Pump(3500);
  }
  const auto before = MeasureRaw(quiet), after = MeasureRaw(heard);
  if (!before || !after) GTEST_SKIP() << "sox is not installed";
  EXPECT_LT(before->maximum, 0.01) << "the sink was not quiet before";
  EXPECT_GT(after->rms, 0.01);
  EXPECT_GT(after->maximum, 0.1);
  RecordProperty("quiet_rms", std::to_string(before->rms));
  RecordProperty("voice_rms", std::to_string(after->rms));
  std::printf("sink RMS before %.5f, with the discard voice %.4f (max %.3f)\n", before->rms, after->rms, after->maximum);
}

TEST_F(SoundDevice, TheTableLoopPlaysFromTheStart) {
  if (!server_->Ok()) GTEST_SKIP() << "no sound server: " << server_->Error().toStdString();
  qputenv("TAVREL_PROGRAM_FOLDER", QByteArray(TAVREL_PROGRAM_DIR));
  platform::qt::QtPlatform platform;
  platform.SetAudio(std::make_unique<QtAudio>());
  ClientContext ctx(platform);
  InstallParts(ctx);
  if (!QFile::exists(QString::fromStdString(sound::MusicFolder(ctx) + "majiang.wav")))
    GTEST_SKIP() << "no sound pack";
  QTemporaryDir dir;
  const QString raw = dir.filePath("loop.raw");
  SinkRecorder rec(raw);
  if (!rec.Start()) GTEST_SKIP() << "parec is not installed";
  Pump(300);
  sound::SetUpSound(ctx);
  // A null sink passes what it plays to its monitor late (well over a second).
  Pump(3500);
  rec.Stop();
  const auto heard = MeasureRaw(raw);
  if (!heard) GTEST_SKIP() << "sox is not installed";
  EXPECT_GT(heard->rms, 0.001);
  std::printf("sink RMS of the table loop %.4f\n", heard->rms);
}

}  // namespace
}  // namespace tavrel::itest
