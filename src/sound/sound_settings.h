#pragma once
// The sound settings window VosSet: four switches that act at once (background
// sound, other players' phrase voices, effects and voices, voice collection),
// close (keeps the changes) and cancel (undoes the switches pressed since it opened).
namespace tavrel {
struct ClientContext;
}

namespace tavrel::sound {

inline constexpr int kSwitchBackground = 0;
inline constexpr int kSwitchPhraseVoices = 1;
inline constexpr int kSwitchEffects = 2;
inline constexpr int kSwitchCollection = 3;
inline constexpr int kSwitchCount = 4;

inline constexpr const char* kSettingsTitle = "声音设置";
inline constexpr const char* kSwitchCaptions[kSwitchCount] = {"背景音乐", "聊天语音", "音效和语音", "语音选择"};

// Creates the window's controls and their handlers (hidden).
void CreateVosSet(ClientContext& ctx);
// Window button 3 (设置): hides the window when shown, otherwise shows it above the
// table's bottom right corner with the switches' current pictures.
void ToggleVosSet(ClientContext& ctx);
// Command2(i): applies switch i at once and remembers it was pressed.
void PressSwitch(ClientContext& ctx, int i);
// Command1(0): hides the window, keeps the changes.
void CloseVosSet(ClientContext& ctx);
// Command1(1): hides the window and undoes every switch pressed since it opened.
void CancelVosSet(ClientContext& ctx);
// The on/off (or collection) picture of each switch from the current state.
void ShowSwitchPictures(ClientContext& ctx);
// Picture id switch i shows now.
int SwitchPicture(const ClientContext& ctx, int i);

}  // namespace tavrel::sound
