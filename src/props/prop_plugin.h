#pragma once
// The prop plug-in object (PropPlugin) as the table calls it: each method calls the plug-in's C
// function, converting text between UTF-8 and code page 936 and checking every
// length the plug-in hands back (a length out of range makes the answer unusable).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "props/plugin_library.h"
#include "session/wire.h"

namespace tavrel::props {

inline constexpr int kChestPlaces = TAVREL_PROP_CHESTS;
inline constexpr int kChestsPerSeat = 5;

// One seated player as the plug-in is told of it.
struct PropUser {
  std::string username, tableName;
  int seatMask = 0;
  int position = 0;
  bool hasCredit = false;
  int gender = 0;
  std::string tag, face;
};

// The chests' layout (GetBaoInfo), in design units.
struct ChestLayout {
  std::array<int, 2 * kChestPlaces> positions{};  // X of chest m at m, Y at m + 15
  int width = 0, height = 0;
  int closedPicture = 0, openPicture = 0;
  int labelX = 0, labelY = 0;
  int openX = 0, openY = 0;
  int animationTicks = 0;
};

// One item of GetSendBuff.
struct SendItem {
  int picture = 0;
  int type = -1;
  std::string text;   // UTF-8
  bool textOk = true; // false: the plug-in's text length was garbage
  Packet packet{};
  int packetLength = 0;
  std::vector<int> layout, style;
};

// The hand's results (GetScoreInfo), per seat position.
struct ScoreInfo {
  std::array<std::string, 4> title, lines, names;
  std::array<double, 4> gold{};
  // A seat has a chest when either text is not empty.
  bool HasChest(int p) const { return !title[p].empty() || !lines[p].empty(); }
};

class PluginObject {
 public:
  explicit PluginObject(std::shared_ptr<const PluginApi> api) : api_(std::move(api)) {}

  bool Initdll(const std::string& userName, int displayScale, int pluginNumber);
  // True when the plug-in uses chests and its layout is usable.
  bool GetBaoInfo(ChestLayout& out);
  void Rec_MSG(const Packet& packet);
  bool SetUserinfo(const PropUser& user);
  bool Ainit(const std::string& text);
  void rec_state(int code, int value, int data = 0);
  void ClearUser(int position);
  int CheckSendBuff();
  SendItem GetSendBuff();
  // 1 when ready (out then holds the results).
  int GetScoreInfo(ScoreInfo& out);
  void InitShowEnd();
  void InitShowNext(bool newHand);
  void ShowGif(int which, bool on);
  void SetKeyDown(int key);
  void FixBuffPos();
  void setbankstate(int state);
  void UpdataMyProp(bool update);
  void InitExit();

 private:
  std::shared_ptr<const PluginApi> api_;
  // The texts GetScoreInfo lends the plug-in, asked every tick until it answers:
  // made once and emptied before each call rather than made anew each time.
  struct ScoreTexts;
  std::shared_ptr<ScoreTexts> scoreTexts_;
};

}  // namespace tavrel::props
