#include "view/pictures.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "view/picture_catalogue.h"

namespace tavrel::view {

bool LoadResourcePicture(ClientContext& ctx, int resourceId, platform::Control& target) {
  if (resourceId <= 0 || !ctx.platform.pictures().Load(resourceId)) return false;
  target.SetPicture(resourceId);
  if (target.Width() == 0 && target.Height() == 0)
    if (const PictureInfo* info = FindPicture(resourceId)) target.SetSize(info->width, info->height);
  return true;
}

platform::Control& TileImage(ClientContext& ctx, int imageIndex) {
  platform::Control** cached = imageIndex >= 0 && imageIndex < kTileImageCount ? &ctx.view.tileImages[imageIndex] : nullptr;
  if (cached && *cached) return **cached;
  auto& c = ctx.main().Get(ctl::MJ_Image, imageIndex);
  if (c.Container().empty()) c.SetContainer(ctl::Pic1.name);
  if (cached) *cached = &c;
  return c;
}

void LoadTilePicture(ClientContext& ctx, int imageIndex, int pictureIndex) {
  if (imageIndex < 0 || imageIndex >= kTileImageCount) return;
  if (pictureIndex < 0 || pictureIndex >= kTilePictureCount) return;
  platform::Control& image = TileImage(ctx, imageIndex);
  image.SetVisible(false);
  if (LoadResourcePicture(ctx, ctx.view.TilePictures[pictureIndex], image)) image.SetVisible(true);
}

}  // namespace tavrel::view
