#include "view/row_layout.h"

#include <algorithm>

#include "app/client_context.h"
#include "round/table_model.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::view {

namespace {

constexpr PictureSize kRowTile[4] = {{48, 78}, {35, 66}, {36, 50}, {35, 66}};
constexpr PictureSize kLyingTile[4] = {{36, 50}, {48, 35}, {30, 36}, {48, 35}};
constexpr PictureSize kMeldTile[4] = {{45, 60}, {45, 35}, {34, 40}, {45, 35}};
// Distance from one slot to the next along the row (scale 1). The side rows overlap
// so that fourteen tiles and a drawn one fit between the avatars and the own row.
constexpr double kSlotStep[4] = {48, 20, 36, 22};
constexpr double kDrawnGap = 10;
constexpr int kFirstOtherSlot = 2;

// Set-aside spots: where the first one lies and the step to the next (scale 1).
struct Spot {
  double left, top, stepX, stepY;
};
constexpr Spot kSetAside[4] = {
    {700, 505, 29, 0},   // own: right of the own wall, above the own row
    {76, 192, 0, 35},    // left: beside the left seat's column
    {810, 84, -30, 0},   // top: above the top seat's row
    {890, 520, 0, -35},  // right: beside the right seat's column, upward, clear of the own row
};

double Scale(const ClientContext& ctx) { return ctx.view.LayoutScale; }

// Steps from the row's first slot to slot k.
double StepsTo(int r, int slot) { return r == 0 ? slot : slot - kFirstOtherSlot; }

// A box kept on the felt: rows longer than a hand can be stop at its edge.
TileBox OnFelt(const ClientContext& ctx, TileBox b) {
  const double s = Scale(ctx);
  b.left = std::clamp(b.left, 0.0, std::max(0.0, 1024 * s - b.width));
  b.top = std::clamp(b.top, 0.0, std::max(0.0, 768 * s - b.height));
  return b;
}

TileBox Sized(const ClientContext& ctx, PictureSize size) {
  const double s = Scale(ctx);
  return {0, 0, size.width * s, size.height * s};
}

}  // namespace

PictureSize RowTileSize(int r) { return kRowTile[r & 3]; }
PictureSize LyingTileSize(int r) { return kLyingTile[r & 3]; }
PictureSize MeldTileSize(int r) { return kMeldTile[r & 3]; }

void SetRowTileSize(ClientContext& ctx, int r) {
  ctx.view.SeatTileWidth[r & 3] = ScaledInt(ctx, kRowTile[r & 3].width);
  ctx.view.SeatTileHeight[r & 3] = ScaledInt(ctx, kRowTile[r & 3].height);
}

void SetLyingTileSize(ClientContext& ctx, int r) {
  ctx.view.SeatTileWidth[r & 3] = ScaledInt(ctx, kLyingTile[r & 3].width);
  ctx.view.SeatTileHeight[r & 3] = ScaledInt(ctx, kLyingTile[r & 3].height);
}

TileBox RowSlotBox(const ClientContext& ctx, int r, int slot) {
  r &= 3;
  const auto& seat = ctx.table.custom[r];
  const double s = Scale(ctx), along = StepsTo(r, slot) * kSlotStep[r] * s;
  TileBox b = Sized(ctx, kRowTile[r]);
  switch (r) {
    case 0: b.left = seat.handX + along; b.top = seat.handY; break;
    case 1: b.left = seat.handX - b.width; b.top = seat.handY + along; break;
    case 2: b.left = seat.handX - along; b.top = seat.handY; break;
    default: b.left = seat.handX; b.top = seat.handY - along; break;
  }
  return OnFelt(ctx, b);
}

TileBox DrawnTileBox(const ClientContext& ctx, int r, int slot) {
  TileBox b = RowSlotBox(ctx, r, slot);
  const double gap = kDrawnGap * Scale(ctx);
  switch (r & 3) {
    case 0: b.left += b.width / 2; break;
    case 1: b.top += gap; break;
    case 2: b.left -= gap; break;
    default: b.top -= gap; break;
  }
  return OnFelt(ctx, b);
}

