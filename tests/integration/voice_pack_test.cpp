// Our generated sound pack is complete: for both voice collections and every voice set
// the client can give a player, every tile, claim and quick phrase names a file that
// exists and that the sound device accepts; the six effects too. The names are built
// by the client's own code, so a pack that disagrees with the client fails here.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <set>
#include <string>
#include <vector>

#include "app/client_context.h"
#include "platform/qt/qt_platform.h"
#include "platform/wave_file.h"
#include "session/ini_file.h"
#include "session_harness.h"
#include "sound/sound.h"

namespace tavrel::itest {
namespace {

const QString kCommon = QDir::cleanPath(QString(TAVREL_PROGRAM_DIR) + "/../common");

// Every tile code of the game, by suit and rank.
std::vector<int> TileCodes() {
  std::vector<int> codes;
  for (int rank = 1; rank <= 7; ++rank) codes.push_back(0x10 | rank);
  for (int suit : {0x20, 0x40, 0x80})
    for (int rank = 1; rank <= 9; ++rank) codes.push_back(suit | rank);
  return codes;
}

// Phrase numbers 1..num of a list whose text is not empty, as the client reads chat.ini.
std::vector<int> Phrases(classIniFile& ini, const char* section) {
  std::vector<int> numbers;
  const int count = std::atoi(ini.GetIniKey(section, "num").c_str());
  for (int n = 1; n <= count; ++n)
    if (!ini.GetIniKey(section, std::to_string(n)).empty()) numbers.push_back(n);
  return numbers;
}

class VoicePack : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFileInfo(kCommon + "/mj").isDir())
      GTEST_SKIP() << "no sound pack in " << kCommon.toStdString() << " (espeak-ng or sox missing at build time)";
    EnsureApp();
    qputenv("TAVREL_PROGRAM_FOLDER", QByteArray(TAVREL_PROGRAM_DIR));
    ctx_ = std::make_unique<ClientContext>(platform_);
    sound::SetUpSound(*ctx_);
  }
  void Expect(const std::string& path) {
    ++checked_;
    const platform::WaveResult r = platform::ReadWaveFile(path);
    if (!r.sound) {
      ADD_FAILURE() << path << ": " << platform::WaveErrorText(r.error);
      return;
    }
    EXPECT_GT(r.sound->Seconds(), 0.05) << path;
  }
  platform::qt::QtPlatform platform_;
  std::unique_ptr<ClientContext> ctx_;
  int checked_ = 0;
};

TEST_F(VoicePack, EveryNameTheClientCanBuildHasItsFile) {
  ClientContext& ctx = *ctx_;
  for (int effect = 1; effect <= 6; ++effect) Expect(ctx.sound.SoundFiles[effect]);

  classIniFile ini(std::string(TAVREL_SOURCE_DIR) + "/assets/chat/chat.ini");
  const std::vector<int> list1 = Phrases(ini, "Phrase1"), list2 = Phrases(ini, "Phrase2");
  ASSERT_FALSE(list1.empty());
  ASSERT_FALSE(list2.empty());
  const char* claims[] = {sound::kVoiceChi, sound::kVoicePeng, sound::kVoiceGang,
                          sound::kVoiceRedGang, sound::kVoiceWildGang, sound::kVoiceHu};

  std::set<std::string> sets;
  for (bool common : {false, true}) {
    // Every voice number of either gender, through the client's own assignment rules.
    for (bool male : {true, false}) {
      const int numbers = male ? sound::kMaleVoices : sound::kFemaleVoices;
      for (int k = 0; k < numbers; ++k) {
        scoring::Detail& d = ctx.players.Detail[0];
        d.Gender = male ? 1 : 0;
        d.VoiceStyle = sound::VoiceCodeOf(male, k);
        d.VoiceKind = male ? 3 : 2;
        sound::SelectVoiceCollection(ctx, common);
        const std::string prefix = sound::VoicePrefix(ctx, 0);
        if (!sets.insert(prefix).second) continue;
        SCOPED_TRACE(prefix);
        for (int code : TileCodes()) Expect(prefix + sound::TileVoiceSuffix(code));
        for (const char* claim : claims) Expect(prefix + claim);
        for (int n : list1) Expect(prefix + sound::PhraseVoiceSuffix(n));
        for (int n : list2) Expect(prefix + sound::OwnPhraseVoiceSuffix(n));
      }
    }
  }
  // Men 10 and 30, women 10, 20 and 30, in each collection.
  EXPECT_EQ(sets.size(), 10u);

  qint64 bytes = 0;
  int files = 0;
  for (QDirIterator it(kCommon, {"*.wav"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
    bytes += QFileInfo(it.next()).size();
    ++files;
  }
  std::printf("sound pack: %d files checked, %d files in %s, %.1f MB\n", checked_, files, qPrintable(kCommon),
              bytes / 1048576.0);
  RecordProperty("pack_bytes", std::to_string(bytes));
}

}  // namespace
}  // namespace tavrel::itest
