#pragma once
// The seat-change display: the banner "正在随机换座中.." with its advert panel while
// the server draws the seats anew, and TimerShuffle that keeps its dots moving.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

inline constexpr const char* kShuffleCaption = "正在随机换座中..";
inline constexpr int kTimerShuffleMs = 300;

// Creates TimerShuffle (off); the registration calls it.
void InstallTimerShuffle(ClientContext& ctx);
// The banner and its caption in front, and the advert panel with the seat-change page.
void ShowSeatChangeBanner(ClientContext& ctx);
// After the continue step: the seats are about to be drawn anew. The four seat
// masks go, the banner shows and its caption starts moving.
void StartSeatChangeDisplay(ClientContext& ctx);
// The banner, its caption, the advert panel hidden and TimerShuffle stopped.
void StopSeatChangeDisplay(ClientContext& ctx);
// One tick of TimerShuffle: the next of the four captions.
void TimerShuffleTick(ClientContext& ctx);

}  // namespace tavrel::scoring
