#include "view/claim_words.h"

#include <algorithm>

#include "app/client_context.h"
#include "platform/names.h"
#include "view/layout.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"

namespace tavrel::view {

namespace {
bool ValidBubble(int i) { return i >= 0 && i < 3; }
}  // namespace

void PlaceClaimBubble(ClientContext& ctx, int i) {
  if (!ValidBubble(i)) return;
  const double s = ctx.view.LayoutScale;
  const double w = kClaimWordSize.width * s, h = kClaimWordSize.height * s;
  double left = 8 * s, top = 330 * s;
  if (i == 1) {
    const platform::Control& avatar = OnTable(ctx, ctl::Tou, 2);
    left = avatar.Left();
    top = avatar.Top() + avatar.Height();
  } else if (i == 2) {
    left = 936 * s;
    top = 280 * s;
  }
  // The right seat's bubble would reach past the table's edge.
  left = std::clamp(left, 0.0, std::max(0.0, 1024 * s - w));
  top = std::clamp(top, 0.0, std::max(0.0, 768 * s - h));
  OnTable(ctx, ctl::Speak, i).Move(left, top, w, h);
}

void ShowClaimWord(ClientContext& ctx, int i, int word, bool inImage1) {
  if (!ValidBubble(i) || word < 0 || word >= kClaimWordCount) return;
  const platform::Control& bubble = OnTable(ctx, ctl::Speak, i);
  platform::Control& target = inImage1 ? OnTable(ctx, ctl::Image1, i) : OnTable(ctx, ctl::Words);
  target.Move(bubble.Left(), bubble.Top(), bubble.Width(), bubble.Height());
  LoadResourcePicture(ctx, ctx.view.ClaimWordPictures[word], target);
  target.SetVisible(true);
  target.BringToFront();
}

void HideClaimBubble(ClientContext& ctx, int i, bool words) {
  platform::Form& form = ctx.main();
  if (ValidBubble(i)) {
    if (platform::Control* c = form.Find(ctl::Speak, i)) c->SetVisible(false);
    if (platform::Control* c = form.Find(ctl::Image1, i)) c->SetVisible(false);
  }
  if (words)
    if (platform::Control* c = form.Find(ctl::Words)) c->SetVisible(false);
}

}  // namespace tavrel::view
