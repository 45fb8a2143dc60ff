#include "view/table_keys.h"

#include <algorithm>

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "session/lobby_ops.h"
#include "view/decision_clock.h"
#include "view/hand_input.h"
#include "view/hand_view.h"
#include "view/window_frame.h"

namespace tavrel::view {

namespace {

constexpr int kQuitButton = 8;  // Esc does what the quit button does

bool KeyboardPlayOn(const ClientContext& ctx) {
  return ctx.session.TableActive && ctx.view.HandStarted[2] && ctx.table.SpectatorMode == round::kFalse;
}

void MoveRaisedTile(ClientContext& ctx, int step) {
  if (!KeyboardPlayOn(ctx)) return;
  const SlotRange hand = OwnConcealedSlots(ctx);
  if (hand.Empty()) return;
  const int raised = RaisedOwnSlot(ctx);
  RaiseOwnSlot(ctx, raised < 0 ? hand.Last() : std::clamp(raised + step, hand.first, hand.Last()));
}

void DiscardRaisedTile(ClientContext& ctx) {
  if (!KeyboardPlayOn(ctx)) return;
  const int slot = RaisedOwnSlot(ctx);
  if (slot >= 0) TileMouseDown(ctx, ctx.table.custom[0].tiles[slot].imageIndex, platform::kLeftButton);
}

}  // namespace

void ForwardKeyToPlugin(ClientContext& ctx, int key) {
  if (key < kKeyF1 || key > kKeyF6) return;
  props::ForwardKey(ctx, key);
}

void BossKey(ClientContext& ctx) {
  ctx.view.BossKeyActive = true;
  for (const char* name : {frm::Information, frm::Talk, frm::VosSet, frm::frmExit, frm::Hero, frm::Score})
    if (platform::Form* f = ctx.ui.Find(name)) f->Hide();
  ForwardKeyToPlugin(ctx, kKeyF1);
  CountdownReset(ctx) = 0;
  ctx.main().SetState(platform::WindowState::Minimized);
  // Hiding must not end the program when the lobby has gone.
  if (session::LobbyExists(ctx)) session::MinimizeLobby(ctx);
}

void ShowTalkWindow(ClientContext& ctx) {
  platform::Form& main = ctx.main();
  const platform::Control& surface = main.Get(ctl::Pic1);
  const bool small = ctx.view.LayoutScale < 1.0;
  const double across = small ? 0.22 : 0.3, down = small ? 0.6 : 0.66;
  platform::Form& talk = ctx.ui.form(frm::Talk);
  talk.SetTopmost(true);
  talk.Move(main.Bounds().left + surface.Left() + across * surface.Width(),
            main.Bounds().top + surface.Top() + down * surface.Height());
  talk.Show();
}

void OnTableKeyDown(ClientContext& ctx, int key) {
  InputState& in = ctx.view.input;
  // Alt, then C: a C without the Alt before it is only a letter.
  if (key == kKeyAlt)
    in.AltPressed = true;
  else if (key == kKeyC && in.AltPressed)
    in.CPressed = true;
  else
    in.AltPressed = in.CPressed = false;
  if (in.AltPressed && in.CPressed) {
    in.AltPressed = in.CPressed = false;
    ShowTalkWindow(ctx);
    return;
  }
  switch (key) {
    case kKeyF1: BossKey(ctx); return;
    case kKeyEsc: AnNiuClick(ctx, kQuitButton); return;
    case kKeyLeft: MoveRaisedTile(ctx, -1); return;
    case kKeyRight: MoveRaisedTile(ctx, +1); return;
    case kKeyEnter:
    case kKeySpace: DiscardRaisedTile(ctx); return;
    default: ForwardKeyToPlugin(ctx, key); return;
  }
}

}  // namespace tavrel::view
