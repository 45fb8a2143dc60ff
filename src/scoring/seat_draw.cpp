#include "scoring/seat_draw.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "sound/sound.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::scoring {
namespace {

constexpr int kStandingBack = 7;  // TilePictures(7): a tile standing face down
// Four standing tiles side by side at the centre of the 1024 x 768 design.
constexpr double kTileWidth = 50, kTileHeight = 77, kGap = 10;
constexpr double kFirstLeft = 512 - (4 * kTileWidth + 3 * kGap) / 2, kTop = 384 - kTileHeight / 2;

platform::Control& DrawTile(ClientContext& ctx, int i) { return view::OnTable(ctx, ctl::SeatDraw, i); }

}  // namespace

void SeatDraw(ClientContext& ctx) {
  sound::PlayEffect(ctx, sound::kDraw);
  const double s = ctx.view.LayoutScale;
  for (int i = 0; i < 4; ++i) {
    platform::Control& tile = DrawTile(ctx, i);
    tile.Move((kFirstLeft + i * (kTileWidth + kGap)) * s, kTop * s, kTileWidth * s, kTileHeight * s);
    view::LoadResourcePicture(ctx, ctx.view.TilePictures[kStandingBack], tile);
    tile.SetVisible(true);
    tile.BringToFront();
  }
  ctx.platform.PumpFor(kSeatDrawStepMs);
  if (!ctx.platform.Ending()) {
    const int own = round::SeatIndex(ctx.table.custom[0].seat);
    view::LoadResourcePicture(ctx, ctx.view.TilePictures[SeatWindPicture(own)], DrawTile(ctx, ctx.RandomBelow(4)));
    ctx.platform.PumpFor(kSeatDrawStepMs);
  }
  for (int i = 0; i < 4; ++i) DrawTile(ctx, i).SetVisible(false);
}

}  // namespace tavrel::scoring
