// The sound settings window: the switches, close and cancel, and where button 3 opens it.
#include <gtest/gtest.h>

#include "client_fixture.h"
#include "platform/names.h"
#include "sound/sound.h"
#include "sound/sound_settings.h"
#include "view/window_frame.h"

namespace tavrel::testing {
namespace {

constexpr int kPicOff = 134, kPicOn = 135, kPicCommon = 136, kPicLocal = 137;

struct SoundSettings : ClientFixture {
  platform::sim::SimAudio& audio() { return platform.simAudio(); }
  platform::Form& vosSet() { return ctx.ui.form(frm::VosSet); }
  int SwitchPicture(int i) { return vosSet().Get(ctl::VosSet::Command2, i).Picture(); }
  void Click(const platform::ControlName& name, int index) {
    platform::UiEvent e;
    e.type = platform::UiEventType::Click;
    e.control = name.name;
    e.index = index;
    vosSet().Dispatch(e);
  }
  void Switch(int i) { Click(ctl::VosSet::Command2, i); }
  void Close() { Click(ctl::VosSet::Command1, 0); }
  void Cancel() { Click(ctl::VosSet::Command1, 1); }
  std::string Shared() { return audio().playing[platform::kSharedChannel]; }
  const std::string& Loop() { return ctx.sound.SoundFiles[sound::kTableLoop]; }

  void SetUp() override {
    platform.programFolder = "/opt/tavrel/bin";
    sound::SetUpSound(ctx);
    ctx.main().Move(100, 50, 1040, 796);
    ctx.main().Get(ctl::Pic1).Move(8, 20, 1024, 768);
    for (auto& d : ctx.players.Detail) d.Gender = 1;
    sound::AssignVoices(ctx);
    view::AnNiuClick(ctx, 3);
  }
};

TEST_F(SoundSettings, ButtonThreeOpensTheWindowAboveTheTablesCornerAndClosesIt) {
  ASSERT_TRUE(vosSet().Visible());
  const platform::Rect& r = vosSet().Bounds();
  EXPECT_DOUBLE_EQ(r.left, 100 + 8 + 1024 - 1.1 * r.width);
  EXPECT_DOUBLE_EQ(r.top, 50 + 20 + 768 - 1.35 * r.height);
  view::AnNiuClick(ctx, 3);
  EXPECT_FALSE(vosSet().Visible());
}

TEST_F(SoundSettings, TheSwitchesShowTheStateTheyAreIn) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SwitchPicture(i), kPicOn) << i;
  EXPECT_EQ(SwitchPicture(3), kPicLocal);
  for (int i = 0; i < 4; ++i) Switch(i);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SwitchPicture(i), kPicOff) << i;
  EXPECT_EQ(SwitchPicture(3), kPicCommon);
}

TEST_F(SoundSettings, TheLoopIsSilentAfterTheFirstDiscardUntilSwitchZeroIsPressedTwice) {
  ASSERT_EQ(Shared(), Loop());
  sound::PlayEffect(ctx, sound::kDiscard);
  EXPECT_EQ(Shared(), ctx.sound.SoundFiles[sound::kDiscard]);
  // Nothing brings it back by itself: neither time nor more table sounds.
  platform.simClock().now += 60000;
  sound::PlayEffect(ctx, sound::kDraw);
  EXPECT_TRUE(ctx.sound.LoopOn);
  EXPECT_NE(Shared(), Loop());
  Switch(0);
  EXPECT_FALSE(ctx.sound.LoopOn);
  EXPECT_EQ(Shared(), "");
  Switch(0);
  EXPECT_TRUE(ctx.sound.LoopOn);
  EXPECT_EQ(Shared(), Loop());
  EXPECT_TRUE(audio().played.back().loop);
  EXPECT_EQ(audio().volume[platform::kSharedChannel], 0);
}

TEST_F(SoundSettings, CancelAfterSwitchingEffectsOffSwitchesThemOnAgain) {
  Switch(2);
  EXPECT_FALSE(ctx.sound.SoundOn);
  sound::PlayEffect(ctx, sound::kDice);
  EXPECT_NE(Shared(), ctx.sound.SoundFiles[sound::kDice]);
  Cancel();
  EXPECT_FALSE(vosSet().Visible());
  EXPECT_TRUE(ctx.sound.SoundOn);
  EXPECT_EQ(SwitchPicture(2), kPicOn);
  sound::PlayEffect(ctx, sound::kDice);
  EXPECT_EQ(Shared(), ctx.sound.SoundFiles[sound::kDice]);
}

