#include "round/new_hand.h"

#include <string>

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "round/deal_restore.h"
#include "round/table_reset.h"
#include "session/lobby_ops.h"
#include "session/transport.h"
#include "sound/sound.h"
#include "view/layout.h"
#include "view/pictures.h"
#include "view/row_layout.h"
#include "view/window_frame.h"

namespace tavrel::round {

namespace {

constexpr int kTumblingFrames = 20;   // 20..24 frames per throw
constexpr int kFrameWaitMs = 2;
constexpr int kDiceShownMs = 600;
constexpr int kBetweenThrowsMs = 200;
constexpr int kFirstTumblingPicture = 6;  // DicePictures 6..15: the ten tumbling frames
constexpr int kButtonSecondPicture = 1;   // AnNiu(i) gets ButtonPictures(2i + 1)

int DieValue(int v) { return v == 0 ? 1 : v; }

platform::Control& Ctl(ClientContext& ctx, const platform::ControlName& name, int index = -1) {
  return view::OnTable(ctx, name, index);
}

// A pumped wait that shows what was drawn; false once the program is ending.
bool ShowFor(ClientContext& ctx, int ms) {
  ctx.platform.PumpFor(ms);
  return !ctx.platform.Ending();
}

// One throw of both dice: tumbling frames, then the faces, shown for a while.
bool Throw(ClientContext& ctx, int die1, int die2) {
  platform::Control* dice[2] = {&Ctl(ctx, ctl::Sai_Image, 0), &Ctl(ctx, ctl::Sai_Image, 1)};
  const int faces[2] = {die1, die2};
  const int frames = kTumblingFrames + ctx.RandomBelow(5);
  for (int f = 0; f < frames; ++f) {
    for (int i = 0; i < 2; ++i) {
      const bool last = f == frames - 1;
      // Faces 1..6 are the first six dice pictures; a value beyond them keeps its tumbling frame.
      const int picture = last && faces[i] >= 1 && faces[i] <= 6
                              ? faces[i] - 1
                              : kFirstTumblingPicture + ctx.RandomBelow(10);
      view::LoadResourcePicture(ctx, ctx.view.DicePictures[picture], *dice[i]);
    }
    if (!ShowFor(ctx, kFrameWaitMs)) return false;
  }
  if (!ShowFor(ctx, kDiceShownMs)) return false;
  for (auto* die : dice) die->SetVisible(false);
  return true;
}

void ShowWealthDisplay(ClientContext& ctx) {
  const bool on = ctx.view.wealthDoubling && ctx.view.wealthDoubling();
  Ctl(ctx, ctl::Imgwealth).SetVisible(on);
  Ctl(ctx, ctl::lbwealth).SetVisible(on);
}

void HideOfferButtons(ClientContext& ctx) {
  for (int i = 0; i <= 4; ++i) {
    platform::Control& b = Ctl(ctx, ctl::Operation, i);
    b.SetVisible(false);
    b.SetEnabled(false);
    view::LoadResourcePicture(ctx, ctx.view.OfferPictures[3 * i], b);
  }
}

void ShowDealerBadge(ClientContext& ctx, int dealerMask) {
  platform::Control& zhuang = Ctl(ctx, ctl::Zhuang);
  zhuang.SetCaption(WindName(SeatIndex(dealerMask)));
  Ctl(ctx, ctl::Host).SetVisible(true);
  zhuang.SetVisible(true);
  zhuang.BringToFront();
}

}  // namespace

int WallBreak(int r, const std::array<std::int16_t, 4>& dice) {
  int sum = 0;
  for (std::int16_t d : dice) sum += DieValue(d);
  return (2 * sum + WallSides[r & 3]) % kWallSize;
}

void OnNewHand(ClientContext& ctx) {
  Table& t = ctx.table;
  const Info info = ctx.session.info;
  const Packet packet = ctx.session.RecvPacket;

  session::ReplayHeldPropPackets(ctx);
  ctx.session.HandResultWait = false;
  ctx.handEnd.SeatChangePending = false;
  t.TableStarted = true;

  if (t.First4Message == 0) {
    t.First4Message = 1;
    for (int r = 0; r < 4; ++r)
      if (t.FirstDealerSeat != 0 && t.custom[r].seat == t.FirstDealerSeat) {
        ShowDealer(ctx, r, 1);
        break;
      }
    t.FirstDealerSeat = 0;
  }
  // The plug-in hears of the new hand as its chests are cleared.
  props::ClearChests(ctx);
  for (int r = 0; r < 4; ++r) {
    const platform::Control* cash = ctx.main().Find(ctl::Cash, r);
    t.InitialGold[r] = cash ? cash->Caption() : std::string();
  }
  if (platform::Form* exit = ctx.ui.Find(frm::frmExit); exit && exit->Visible()) exit->Unload();

  if (t.SpectatorMode) {
    ResetTableForNewHand(ctx);
    ctx.handEnd.Continued = true;  // TableCleared
  } else if (!t.SeatsCleared) {
    // The table reset between the hands did not happen (a missed hand end): clear it
    // here, so that the hand starts from empty rows.
    ClearTablePictures(ctx);
    ResetSeats(ctx);
  }
  ctx.sched.BlinkOn = true;
  ctx.sched.blinkCounter = 0;
  t.Playing = true;
  for (int p = 0; p < 4; ++p)
    if (platform::Control* ok = ctx.main().Find(ctl::OK, p)) ok->SetVisible(false);

  ++t.HandNo;
  view::StartButtonInHand(ctx);
  // A pinned seat keeps its discards at the centre; that lasts for one hand only.
  t.SeatDiscardPinned.fill(0);
  t.RowDiscards.fill(0);
  t.LastDiscardImage = -1;
  t.LastDiscardFlushed = true;
  view::ResetLayout(ctx);
  BuildWall(ctx);
  if (ctx.platform.Ending()) return;

  t.DiceDoubling = wire::U8(packet, off::kNewHandDiceDoubling);
  ShowDiceDoubling(ctx, t.DiceDoubling != 0, info.value[2], info.value[3]);
  ShowWealthDisplay(ctx);

  int dealer = -1;
  for (int r = 0; r < 4 && dealer < 0; ++r)
    if (t.custom[r].seat == info.Seat) dealer = r;
  if (dealer >= 0) {
    t.custom[dealer].isDealer = kTrue;
    RollDice(ctx, dealer, info.value);
    if (ctx.platform.Ending()) return;
    t.WallFront = static_cast<std::int16_t>(WallBreak(dealer, info.value));
    t.WallBack = static_cast<std::int16_t>((t.WallFront + 82) % kWallSize);
    t.HandStartBytes = {wire::U8(packet, off::kNewHandStart), wire::U8At(packet, off::kNewHandStart, 1)};
  }
  t.BreakDice = {info.value[0], info.value[1]};
  if (dealer < 0) {
    // A dealer who sits nowhere at this table: the client cannot follow the hand.
    session::GiveUp(ctx);
    return;
  }
  ShowCompass(ctx);
  ShowDealerBadge(ctx, info.Seat);
  HideOfferButtons(ctx);
  t.SeatsCleared = false;
}

void OnHandParams(ClientContext& ctx) {
  const Info& info = ctx.session.info;
  ctx.table.WildIndicator = static_cast<std::int16_t>(info.value[3] & 0xFF);
  ctx.table.WildTile = static_cast<std::int16_t>(info.value[2] & 0xFF);
}

void OnTableReset(ClientContext& ctx) {
  Table& t = ctx.table;
  Info info = ctx.session.info;
  for (int i = 0; i <= 2; ++i) ctx.view.HandStarted[i] = true;
  ResetTableForNewHand(ctx);
  ctx.handEnd.Continued = true;  // TableCleared
  info.Seat = static_cast<std::uint8_t>(info.Seat % 16);
  for (int i = 0; i <= 2; ++i) {
    platform::Control& button = Ctl(ctx, ctl::AnNiu, i);
    button.SetEnabled(false);
    view::LoadResourcePicture(ctx, ctx.view.ButtonPictures[2 * i + kButtonSecondPicture], button);
  }
  ShowDealerBadge(ctx, info.Seat);
  t.DealerSeat = info.Seat;
  t.WildTile = info.value[2];
  t.WildIndicator = info.value[3];
  t.TableRestoreValues = {info.value[0], info.value[1]};
  BeginRestore(ctx);
  // SeatTiles fill the seats from here: the next NewHand clears them.
  t.SeatsCleared = false;
}

void BuildWall(ClientContext& ctx) {
  Ctl(ctx, ctl::WildTileLabel).SetVisible(false);
  sound::PlayEffect(ctx, sound::kShuffle);
  for (int i = 0; i < kWallSize; ++i)
    view::LoadTilePicture(ctx, i, view::WallBackPicture(view::WallSideOf(i)));
  Table& t = ctx.table;
  t.WallTaken.fill(false);
  t.PeekTiles.fill(0);
  t.PeekPositions.fill(0);
  t.PeekCount = 0;
}

void RollDice(ClientContext& ctx, int r, const std::array<std::int16_t, 4>& values) {
  (void)r;  // every dealer throws at the same spot
  sound::PlayEffect(ctx, sound::kDice);
  for (int i = 0; i < 2; ++i) {
    platform::Control& die = Ctl(ctx, ctl::Sai_Image, i);
    die.SetVisible(true);
    die.BringToFront();
  }
  ctx.Randomize();
  if (!Throw(ctx, DieValue(values[0]), DieValue(values[1]))) return;
  if (!ShowFor(ctx, kBetweenThrowsMs)) return;
  sound::PlayEffect(ctx, sound::kDice);
  for (int i = 0; i < 2; ++i) {
    platform::Control& die = Ctl(ctx, ctl::Sai_Image, i);
    die.SetVisible(true);
    die.BringToFront();
  }
  Throw(ctx, DieValue(values[2]), DieValue(values[3]));
}

void ShowDealer(ClientContext& ctx, int r, int count) {
  Ctl(ctx, ctl::lbl_zhuang).SetCaption(ctx.players.Detail[r & 3].username);
  Ctl(ctx, ctl::lbl_zhuangNum).SetCaption(std::to_string(count));
  for (const auto& name : {ctl::img_lianzhuang, ctl::lbl_zhuang, ctl::lbl_zhuangNum}) {
    platform::Control& c = Ctl(ctx, name);
    c.SetVisible(true);
    c.BringToFront();
  }
}

void ShowCompass(ClientContext& ctx) {
  auto& own = ctx.table.custom[0];
  if (own.seat == 0) own.seat = 1;
  platform::Control& compass = Ctl(ctx, ctl::ZhiNan);
  view::LoadResourcePicture(ctx, ctx.view.CompassPictures[SeatIndex(own.seat) & 3], compass);
  compass.SetVisible(true);
  if (ctx.view.LayoutScale != 1.0) compass.SetLeft(9);
}

void ShowDiceDoubling(ClientContext& ctx, bool doubling, int die1, int die2) {
  platform::Control& sum = Ctl(ctx, ctl::lblDifen);
  platform::Control& multiplier = Ctl(ctx, ctl::imgBeishu);
  platform::Control* dice[2] = {&Ctl(ctx, ctl::imgsezi, 0), &Ctl(ctx, ctl::imgsezi, 1)};
  for (int i = 0; i < 3; ++i) Ctl(ctx, ctl::lbfont, i).SetVisible(false);
  if (!doubling) {
    sum.SetVisible(false);
    multiplier.SetVisible(false);
    for (auto* die : dice) die->SetVisible(false);
    return;
  }
  sum.SetCaption(std::to_string(die1 + die2));
  sum.SetVisible(true);
  multiplier.SetVisible(true);
  const int faces[2] = {die1, die2};
  for (int i = 0; i < 2; ++i) {
    // Faces 1..6; another value leaves the die without a face.
    if (faces[i] >= 1 && faces[i] <= 6) view::LoadResourcePicture(ctx, ctx.view.SmallDicePictures[faces[i] - 1], *dice[i]);
    dice[i]->SetVisible(true);
  }
}

}  // namespace tavrel::round