TileBox MeldSlotBox(const ClientContext& ctx, int r, int slot) {
  r &= 3;
  const TileBox row = RowSlotBox(ctx, r, slot);
  TileBox b = Sized(ctx, kMeldTile[r]);
  switch (r) {
    case 0: b.left = row.left + (row.width - b.width) / 2; b.top = row.top + row.height - b.height; break;
    case 1: b.left = row.left + row.width - b.width; b.top = row.top; break;
    case 2: b.left = row.left; b.top = row.top + row.height - b.height; break;
    default: b.left = row.left; b.top = row.top + row.height - b.height; break;
  }
  return OnFelt(ctx, b);
}

TileBox SetAsideBox(const ClientContext& ctx, int r, int n) {
  r &= 3;
  n = std::clamp(n, 0, 7);
  const double s = Scale(ctx);
  const Spot& spot = kSetAside[r];
  TileBox b = Sized(ctx, kLyingTile[r]);
  b.left = (spot.left + n * spot.stepX) * s;
  b.top = (spot.top + n * spot.stepY) * s;
  return b;
}

TileBox CentreBox(const ClientContext& ctx, int r) {
  // The centre of the layout's area, where the felt is painted.
  const double s = Scale(ctx);
  TileBox b = Sized(ctx, kLyingTile[r & 3]);
  b.left = (1024 * s - b.width) / 2;
  b.top = (768 * s - b.height) / 2;
  return b;
}

int FacePicture(int code, int set, bool standing) {
  if (!round::IsTileCode(code)) return set * kTilesPerSet + (standing ? kTilePosStandingBack : kTilePosLyingBack);
  return TilePictureIndex(code, set);
}

int StandingBackPicture(int r) { return (r & 3) * kTilesPerSet + kTilePosStandingBack; }

int WallSideOf(int position) {
  const int p = ((position % round::kWallSize) + round::kWallSize) % round::kWallSize;
  return p < 22 ? 0 : p < 42 ? 1 : p < 64 ? 2 : 3;
}

int WallBackPicture(int side) {
  // The top side shows the own set's back, as the wall is built.
  constexpr int kBack[4] = {kTilePosLyingBack, kTilesPerSet + kTilePosLyingBack, kTilePosLyingBack,
                            3 * kTilesPerSet + kTilePosLyingBack};
  return kBack[side & 3];
}

void PlaceTile(ClientContext& ctx, int image, const TileBox& box) {
  if (image < 0 || image >= kTileImageCount) return;
  TileImage(ctx, image).Move(box.left, box.top, box.width, box.height);
}

void LayOutConcealedRow(ClientContext& ctx, int r) {
  r &= 3;
  const auto& seat = ctx.table.custom[r];
  const int first = std::max<int>(0, seat.firstConcealed);
  const int end = std::min<int>(round::kSlotCount, first + std::max<int>(0, seat.concealedCount));
  for (int k = first; k < end; ++k) PlaceTile(ctx, seat.tiles[k].imageIndex, RowSlotBox(ctx, r, k));
  StackRow(ctx, r);
}

void StackRow(ClientContext& ctx, int r) {
  r &= 3;
  const auto& seat = ctx.table.custom[r];
  const int first = std::max<int>(0, seat.firstConcealed);
  const int end = std::min<int>(round::kSlotCount, first + std::max<int>(0, seat.concealedCount));
  auto front = [&](int k) {
    const int image = seat.tiles[k].imageIndex;
    if (image >= 0 && image < kTileImageCount) TileImage(ctx, image).BringToFront();
  };
  // The lower tile of a side column is the nearer one: it covers the tile above it.
  if (r == 3)
    for (int k = end - 1; k >= first; --k) front(k);
  else
    for (int k = first; k < end; ++k) front(k);
}

}  // namespace tavrel::view