TEST_F(SoundSettings, CancelUndoesOnlyWhatWasPressedSinceTheWindowOpened) {
  struct Case {
    const char* what;
    std::vector<int> beforeReopen, pressed;
    bool loop, phrases, effects, common;
  } cases[] = {
      {"nothing pressed", {}, {}, true, true, true, false},
      {"loop off", {}, {0}, true, true, true, false},
      {"loop pressed twice", {}, {0, 0}, true, true, true, false},
      {"all four", {}, {0, 1, 2, 3}, true, true, true, false},
      {"earlier changes were closed", {2, 3}, {1}, true, true, false, true},
      {"back from the common collection", {3}, {3}, true, true, true, true},
      {"collection pressed three times", {}, {3, 3, 3}, true, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ctx.sound.LoopOn = ctx.sound.PhraseVoicesOn = ctx.sound.SoundOn = true;
    sound::SelectVoiceCollection(ctx, false);
    for (int i : c.beforeReopen) Switch(i);
    Close();
    view::AnNiuClick(ctx, 3);
    ASSERT_TRUE(vosSet().Visible());
    for (int i : c.pressed) Switch(i);
    Cancel();
    EXPECT_EQ(ctx.sound.LoopOn, c.loop);
    EXPECT_EQ(ctx.sound.PhraseVoicesOn, c.phrases);
    EXPECT_EQ(ctx.sound.SoundOn, c.effects);
    EXPECT_EQ(sound::CommonCollectionSelected(ctx), c.common);
    // Folder and dialect always agree, so the voices are found.
    for (const auto& d : ctx.players.Detail) EXPECT_EQ(d.VoiceGroup, c.common ? "00" : "27");
    EXPECT_TRUE(ctx.sound.PressedSwitches.empty());
    view::AnNiuClick(ctx, 3);
  }
}

TEST_F(SoundSettings, CancelRestartsTheLoopItStopped) {
  Switch(0);
  EXPECT_EQ(Shared(), "");
  Cancel();
  EXPECT_TRUE(ctx.sound.LoopOn);
  EXPECT_EQ(Shared(), Loop());
}

TEST_F(SoundSettings, CloseKeepsTheChanges) {
  Switch(2);
  Switch(3);
  Close();
  EXPECT_FALSE(vosSet().Visible());
  EXPECT_FALSE(ctx.sound.SoundOn);
  EXPECT_TRUE(sound::CommonCollectionSelected(ctx));
  EXPECT_EQ(ctx.sound.VoiceFolder, "/opt/tavrel/bin/../common/mj/");
  EXPECT_EQ(ctx.players.Detail[2].VoiceGroup, "00");
}

TEST_F(SoundSettings, TheCollectionSwitchMovesEveryVoiceToTheOtherFolder) {
  Switch(3);
  ctx.sound.SoundOn = true;
  sound::PlayTileVoice(ctx, 1, 0x29);
  EXPECT_EQ(Shared(), "/opt/tavrel/bin/../common/mj/v00" + ctx.players.Detail[1].VoiceStyle + "1329.wav");
  Switch(3);
  platform.simClock().now += sound::kVoiceHoldMs;
  sound::PlayTileVoice(ctx, 1, 0x29);
  EXPECT_EQ(Shared(), "/opt/tavrel/bin/../common/tavrelmj/v27" + ctx.players.Detail[1].VoiceStyle + "1329.wav");
}

TEST_F(SoundSettings, ThePhraseSwitchSilencesTheOtherPlayersPhrases) {
  Switch(1);
  const std::size_t before = audio().played.size();
  sound::PlayPhraseVoice(ctx, 2, 3);
  EXPECT_EQ(audio().played.size(), before);
  Switch(1);
  sound::PlayPhraseVoice(ctx, 2, 3);
  EXPECT_EQ(audio().played.back().channel, platform::VoiceChannel(2));
}

TEST_F(SoundSettings, WithoutADeviceTheSwitchesStillWorkAndNothingPlays) {
  audio().available = false;
  const std::size_t before = audio().played.size();
  Switch(0);
  Switch(0);
  Switch(2);
  Switch(2);
  EXPECT_TRUE(ctx.sound.LoopOn);
  EXPECT_TRUE(ctx.sound.SoundOn);
  EXPECT_EQ(SwitchPicture(0), kPicOn);
  EXPECT_EQ(audio().played.size(), before);
}

}  // namespace
}  // namespace tavrel::testing
