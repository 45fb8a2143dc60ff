#include "scoring/departures.h"

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "round/new_hand.h"
#include "scoring/continue_step.h"
#include "scoring/player_display.h"
#include "scoring/seat_change.h"
#include "scoring/user_info.h"
#include "session/debug_log.h"
#include "session/leave.h"
#include "session/lobby_ops.h"
#include "session/reconnect.h"
#include "session/scheduler.h"
#include "session/startup_state.h"
#include "session/system_messages.h"
#include "view/exit_forms.h"
#include "view/layout.h"

namespace tavrel::scoring {
namespace {

constexpr int kAllSeats = 15;

platform::Control& Table(ClientContext& ctx, const platform::ControlName& name, int index = -1) {
  return view::OnTable(ctx, name, index);
}

int HighestSeatMask(int mask) {
  for (int m : {8, 4, 2, 1})
    if (mask & m) return m;
  return 0;
}

void LowerSeatless(ClientContext& ctx) {
  if (ctx.players.SeatlessCount > 0) --ctx.players.SeatlessCount;
}

bool Spectator(const ClientContext& ctx) { return ctx.startup.Spectator; }

// The client cannot go on without a table: back to the lobby and the end.
void EndProgram(ClientContext& ctx) { session::EndWithLobbyRestored(ctx, 0); }

void SpectatorEnd(ClientContext& ctx) {
  if (!Spectator(ctx) || ctx.platform.Ending()) return;
  ctx.platform.MessageBox(kMsgSpectatorEnd, session::kAppTitle, platform::BoxButtons::Ok);
  EndProgram(ctx);
}

void InsertTopLine(ClientContext& ctx, const std::string& text) {
  session::SysList(ctx, 0).AddItemAt(text, 0);
  if (session::DebugLogOn(ctx)) session::DebugLine(ctx, "sysmsg0: " + text);
}

// Form 0: the seats will be drawn anew.
void SeatChangeNotice(ClientContext& ctx) {
  const Info& info = ctx.session.info;
  HandEnd& he = ctx.handEnd;
  if (he.TableFormed) {
    he.TableFormed = false;
    ctx.table.Playing = false;
    if (!Spectator(ctx)) {
      if ((info.value[1] & 0xFF) == 1) he.AutoSeatChange = true;
      view::PlaceContinueCountdown(ctx);
      view::PlaceSeatChangeDisplay(ctx);
      he.SeatChangePending = true;
      if ((info.value[2] & 0xFF) == 1) ShowSeatChangeBanner(ctx);
    }
  }
  if (ctx.players.TableWealthRate == 0) {
    Table(ctx, ctl::lbwealth).SetVisible(false);
    Table(ctx, ctl::Imgwealth).SetVisible(false);
  } else {
    ShowTableWealthRate(ctx, wire::U32LE(ctx.session.RecvPacket, off::kSeatChangeWealthRate));
  }
}

// Form 1, the local player among the missing: the program ends without a word.
void OwnSeatGone(ClientContext& ctx) {
  ShutDownProps(ctx);
  ctx.Winsock1->Close();
  if (session::LobbyExists(ctx)) session::RestoreLobby(ctx);
  if (!ctx.platform.Ending()) session::UnloadMainWindow(ctx);
}

// Form 1: players have left; the game is over for this table.
void PlayersLeft(ClientContext& ctx) {
  const int remaining = ctx.session.info.Seat & 0x0F;
  if (remaining == kAllSeats) return;
  ctx.sched.TurnClockOn = false;
  ctx.table.Playing = false;
  const int missing = kAllSeats - remaining;
  // A spectator's position 0 is the watched player: its leaving ends the watch with
  // the table's message, like any other departure.
  if (!Spectator(ctx) && round::RelSeat(ctx.table, HighestSeatMask(missing)) == 0) {
    OwnSeatGone(ctx);
    return;
  }
  ctx.handEnd.Continued = false;
  std::string names;
  for (int mask : {1, 2, 4, 8}) {
    const int p = round::RelSeat(ctx.table, mask);
    // The local player is still here to read the message; it names the others.
    if (!(missing & mask) || (p == 0 && !Spectator(ctx))) continue;
    names += ctx.players.Detail[p].username + ",";
    LowerSeatless(ctx);
  }
  for (int p = 1; p <= 3; ++p) {
    ClearPosition(ctx, p);
    session::SysList(ctx, 0).Clear();
  }
  session::ClearSysLists(ctx);
  session::ShowLine(ctx, 0, names + kMsgLeftGame + ClockText(ctx));
  session::ShowLine(ctx, 1, names + kMsgRestartGame);
  ctx.ui.form(frm::Hero).Show();
  view::ShowOtherExit(ctx, kMsgPlayer + names + kMsgLeftGameEnd);
  session::LeaveTable(ctx);
  ShutDownProps(ctx);
  SpectatorEnd(ctx);
}

// Form 2: the dealer of the next game.
void DealerAnnouncement(ClientContext& ctx) {
  const Info info = ctx.session.info;
  const int mask = info.Seat & 0x0F;
  round::Table& t = ctx.table;
  Table(ctx, ctl::Zhuang).SetCaption(round::WindName(round::SeatIndex(mask)));
  int dealer = -1;
  for (int r = 0; r < 4 && dealer < 0; ++r)
    if (mask != 0 && t.custom[r].seat == mask) dealer = r;
  if (dealer >= 0) {
    t.custom[dealer].isDealer = round::kTrue;
    round::ShowDealer(ctx, dealer, info.value[1] & 0xFF);
  } else {
    t.FirstDealerSeat = static_cast<std::int16_t>(mask);
  }
  platform::Form& main = ctx.main();
  if (main.State() == platform::WindowState::Minimized && !ctx.view.BossKeyActive) {
    main.SetState(platform::WindowState::Normal);
    session::MinimizeLobby(ctx);
    if (ctx.platform.Ending()) return;
  }
  session::KeepReconnectNumber(ctx);
  StopSeatChangeDisplay(ctx);
  ctx.handEnd.TableFormed = true;
}

// Any other form: a player's gold no longer covers the table.
void GoldTooLow(ClientContext& ctx) {
  const Info info = ctx.session.info;
  HandEnd& he = ctx.handEnd;
  ctx.table.Playing = false;
  StopSeatChangeDisplay(ctx);
  he.SeatChangePending = false;
  he.AutoSeatChange = false;
  const int missing = kAllSeats - (info.Seat & 0x0F);
  const int own = ctx.table.custom[0].seat;
  const bool ownSeatOut = (missing & own) != 0;
  // A spectator has no gold at stake: the watched player running dry is another's
  // departure, which the spectator end below reports.
  const bool localOut = ownSeatOut && !Spectator(ctx);
  const std::string name = ownSeatOut ? ctx.table.custom[0].name : std::string();
  InsertTopLine(ctx, name + kMsgGoldTooLow);
  ctx.sched.TurnClockOn = false;
  if (ctx.main().State() != platform::WindowState::Minimized) {
    platform::Form& sheet = ctx.ui.form(frm::Score);
    view::CentreOverMain(ctx, sheet);
    sheet.Show();
    sheet.Raise();
  }
  if (localOut) {
    ctx.view.LeaveOnStart = true;
    view::ShowOtherExit(ctx, (info.value[1] & own) ? kMsgChangeRoom : kMsgAllowance);
    ShutDownProps(ctx);
    session::AbandonLogin(ctx);
    ctx.sched.ConnWatch = false;
    session::SetTimerBong(ctx, false);
    ctx.Winsock1->Close();
    ctx.sched.TurnClockOn = false;
    for (int p = 1; p <= 3; ++p) {
      he.Continued = false;
      LowerSeatless(ctx);
      session::SysList(ctx, 0).Clear();
      ReleasePosition(ctx, p);
    }
    if (ctx.TimerKeepAlive && ctx.TimerKeepAlive->Enabled()) ctx.TimerKeepAlive->SetEnabled(false);
    session::LeaveTable(ctx);
  }
  ctx.sched.TurnClockOn = false;
  ctx.table.Playing = false;
  he.Continued = false;
  SpectatorEnd(ctx);
}

// The leaving player's table name; byte 8 = 1 says its first character was sent one higher.
std::string LeavingName(const Packet& packet) {
  Packet p = packet;
  const std::uint8_t first = wire::U8(p, off::kTableUsersName);
  if (wire::U8(p, off::kTableUsersShifted) == 1 && first != 0)
    wire::PutU8(p, off::kTableUsersName, static_cast<std::uint8_t>(first - 1));
  return wire::SingleByteText(p, off::kTableUsersName, off::kTableUsersNameBytes);
}

void LogTableUsers(ClientContext& ctx, const std::string& name) {
  if (!session::DebugLogOn(ctx)) return;
  std::string line = kLogTableUsers;
  for (int r = 0; r < 4; ++r) line += (r ? "+" : "") + ctx.table.custom[r].name;
  session::DebugLine(ctx, line + "  走人" + name);
}

}  // namespace

std::string ClockText(ClientContext& ctx) {
  const platform::LocalTime t = ctx.platform.clock().Now();
  return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

void ShutDownProps(ClientContext& ctx) { props::ClosePropPluginAfterShow(ctx); }

void ClearPosition(ClientContext& ctx, int p) {
  if (p < 0 || p > 3) return;
  platform::Form& main = ctx.main();
  if (platform::Control* ok = main.Find(ctl::OK, p)) ok->SetVisible(false);
  if (platform::Control* avatar = main.Find(ctl::Tou, p)) avatar->SetPicture(0);
  for (const auto& name : {ctl::Nid, ctl::Cash, ctl::Level})
    if (platform::Control* label = main.Find(name, p)) label->SetCaption("");
  ctx.table.custom[p].name.clear();
  Detail& d = ctx.players.Detail[p];
  Detail kept;
  kept.Account = d.Account;
  kept.Tag = d.Tag;
  kept.VoiceGroup = d.VoiceGroup;
  kept.VoiceStyle = d.VoiceStyle;
  kept.VoiceKind = d.VoiceKind;
  kept.UserId = d.UserId;
  d = kept;
}

void ReleasePosition(ClientContext& ctx, int p) {
  if (p < 0 || p > 3) return;
  ClearPosition(ctx, p);
  props::ClearUser(ctx, p);
  Players& pl = ctx.players;
  if (pl.TableWealthRate != 0) {
    pl.WealthRates[p] = 0;
    const std::uint32_t figure = TableWealth(pl.WealthRates);
    Table(ctx, ctl::lbwealth).SetCaption(std::to_string(figure));
    Table(ctx, ctl::lbwealth).SetVisible(true);
    Table(ctx, ctl::Imgwealth).SetVisible(true);
  } else {
    Table(ctx, ctl::lbwealth).SetVisible(false);
    Table(ctx, ctl::Imgwealth).SetVisible(false);
  }
}

void OnPlayerLeft(ClientContext& ctx) {
  switch (ctx.session.info.value[3] & 0xFF) {
    case kSeatChangeNotice: SeatChangeNotice(ctx); break;
    case kPlayersLeft: PlayersLeft(ctx); break;
    case kDealerAnnouncement: DealerAnnouncement(ctx); break;
    default: GoldTooLow(ctx); break;
  }
}

void OnTableUsers(ClientContext& ctx) {
  const Info info = ctx.session.info;
  HandEnd& he = ctx.handEnd;
  StopSeatChangeDisplay(ctx);
  he.SeatChangePending = false;
  he.AutoSeatChange = false;
  const std::string name = LeavingName(ctx.session.RecvPacket);
  if (!Spectator(ctx) && !name.empty() && name == ctx.table.custom[0].name) {
    EndProgram(ctx);
    return;
  }
  LogTableUsers(ctx, name);
  // A spectator's position 0 is the watched player, who may be the one leaving.
  for (int p = Spectator(ctx) ? 0 : 1; p <= 3; ++p) {
    if (name.empty() || ctx.table.custom[p].name != name) continue;
    he.Continued = false;
    LowerSeatless(ctx);
    session::SysList(ctx, 0).Clear();
    session::ShowLine(ctx, 0, ctx.players.Detail[p].username + kMsgUserLeft + ClockText(ctx));
    session::SysList(ctx, 1).Clear();
    ReleasePosition(ctx, p);
  }
  props::ResetAfterTableUsers(ctx);
  for (auto& seat : ctx.table.custom) seat.seat = 0;
  if (he.TableFormed) {
    he.TableFormed = false;
    ctx.view.HandStarted[2] = false;
    ctx.table.Playing = false;
    he.Continued = false;
    if (!Spectator(ctx)) {
      const int seconds = ctx.view.BossKeyActive             ? kHiddenDepartureCountdown
                          : (info.value[0] & 0xFF) == 1 ? kShortDepartureCountdown
                                                        : kDepartureCountdown;
      // This countdown keeps the colour the figure has.
      platform::Control& number = Table(ctx, ctl::Number);
      const std::uint32_t colour = number.ForeColor();
      StartContinueCountdown(ctx, seconds);
      number.SetForeColor(colour);
    }
  }
  he.TableFormed = true;
  if (ctx.TimerKeepAlive && !ctx.TimerKeepAlive->Enabled()) ctx.TimerKeepAlive->SetEnabled(true);
  SpectatorEnd(ctx);
}

}  // namespace tavrel::scoring
