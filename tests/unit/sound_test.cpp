#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "client_fixture.h"
#include "sound/sound.h"

namespace tavrel::testing {
namespace {

using ::testing::ElementsAre;

struct SoundTest : ClientFixture {
  platform::sim::SimAudio& audio() { return platform.simAudio(); }
  void SetUp() override { platform.programFolder = "/opt/tavrel/bin"; }
};

TEST_F(SoundTest, StartUpPlaysTheTableLoopAtFullVolume) {
  sound::SetUpSound(ctx);
  EXPECT_TRUE(ctx.sound.SoundOn);
  ASSERT_EQ(audio().played.size(), 1u);
  EXPECT_EQ(audio().played[0].path, "/opt/tavrel/bin/../common/music/majiang.wav");
  EXPECT_TRUE(audio().played[0].loop);
  EXPECT_EQ(audio().volume[platform::kSharedChannel], 0);
  EXPECT_EQ(ctx.sound.VoiceFolder, "/opt/tavrel/bin/../common/tavrelmj/");
}

TEST_F(SoundTest, NoDeviceSilencesTheTableForGood) {
  audio().available = false;
  sound::SetUpSound(ctx);
  EXPECT_FALSE(ctx.sound.SoundOn);
  sound::PlayEffect(ctx, sound::kDiscard);
  sound::PlayTileVoice(ctx, 1, 0x45);
  EXPECT_TRUE(audio().played.empty());
}

TEST_F(SoundTest, DeviceErrorTurnsSoundOff) {
  sound::SetUpSound(ctx);
  audio().failOperations = true;
  sound::SetSharedVolume(ctx, sound::kFullVolume);
  EXPECT_FALSE(ctx.sound.SoundOn);
}

TEST_F(SoundTest, MissingFileIsSkippedAndSoundStaysOn) {
  sound::SetUpSound(ctx);
  audio().missing.insert(ctx.sound.SoundFiles[sound::kDiscard]);
  sound::PlayEffect(ctx, sound::kDiscard);
  // The loop ended all the same: the shared channel was released for the effect.
  EXPECT_EQ(audio().playing[platform::kSharedChannel], "");
  sound::PlayEffect(ctx, sound::kDice);
  EXPECT_TRUE(ctx.sound.SoundOn);
  EXPECT_THAT(audio().PathsOn(platform::kSharedChannel),
              ElementsAre(ctx.sound.SoundFiles[sound::kTableLoop], ctx.sound.SoundFiles[sound::kDice]));
}

TEST_F(SoundTest, TileVoiceOfAManWithVoiceNumberZero) {
  sound::SetUpSound(ctx);
  auto& d = ctx.players.Detail[2];
  d.Gender = 1;
  d.VoiceGroup = "27";
  d.VoiceStyle = sound::VoiceCodeOf(true, 0);
  d.VoiceKind = 3;
  sound::PlayTileVoice(ctx, 2, 0x45);
  EXPECT_EQ(audio().played.back().path, ctx.sound.VoiceFolder + "v27" "10" "1" "3" "85.wav");
  EXPECT_EQ(audio().played.back().channel, platform::kSharedChannel);
}

TEST(TileVoiceSuffix, SuitDigitsSwapCharactersAndDots) {
  struct Case {
    int code;
    const char* suffix;
  } cases[] = {{0x15, "15.wav"}, {0x29, "29.wav"}, {0x45, "85.wav"}, {0x81, "41.wav"}};
  for (const auto& c : cases) EXPECT_EQ(sound::TileVoiceSuffix(c.code), c.suffix) << std::hex << c.code;
}

TEST_F(SoundTest, PhraseVoiceUsesTheSpeakersChannelEightDecibelsDown) {
  sound::SetUpSound(ctx);
  ctx.players.Detail[3] = {};
  ctx.players.Detail[3].VoiceGroup = "27";
  ctx.players.Detail[3].VoiceStyle = "20";
  ctx.players.Detail[3].VoiceKind = 2;
  sound::PlayPhraseVoice(ctx, 3, 7);
  EXPECT_EQ(audio().played.back().channel, platform::VoiceChannel(3));
  EXPECT_EQ(audio().played.back().path, ctx.sound.VoiceFolder + "v272002" "00107.wav");
  EXPECT_EQ(audio().volume[platform::VoiceChannel(3)], -800);
}

TEST(PickVoiceNumber, ACollisionTakesTheLowestFreeNumber) {
  std::vector<bool> used(sound::kMaleVoices);
  EXPECT_EQ(sound::PickVoiceNumber(used, 3), 3);
  EXPECT_EQ(sound::PickVoiceNumber(used, 3), 0);
  EXPECT_EQ(sound::PickVoiceNumber(used, 0), 1);
  EXPECT_EQ(sound::PickVoiceNumber(used, 4), 4);
}

TEST(VoiceCodeOf, CodesOfEveryNumber) {
  const char* male[] = {"10", "30", "10", "30", "10"};
  const char* female[] = {"10", "20", "30", "10", "20", "30"};
  for (int k = 0; k < sound::kMaleVoices; ++k) EXPECT_EQ(sound::VoiceCodeOf(true, k), male[k]);
  for (int k = 0; k < sound::kFemaleVoices; ++k) EXPECT_EQ(sound::VoiceCodeOf(false, k), female[k]);
}

TEST_F(SoundTest, FourPlayersOfOneGenderGetFourDifferentVoices) {
  for (double start : {0.0, 17.3, 3600.5, 45000.25}) {
    platform.simClock().startSecondsOfDay = start;
    for (auto& d : ctx.players.Detail) d.Gender = 0;
    sound::AssignVoices(ctx);
    std::set<int> numbers(ctx.sound.AssignedVoiceNumber.begin(), ctx.sound.AssignedVoiceNumber.end());
    EXPECT_EQ(numbers.size(), 4u);
    for (const auto& d : ctx.players.Detail) {
      EXPECT_EQ(d.VoiceGroup, "27");
      EXPECT_EQ(d.VoiceKind, 2);
    }
  }
}

TEST_F(SoundTest, AGenderTheFilesDoNotKnowDrawsNoVoiceSet) {
  for (auto& d : ctx.players.Detail) d.Gender = 1;
  sound::AssignVoices(ctx);
  // The next player at seat 1 is of a gender the files do not know.
  ctx.players.Detail[1] = {};
  const std::uint8_t genders[4] = {1, 7, 1, 0};
  for (int p = 0; p < 4; ++p) ctx.players.Detail[p].Gender = genders[p];
  sound::AssignVoices(ctx);
  EXPECT_EQ(ctx.sound.AssignedVoiceCode[1], "");
  EXPECT_EQ(ctx.players.Detail[1].VoiceGroup, "");
  EXPECT_NE(ctx.sound.AssignedVoiceNumber[0], ctx.sound.AssignedVoiceNumber[2]);
  EXPECT_EQ(ctx.players.Detail[3].VoiceKind, 2);
  EXPECT_EQ(ctx.players.Detail[0].VoiceKind, 3);
}

}  // namespace
}  // namespace tavrel::testing

