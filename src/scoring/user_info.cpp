#include "scoring/user_info.h"

#include <algorithm>

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "round/new_hand.h"
#include "round/table_reset.h"
#include "scoring/departures.h"
#include "scoring/player_display.h"
#include "scoring/seat_change.h"
#include "scoring/seat_draw.h"
#include "session/lobby_ops.h"
#include "session/system_messages.h"
#include "sound/sound.h"
#include "view/layout.h"
#include "view/window_frame.h"

namespace tavrel::scoring {
namespace {

constexpr int kOwnRecord = 15;  // Seat of the receiver's own details
constexpr int kSeatless = 0;
constexpr int kMaxSeatless = 3;
constexpr int kRoundOfDetails = 4;
// Start-row buttons whose pressed marks the full table clears (results and history).
constexpr int kResultsButton = 5, kHistoryButton = 6;

bool OneSeat(int mask) { return mask == 1 || mask == 2 || mask == 4 || mask == 8; }

platform::Control& Table(ClientContext& ctx, const platform::ControlName& name, int index = -1) {
  return view::OnTable(ctx, name, index);
}

bool NameLabelEmpty(ClientContext& ctx, int p) {
  const platform::Control* nid = ctx.main().Find(ctl::Nid, p);
  return !nid || nid->Caption().empty();
}

bool Shown(ClientContext& ctx, const platform::ControlName& name, int index) {
  const platform::Control* c = ctx.main().Find(name, index);
  return c && c->Visible();
}

// The position of a player without a seat mask: the first free name label.
int SeatlessPosition(ClientContext& ctx) {
  Players& pl = ctx.players;
  int p = -1;
  if (pl.SeatlessCount == 0) {
    p = 1;
  } else {
    for (int q = 1; q <= 3 && p < 0; ++q)
      if (NameLabelEmpty(ctx, q)) p = q;
    // Nobody free: the player goes where the previous seatless one went.
    if (p < 0) p = pl.LastSeatlessPosition;
  }
  pl.LastSeatlessPosition = p;
  if (pl.SeatlessCount < kMaxSeatless && ++pl.SeatlessCount == kMaxSeatless && !pl.SeatNamesReceived) {
    ctx.main().SetState(platform::WindowState::Normal);
    session::MinimizeLobby(ctx);
  }
  return p;
}

void TellPlugin(ClientContext& ctx, int p, int seatMask) {
  const Detail& d = ctx.players.Detail[p];
  if (!ctx.props.Active() || d.Coins <= 0) return;
  // The avatar stays: a plug-in here cannot draw into the table window, so hiding it
  // for the plug-in's own would leave the seat without a face.
  props::TellUser(ctx, {d.username, ctx.table.custom[p].name, seatMask, p, d.Credit != 0, d.Gender, d.Tag, d.Face});
}

void ResetForFirstHand(ClientContext& ctx) {
  round::ResetTableForNewHand(ctx);
  ctx.handEnd.Continued = true;
}

// The fourth details after the seat names: the table is complete.
void FinishRoundOfDetails(ClientContext& ctx) {
  Players& pl = ctx.players;
  pl.InfoRound = false;
  pl.InfoCount = kRoundOfDetails + 1;
  SeatDraw(ctx);
  if (ctx.platform.Ending()) return;
  round::ShowCompass(ctx);
  ctx.view.HandStarted[kResultsButton] = false;
  ctx.view.HandStarted[kHistoryButton] = false;
  sound::AssignVoices(ctx);
}

void OnPlayerDetails(ClientContext& ctx, const Packet& packet, int seat) {
  Players& pl = ctx.players;
  const std::uint32_t rate = wire::U32LE(packet, off::kUserWealthRate);

  // The local player's seat mask: only the plug-in and the wealth rate are refreshed.
  const bool ownMask = ctx.table.custom[0].seat != 0 ? seat == ctx.table.custom[0].seat
                                                     : OneSeat(seat) && round::RelSeat(ctx.table, seat) == 0;
  if (seat != kOwnRecord && ownMask) {
    TellPlugin(ctx, 0, seat);
    pl.WealthRates[0] = rate;
    ShowWealthAfterRate(ctx, rate);
  } else {
    int p = 0;
    if (seat == kOwnRecord) {
      ctx.view.HandStarted[2] = false;
    } else if (seat == kSeatless) {
      p = SeatlessPosition(ctx);
    } else {
      p = round::RelSeat(ctx.table, seat);
    }
    ctx.table.custom[p].name = wire::SingleByteText(packet, off::kUserAccount, off::kUserAccountBytes);
    if (wire::U8(packet, off::kUserReady) == 1) {
      platform::Control& ok = Table(ctx, ctl::OK, p);
      ok.SetVisible(true);
      ok.BringToFront();
    }
    DecodeDetail(pl.Detail[p], packet);
    TellPlugin(ctx, p, OneSeat(seat) ? seat : 1 << p);
    if (pl.SeatNamesReceived && Shown(ctx, ctl::OK, 1) && Shown(ctx, ctl::OK, 2) && Shown(ctx, ctl::OK, 3)) {
      view::StartButtonActive(ctx);
      ResetForFirstHand(ctx);
    }
    ShowPlayer(ctx, p);
    if (pl.SeatlessCount == kMaxSeatless && !ctx.handEnd.Continued) {
      ResetForFirstHand(ctx);
      session::SysList(ctx, 0).Clear();
      session::ShowLine(ctx, 0, kMsgGameStartsSoon);
    }
    pl.WealthRates[p] = rate;
    ShowRuleIndicators(ctx, wire::U8(packet, off::kUserCapRule) == 1, wire::U8(packet, off::kUserDiceRule) == 1, rate);
    ShowWealthAfterRate(ctx, rate);
  }
  if (pl.InfoRound && pl.InfoCount == kRoundOfDetails) FinishRoundOfDetails(ctx);
}

void CollectForSpectator(ClientContext& ctx, const Packet& packet) {
  Players& pl = ctx.players;
  pl.SpectatorSlots[pl.SpectatorSlotCount++] = packet;
  if (pl.SpectatorSlotCount < kRoundOfDetails) return;
  pl.SpectatorSlotCount = 0;
  PlaceWatchedTable(ctx);
}

// Position of seat mask m around the watched seat mask w; -1 for none.
int WatchedPosition(int w, int m) {
  if (m == 2 * w || (w == 8 && m == 1)) return 3;
  if (m == 4 * w || w == 4 * m) return 2;
  if (w == 2 * m || (w == 1 && m == 8)) return 1;
  return -1;
}

}  // namespace

void DecodeDetail(Detail& d, const Packet& p) {
  d.Account = wire::SingleByteText(p, off::kUserAccount, off::kUserAccountBytes);
  d.username = wire::GbkText(p, off::kUserName, off::kUserNameBytes);
  d.Face = wire::SingleByteText(p, off::kUserFace, off::kUserFaceBytes);
  if (d.Face.empty()) d.Face = "m1";
  d.Gender = wire::U8(p, off::kUserGender);
  d.Region = wire::GbkText(p, off::kUserRegion, off::kUserRegionBytes);
  auto number = [&](std::size_t offset) { return static_cast<double>(wire::U64LE(p, offset)); };
  d.Points = number(off::kUserPoints);
  d.Credit = number(off::kUserCredit);
  d.Coins = number(off::kUserCoins);
  d.Reserved40 = number(off::kUserReserved40);
  d.Reserved52 = number(off::kUserReserved52);
  d.Reserved60 = number(off::kUserReserved60);
  d.Reserved68 = number(off::kUserReserved68);
  d.LevelTitle = wire::GbkText(p, off::kUserLevelTitle, off::kUserLevelTitleBytes);
  auto count = [&](std::size_t offset) { return static_cast<std::int32_t>(wire::U32LE(p, offset)); };
  d.LoginCount = count(off::kUserLoginCount);
  d.DropCount = count(off::kUserDropCount);
  d.Wins = count(off::kUserWins);
  d.Losses = count(off::kUserLosses);
  d.Tag = wire::GbkText(p, off::kUserTag, off::kUserTagBytes);
  d.VoiceGroup = wire::SingleByteText(p, off::kUserVoiceGroup, off::kUserVoiceBytes);
  d.VoiceStyle = wire::SingleByteText(p, off::kUserVoiceStyle, off::kUserVoiceBytes);
  d.UserId = static_cast<double>(wire::U64LE(p, off::kUserId));
}

int AvatarIndex(const std::string& face) {
  const std::string code = face.empty() ? "m1" : face;
  const int female = code[0] == 'w' ? 10 : 0;
  const std::string digits = code.substr(1);
  const bool number = !digits.empty() && digits.size() <= 2 &&
                      std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  int index = number ? std::stoi(digits) - 1 : 0;
  if (index < 0 || index >= 10) index = 0;
  return index + female;
}

std::uint32_t TableWealth(const std::array<std::uint32_t, 4>& rates) {
  std::uint32_t lowest = 0;
  for (std::uint32_t r : rates)
    if (r > 0 && (lowest == 0 || r < lowest)) lowest = r;
  return lowest;
}

void StartInfoRound(ClientContext& ctx) {
  ctx.players.InfoRound = true;
  ctx.players.InfoCount = 0;
}

void OnUserInfo(ClientContext& ctx) {
  // A copy: the seat draw waits, and other packets may arrive meanwhile.
  const Packet packet = ctx.session.RecvPacket;
  if (ctx.startup.Spectator) {
    CollectForSpectator(ctx, packet);
    return;
  }
  const int seat = ctx.session.info.Seat & 0x0F;
  // A seat field that names no seat and no own record places nobody.
  if (seat != kOwnRecord && seat != kSeatless && !OneSeat(seat)) return;
  props::LoadPropPlugin(ctx, wire::U8(packet, off::kUserPropsOff) != 0);
  StopSeatChangeDisplay(ctx);
  ctx.handEnd.SeatChangePending = false;
  ctx.handEnd.AutoSeatChange = false;
  if (ctx.players.InfoRound) ++ctx.players.InfoCount;
  OnPlayerDetails(ctx, packet, seat);
}

int WatchedWallFront(int p, int x, int y) {
  // The remainder takes the dividend's sign, so a large x can make it negative: the
  // ring position is then counted from the other end.
  const int front = (2 * (17 * ((p + 13 - x) % 4) + x + y)) % round::kWallSize;
  return front < 0 ? front + round::kWallSize : front;
}

void PlaceWatchedTable(ClientContext& ctx) {
  Players& pl = ctx.players;
  std::array<Detail, 4> scratch{};
  std::array<int, 4> masks{};
  int watched = -1;
  for (int i = 0; i < 4; ++i) {
    DecodeDetail(scratch[i], pl.SpectatorSlots[i]);
    masks[i] = wire::U8(pl.SpectatorSlots[i], off::kSeat) & 0x0F;
    if (watched < 0 && scratch[i].UserId == ctx.startup.SpectatorUserId) watched = i;
  }
  // Without the watched player, or with a seat mask that is no seat, nobody can be placed.
  if (watched < 0 || !OneSeat(masks[watched])) return;
  const int w = masks[watched];
  std::array<bool, 4> placed{};
  auto place = [&](int p, int i) {
    pl.Detail[p] = scratch[i];
    ctx.table.custom[p].name = scratch[i].Account;
    ctx.table.custom[p].seat = static_cast<std::uint8_t>(masks[i]);
    placed[p] = true;
  };
  place(0, watched);
  for (int i = 0; i < 4; ++i)
    if (i != watched)
      if (const int p = WatchedPosition(w, masks[i]); p > 0) place(p, i);

  round::Table& t = ctx.table;
  for (int p = 0; p < 4; ++p) {
    if (!placed[p] || t.DealerSeat == 0 || t.custom[p].seat != t.DealerSeat) continue;
    t.custom[p].isDealer = round::kTrue;
    t.WallFront = static_cast<std::int16_t>(WatchedWallFront(p, t.TableRestoreValues[0], t.TableRestoreValues[1]));
    t.WallBack = static_cast<std::int16_t>((t.WallFront + 82) % round::kWallSize);
    break;
  }
  for (int p = 0; p < 4; ++p)
    if (placed[p]) ShowPlayer(ctx, p);
  // The watched table speaks with the players' voices too.
  sound::AssignVoices(ctx);
}

}  // namespace tavrel::scoring
