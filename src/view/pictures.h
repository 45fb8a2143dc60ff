#pragma once
// Pictures into controls: resource pictures by id and the 84 tile pictures.
#include "platform/controls.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

inline constexpr int kTileImageCount = 84;
inline constexpr int kTilePictureCount = 180;

// Puts picture resourceId into target; false (target unchanged) when the pack
// cannot show it. A control without a size takes the picture's own size.
bool LoadResourcePicture(ClientContext& ctx, int resourceId, platform::Control& target);

// Picture index 0..179 of a tile code in one of the five sets; honour ranks 8 and
// 9 give the standing and the lying back.
constexpr int TilePictureIndex(int code, int set) {
  int suit = 0;
  for (int nibble = (code >> 4) & 0xF; nibble >= 2; nibble >>= 1) ++suit;
  return set * 36 + 9 * suit + (code & 0xF) - 1;
}

// MJ_Image(i), the tile picture control of wall position i.
platform::Control& TileImage(ClientContext& ctx, int imageIndex);

// Shows TilePictures(pictureIndex) in MJ_Image(imageIndex); out-of-range indices
// change nothing, and a failed load leaves the tile hidden.
void LoadTilePicture(ClientContext& ctx, int imageIndex, int pictureIndex);

}  // namespace tavrel::view
