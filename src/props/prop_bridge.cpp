// Loading and closing the prop plug-in, and what it is told of the table.
#include "app/client_context.h"
#include "platform/names.h"
#include "props/props.h"
#include "session/debug_log.h"
#include "view/layout.h"

namespace tavrel::props {
namespace {

constexpr char kResetConfig[] = "newvlp.xml";

void CreateChestImages(ClientContext& ctx) {
  for (int i = 0; i < kChestPlaces; ++i) {
    platform::Control& chest = view::OnTable(ctx, ctl::ImgProp, i);
    chest.SetVisible(false);
    chest.SetEnabled(false);
  }
}

void StopChests(ClientContext& ctx) {
  auto& b = ctx.props;
  b.ChestCountdown = false;
  b.ChestAnimating = false;
  if (b.TimerProp) b.TimerProp->SetEnabled(false);
  for (int i = 0; i < kChestPlaces; ++i)
    if (platform::Control* chest = ctx.main().Find(ctl::ImgProp, i)) {
      chest->SetVisible(false);
      chest->SetEnabled(false);
    }
}

}  // namespace

void LoadPropPlugin(ClientContext& ctx, bool propsOffAtTable) {
  auto& b = ctx.props;
  if (propsOffAtTable || !ctx.startup.PropsSwitch) {
    b.PropState = kPropsOff;
    return;
  }
  if (b.PropState != kNotLoaded) return;
  platform::Control& bank = view::OnTable(ctx, ctl::Bank);
  bank.SetVisible(true);
  bank.BringToFront();
  ctx.Randomize();
  b.Prop_BaoChs.fill(-1);
  b.score = ScoreInfo{};
  if (!b.PropPlugin && ctx.session.TableActive) {
    LoadedPlugin loaded = b.loadLibrary(PluginPath(ctx.platform.ProgramFolder()));
    if (loaded.api && loaded.api->Complete()) {
      b.PropPlugin = std::make_shared<PluginObject>(loaded.api);
      b.loadProblem.clear();
    } else {
      b.loadProblem = loaded.problem.empty() ? "incomplete plug-in" : loaded.problem;
      session::DebugLine(ctx, "prop plug-in: " + b.loadProblem);
    }
  }
  if (!b.PropPlugin || !ctx.session.TableActive) return;
  b.PropState = kPropsOff;
  const int displayScale = ctx.view.LayoutScale == 1.0 ? 1 : 2;
  if (!b.PropPlugin->Initdll(ctx.startup.UserName, displayScale, ctx.startup.PluginNumber)) {
    b.PropPolling = false;
    b.PropState = kNotLoaded;
    b.PropPlugin.reset();
    session::DebugLine(ctx, "prop plug-in: Initdll said no");
    return;
  }
  b.layout = ChestLayout{};
  b.PropState = b.PropPlugin->GetBaoInfo(b.layout) ? kActiveWithChests : kActive;
  CreateChestImages(ctx);
  b.PropPolling = true;
}

void ClosePropPlugin(ClientContext& ctx) {
  auto& b = ctx.props;
  if (!b.Active()) return;
  b.PropPlugin->InitExit();
  b.PropState = kNotLoaded;
  b.PropPolling = false;
  b.closeAfterSheet = b.offAfterSheet = false;
  StopChests(ctx);
  HideFloatingMessage(ctx);
}

void ClosePropPluginAfterShow(ClientContext& ctx) {
  auto& b = ctx.props;
  if (!b.Active()) return;
  if (b.show == HandEndShow::Running) {
    b.closeAfterSheet = true;
    return;
  }
  ClosePropPlugin(ctx);
}

void TellPacket(ClientContext& ctx, const Packet& packet) {
  if (ctx.props.Active()) ctx.props.PropPlugin->Rec_MSG(packet);
}

void OnPropScore(ClientContext& ctx) {
  // Without the plug-in the packet is dropped, and the sheet does not wait for it.
  if (!ctx.props.Active()) return;
  ctx.props.PropPlugin->Rec_MSG(ctx.session.RecvPacket);
  ctx.props.ScoreInfoPending = true;
}

void TellConnection(ClientContext& ctx, bool up) {
  if (ctx.props.Active()) ctx.props.PropPlugin->rec_state(3, up ? 1 : 0);
}

void TellEffectsSwitch(ClientContext& ctx, bool on) {
  if (ctx.props.Active()) ctx.props.PropPlugin->rec_state(1, on ? 1 : 0);
}

void TellUser(ClientContext& ctx, const PropUser& user) {
  auto& b = ctx.props;
  if (!b.Active() || b.PropPlugin->SetUserinfo(user)) return;
  session::DebugLine(ctx, "prop plug-in: SetUserinfo said no; props off for this table");
  ClosePropPluginAfterShow(ctx);
  if (b.Active())
    b.offAfterSheet = true;
  else
    b.PropState = kPropsOff;
}

void ClearUser(ClientContext& ctx, int position) {
  if (ctx.props.Active()) ctx.props.PropPlugin->ClearUser(position);
}

void ResetAfterTableUsers(ClientContext& ctx) {
  auto& b = ctx.props;
  if (!b.Active() || !ctx.players.SeatNamesReceived || !b.ResetDue) return;
  b.ResetDue = false;
  for (int p = 1; p <= 3; ++p) {
    b.PropPlugin->rec_state(p, 0, 2);
    if (!b.Active()) return;
    view::OnTable(ctx, ctl::Tou, p).SetVisible(true);
  }
  b.PropPlugin->Ainit(kResetConfig);
}

void ForwardKey(ClientContext& ctx, int key) {
  if (ctx.props.Active()) ctx.props.PropPlugin->SetKeyDown(key);
}

void SetBankState(ClientContext& ctx, int state) {
  if (ctx.props.Active()) ctx.props.PropPlugin->setbankstate(state);
}

void WindowRestored(ClientContext& ctx) {
  if (ctx.props.Active()) ctx.props.PropPlugin->FixBuffPos();
}

void QuitConfirmed(ClientContext& ctx) {
  if (ctx.props.Active()) ctx.props.PropPlugin->UpdataMyProp(false);
}

}  // namespace tavrel::props
