#pragma once
// Where the tiles lie on the table: each seat's row (standing tiles, the drawn tile
// set apart, face-up melds), the set-aside spots, the discard tiles, the table
// centre and the wall sides. Places are window pixels at the layout's scale; a row
// is counted by slot, as the player table counts it.
#include "view/picture_catalogue.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

struct TileBox {
  double left = 0, top = 0, width = 0, height = 0;
};

// Sizes at scale 1, by relative seat (0 own, 1 left, 2 top, 3 right).
PictureSize RowTileSize(int r);    // standing: own 48 x 78, sides 35 x 66, top 36 x 50
PictureSize LyingTileSize(int r);  // wall, discards, centre, set aside: 36 x 50, 48 x 35, 30 x 36
PictureSize MeldTileSize(int r);   // face up in a meld: 45 x 60, 45 x 35, 34 x 40

// SeatTileWidth/Height of seat r: its standing row size, or its wall and discard size.
void SetRowTileSize(ClientContext& ctx, int r);
void SetLyingTileSize(ClientContext& ctx, int r);

// Slot k of seat r's row. The own row runs right from handX, 48 apart (the input
// moves own tiles the same way); the top row runs left from handX; the side rows
// run down (left seat, hanging left of handX) and up (right seat) from handY,
// their standing tiles overlapping. Slots 0 and 1 of the other seats never hold a
// tile, so their rows start at slot 2.
TileBox RowSlotBox(const ClientContext& ctx, int r, int slot);
// A drawn tile stands apart from the row: half a tile for the own seat, a small gap
// for the others.
TileBox DrawnTileBox(const ClientContext& ctx, int r, int slot);
// A face-up meld tile in slot k, at the row's foot.
TileBox MeldSlotBox(const ClientContext& ctx, int r, int slot);
// The n-th tile (0..7) set aside beside seat r's row.
TileBox SetAsideBox(const ClientContext& ctx, int r, int n);
// A discard of seat r at the centre of the table's design area.
TileBox CentreBox(const ClientContext& ctx, int r);

// Face of a tile code in a picture set; a code that is no tile shows the set's back.
int FacePicture(int code, int set, bool standing);
// The standing back of seat r's row (own 7, then 43, 79, 115).
int StandingBackPicture(int r);
// Side (0..3) of a wall position and the lying back that side shows.
int WallSideOf(int position);
int WallBackPicture(int side);

// Moves MJ_Image(image) to a box; indices outside the pool change nothing.
void PlaceTile(ClientContext& ctx, int image, const TileBox& box);
// Every concealed tile of seat r in its slot's place, the overlapping side rows
// stacked so that the nearer tile covers the farther one.
void LayOutConcealedRow(ClientContext& ctx, int r);
void StackRow(ClientContext& ctx, int r);

}  // namespace tavrel::view
