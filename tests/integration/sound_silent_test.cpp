// Without any sound server (as on a build machine) the device does not open, the
// client's sound goes off and the table goes on silently, quickly and without errors.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>

#include "app/client_context.h"
#include "platform/qt/qt_audio.h"
#include "platform/qt/qt_platform.h"
#include "session_harness.h"
#include "sound/sound.h"
#include "sound/sound_settings.h"

namespace tavrel::itest {
namespace {

TEST(SoundWithoutServer, TheTableGoesOnSilently) {
  // A server address where nothing listens: libpulse neither finds nor starts one.
  qputenv("PULSE_SERVER", "unix:/nonexistent/tavrel-no-sound");
  qputenv("TAVREL_PROGRAM_FOLDER", QByteArray(TAVREL_PROGRAM_DIR));
  EnsureApp();
  platform::qt::QtPlatform platform;
  auto device = std::make_unique<platform::qt::QtAudio>();
  platform::qt::QtAudio* audio = device.get();
  platform.SetAudio(std::move(device));
  ClientContext ctx(platform);
  InstallParts(ctx);
  QElapsedTimer t;
  t.start();
  sound::SetUpSound(ctx);
  EXPECT_LT(t.elapsed(), 3000);
  EXPECT_FALSE(audio->IsOpen());
  EXPECT_FALSE(ctx.sound.SoundOn);
  // The player may still switch effects on: nothing plays, nothing breaks.
  sound::PressSwitch(ctx, sound::kSwitchEffects);
  sound::PressSwitch(ctx, sound::kSwitchBackground);
  sound::PressSwitch(ctx, sound::kSwitchBackground);
  sound::PlayEffect(ctx, sound::kDiscard);
  sound::PlayTileVoice(ctx, 0, 0x45);
  EXPECT_FALSE(audio->Playing(platform::kSharedChannel));
  EXPECT_EQ(audio->Cache().Count(), 0u);
}

}  // namespace
}  // namespace tavrel::itest