namespace tavrel::testing {
namespace {

// Voices on the shared channel are heard out: effects wait behind them, a newer voice does not.
struct SoundHoldTest : ClientFixture {
  platform::sim::SimAudio& audio() { return platform.simAudio(); }
  void SetUp() override {
    platform.programFolder = "/opt/tavrel/bin";
    sound::SetUpSound(ctx);
    for (auto& d : ctx.players.Detail) {
      d.Gender = 1;
      d.VoiceGroup = "27";
      d.VoiceStyle = "10";
      d.VoiceKind = 3;
    }
    audio().played.clear();
  }
  std::string Last() { return audio().playing[platform::kSharedChannel]; }
};

TEST_F(SoundHoldTest, EffectsWaitThreeSecondsBehindAVoice) {
  const std::string voice = sound::VoicePrefix(ctx, 1) + sound::TileVoiceSuffix(0x45);
  sound::PlayTileVoice(ctx, 1, 0x45);
  struct Step {
    int advanceMs;
    bool effectPlays;
  } steps[] = {{0, false}, {2999, false}, {1, true}};
  for (const Step& s : steps) {
    platform.simClock().now += s.advanceMs;
    sound::PlayEffect(ctx, sound::kWarning);
    EXPECT_EQ(Last() == ctx.sound.SoundFiles[sound::kWarning], s.effectPlays) << "after " << s.advanceMs;
  }
}

TEST_F(SoundHoldTest, ANewerVoiceReplacesTheHeldOne) {
  sound::PlayTileVoice(ctx, 1, 0x45);
  platform.simClock().now += 500;
  sound::PlayClaimVoice(ctx, 2, sound::kVoicePeng);
  EXPECT_EQ(Last(), sound::VoicePrefix(ctx, 2) + "02.wav");
  // The hold starts again with the newer voice.
  platform.simClock().now += 2800;
  sound::PlayEffect(ctx, sound::kDiscard);
  EXPECT_EQ(Last(), sound::VoicePrefix(ctx, 2) + "02.wav");
}

TEST_F(SoundHoldTest, AVoiceThatCannotPlayLeavesTheChannelSilentAndHoldsNothing) {
  sound::PlayEffect(ctx, sound::kDiscard);
  audio().missing.insert(sound::VoicePrefix(ctx, 1) + sound::TileVoiceSuffix(0x45));
  sound::PlayTileVoice(ctx, 1, 0x45);
  EXPECT_EQ(Last(), "");
  EXPECT_TRUE(ctx.sound.SoundOn);
  sound::PlayEffect(ctx, sound::kDice);
  EXPECT_EQ(Last(), ctx.sound.SoundFiles[sound::kDice]);
}

TEST_F(SoundHoldTest, TheOwnPhraseStopsTheSharedChannelFirstAndHolds) {
  sound::PlayEffect(ctx, sound::kDice);
  sound::PlayOwnPhraseVoice(ctx, 4);
  EXPECT_EQ(audio().stops.back(), platform::kSharedChannel);
  EXPECT_EQ(Last(), sound::VoicePrefix(ctx, 0) + "a4.wav");
  sound::PlayEffect(ctx, sound::kDiscard);
  EXPECT_EQ(Last(), sound::VoicePrefix(ctx, 0) + "a4.wav");
}

TEST_F(SoundHoldTest, ADiscardOfFiveCharactersByAManWithVoiceNumberZero) {
  // Through the real assignment: one man at the table draws voice number 0.
  for (auto& d : ctx.players.Detail) d.Gender = 0;
  ctx.players.Detail[3].Gender = 1;
  for (double start = 0; start < 200; start += 1) {
    platform.simClock().startSecondsOfDay = start;
    sound::AssignVoices(ctx);
    if (ctx.sound.AssignedVoiceNumber[3] == 0) break;
  }
  ASSERT_EQ(ctx.sound.AssignedVoiceNumber[3], 0);
  sound::PlayTileVoice(ctx, 3, 0x45);
  EXPECT_EQ(Last(), "/opt/tavrel/bin/../common/tavrelmj/v27" "10" "1" "3" "8" "5" ".wav");
}

TEST_F(SoundHoldTest, VoicesAssignedAfterChoosingTheCommonCollectionSpeakFromIt) {
  sound::SelectVoiceCollection(ctx, true);
  sound::AssignVoices(ctx);
  for (const auto& d : ctx.players.Detail) EXPECT_EQ(d.VoiceGroup, "00");
  sound::PlayTileVoice(ctx, 0, 0x11);
  EXPECT_EQ(Last().rfind("/opt/tavrel/bin/../common/mj/v00", 0), 0u) << Last();
}

}  // namespace
}  // namespace tavrel::testing
