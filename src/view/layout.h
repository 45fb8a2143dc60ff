#pragma once
// The table layout: one design in pixels for a 1024 x 768 table, scaled as a
// whole on smaller screens; the picture tables; the reset before each hand.
#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/platform.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

inline constexpr double kSmallLayoutScale = 0.78125;

double LayoutScaleFor(platform::ScreenSize screen);
// Sets ctx.view.LayoutScale from the screen the platform reports.
void SetLayoutScale(ClientContext& ctx);

// Nearest integer, halves to the even neighbour (for scaled numbers kept as integers).
std::int16_t RoundHalfEven(double v);
// A design number times the layout scale, rounded for storage.
std::int16_t ScaledInt(const ClientContext& ctx, double designPixels);

// A control on the table surface, created on first use.
platform::Control& OnTable(ClientContext& ctx, const platform::ControlName& name, int index = -1);

void InitPictureTables(ClientContext& ctx);
void InitLayout(ClientContext& ctx);
void FinishLayout(ClientContext& ctx);
void ResetLayout(ClientContext& ctx);

// The continue countdown (Time_Img, Number) in its place below the wild-tile plaque.
void PlaceContinueCountdown(ClientContext& ctx);
// The seat-change banner (ImgShuffle, its caption LblShuffle) and the advert panel below it.
void PlaceSeatChangeDisplay(ClientContext& ctx);

// The wall and discard tile size of every relative seat (part of the reset).
void SetDefaultTileSizes(ClientContext& ctx);
// Every wall position in its side's place and size, with the stacking order.
void PlaceWall(ClientContext& ctx);

}  // namespace tavrel::view
