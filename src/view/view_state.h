#pragma once
// State of the table view: layout scale, picture tables, per-seat tile sizes and
// the window buttons' flags.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "view/input_state.h"

namespace tavrel::platform {
class Control;
}

namespace tavrel::view {

// What the window buttons do where another Part owns the window or the step;
// each is empty (the click does nothing) until that Part sets it.
struct WindowButtonActions {
  std::function<void()> sendChat;         // 发送: the chat line
  std::function<void()> toggleChat;       // 聊天: the chat history window
  std::function<void()> startOrContinue;  // 开始 / 继续: the continue step or the leave
  std::function<void()> toggleSettings;   // 设置: the voice settings window
  std::function<void()> toggleResults;    // 战绩: the hand record window
  std::function<void()> toggleHistory;    // 历史: the history window
  std::function<void()> minimised;        // the window went to the task bar
};

struct ViewState {
  double LayoutScale = 1.0;

  // Picture tables: resource ids addressed by position.
  std::array<int, 20> ButtonPictures{};
  std::array<int, 180> TilePictures{};
  std::array<int, 18> OfferPictures{};
  std::array<int, 16> DicePictures{};
  std::array<int, 8> ClaimWordPictures{};
  std::array<int, 20> AvatarPictures{};
  std::array<int, 8> DialogButtonPictures{};
  std::array<int, 4> CompassPictures{};
  std::array<int, 3> GenZhuangPictures{};
  std::array<int, 6> SmallDicePictures{};

  // MJ_Image(0..83), found once (the round flow moves them on every draw and discard).
  std::array<platform::Control*, 84> tileImages{};

  // Size of the next tile placed for each relative seat, already scaled.
  std::array<std::int16_t, 4> SeatTileWidth{};
  std::array<std::int16_t, 4> SeatTileHeight{};

  // Window buttons AnNiu(0..8).
  std::array<bool, 9> ButtonHover{};
  std::array<bool, 9> HandStarted{};
  bool StartPictureMode = true;   // the start button shows 开始 rather than 继续
  bool LeaveOnStart = false;      // the next start press leaves the table
  bool TitleButtonsNormal = true; // ImgClose/ImgMin show their normal pictures
  bool BossKeyActive = false;     // F1 has hidden the window

  // The local player's decisions: offers, the countdown, time-outs, keys.
  InputState input;

  // Whether the hand doubles by dice and the table by wealth; the round flow and
  // the settlement own those flags and set these readers (empty: no doubling).
  std::function<bool()> diceDoubling;
  std::function<bool()> wealthDoubling;

  WindowButtonActions actions;

  // The drawing backend attached to the windows, owned here so that it goes
  // before the windows' model does.
  std::shared_ptr<void> windowBackend;

  // Parts that keep per-hand display state of their own (claim count, hand-end
  // flags shared with the props) register its reset here; ResetLayout runs them.
  std::vector<std::function<void()>> resetLayoutSteps;
};

}  // namespace tavrel::view
