#include "view/meld_view.h"

#include <algorithm>

#include "app/client_context.h"
#include "round/table_model.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::view {

namespace {

constexpr PictureSize kShownTile[4] = {{45, 60}, {45, 35}, {36, 39}, {45, 35}};
// How far the fourth tile of a gang is lifted off the middle tile (scale 1).
constexpr double kGangLift = 12;
constexpr double kApartGap = 10;

TileBox OnFelt(const ClientContext& ctx, TileBox b) {
  const double s = ctx.view.LayoutScale;
  b.left = std::clamp(b.left, 0.0, std::max(0.0, 1024 * s - b.width));
  b.top = std::clamp(b.top, 0.0, std::max(0.0, 768 * s - b.height));
  return b;
}

}  // namespace

void SetMeldTileSizes(ClientContext& ctx) {
  for (int r = 0; r < 4; ++r) {
    ctx.view.SeatTileWidth[r] = ScaledInt(ctx, MeldTileSize(r).width);
    ctx.view.SeatTileHeight[r] = ScaledInt(ctx, MeldTileSize(r).height);
  }
}

void SetShownHandSizes(ClientContext& ctx) {
  for (int r = 1; r < 4; ++r) {
    ctx.view.SeatTileWidth[r] = ScaledInt(ctx, kShownTile[r].width);
    ctx.view.SeatTileHeight[r] = ScaledInt(ctx, kShownTile[r].height);
  }
}

PictureSize ShownTileSize(int r) { return kShownTile[r & 3]; }

TileBox GangTopBox(const ClientContext& ctx, int r, int middleSlot) {
  TileBox b = MeldSlotBox(ctx, r, middleSlot);
  const double lift = kGangLift * ctx.view.LayoutScale;
  switch (r & 3) {
    case 0: b.top -= lift; break;
    case 1: b.left += lift; break;
    case 2: b.top += lift; break;
    default: b.left -= lift; break;
  }
  return OnFelt(ctx, b);
}

TileBox ShownSlotBox(const ClientContext& ctx, int r, int slot, bool apart) {
  r &= 3;
  const double s = ctx.view.LayoutScale;
  const TileBox row = RowSlotBox(ctx, r, slot);
  TileBox b{0, 0, kShownTile[r].width * s, kShownTile[r].height * s};
  // At the row's foot, as the melds lie.
  switch (r) {
    case 0: b.left = row.left + (row.width - b.width) / 2; b.top = row.top + row.height - b.height; break;
    case 1: b.left = row.left + row.width - b.width; b.top = row.top; break;
    case 2: b.left = row.left; b.top = row.top + row.height - b.height; break;
    default: b.left = row.left; b.top = row.top + row.height - b.height; break;
  }
  if (apart) {
    const double gap = kApartGap * s;
    switch (r) {
      case 0: b.left += gap; break;
      case 1: b.top += gap + b.height / 2; break;
      case 2: b.left -= gap; break;
      default: b.top -= gap + b.height / 2; break;
    }
  }
  return OnFelt(ctx, b);
}

TileBox ShownDiscardBox(const ClientContext& ctx, int r) {
  r &= 3;
  // Centres between each seat's row and its discards (scale 1).
  constexpr double kCentre[4][2] = {{512, 530}, {215, 330}, {512, 200}, {880, 400}};
  const double s = ctx.view.LayoutScale, grow = 1.2;
  TileBox b{0, 0, LyingTileSize(r).width * grow * s, LyingTileSize(r).height * grow * s};
  b.left = kCentre[r][0] * s - b.width / 2;
  b.top = kCentre[r][1] * s - b.height / 2;
  return OnFelt(ctx, b);
}

void ShowFaceAt(ClientContext& ctx, int image, int code, int r, const TileBox& box) {
  if (image < 0 || image >= kTileImageCount) return;
  PlaceTile(ctx, image, box);
  LoadTilePicture(ctx, image, FacePicture(code, (r & 3) == 0 ? kTileSetOwnLying : (r & 3), false));
  TileImage(ctx, image).BringToFront();
}

void StackSlots(ClientContext& ctx, int r, int first, int end) {
  const auto& seat = ctx.table.custom[r & 3];
  first = std::max(0, first);
  end = std::min(round::kSlotCount, end);
  auto front = [&](int k) {
    const int image = seat.tiles[k].imageIndex;
    if (image >= 0 && image < kTileImageCount) TileImage(ctx, image).BringToFront();
  };
  // The right column runs upward: its lower tiles are the nearer ones.
  if ((r & 3) == 3)
    for (int k = end - 1; k >= first; --k) front(k);
  else
    for (int k = first; k < end; ++k) front(k);
}

}  // namespace tavrel::view
