#include "session/scheduler.h"

#include "app/client_context.h"
#include "props/props.h"
#include "session/commands.h"
#include "session/debug_log.h"
#include "session/leave.h"
#include "session/lobby_ops.h"
#include "session/packet_io.h"
#include "session/reconnect.h"
#include "session/scheduler_idle.h"
#include "session/startup.h"
#include "session/system_messages.h"
#include "session/transport.h"

namespace tavrel::session {
namespace {

constexpr int kPacket = static_cast<int>(kPacketSize);

// The wall-clock tasks run once at least a second of the time of day has passed.
// A time of day that went backwards (midnight) counts as a second passed.
bool SecondPassed(ClientContext& ctx, float& last) {
  const float now = static_cast<float>(ctx.platform.clock().SecondsOfDay());
  if (now - last >= 1.0f || now < last) {
    last = now;
    return true;
  }
  return false;
}

void LostConnectionWatch(ClientContext& ctx) {
  auto& sc = ctx.sched;
  if (!ctx.table.Playing) return;
  if (++sc.LostCount <= kLostCountLimit) return;
  sc.LostCount = 0;
  if (!LobbyExists(ctx)) {
    ctx.platform.EndProgram(0);
    return;
  }
  props::ClosePropPlugin(ctx);
  ctx.main().SetState(platform::WindowState::Minimized);
  RestoreLobby(ctx);
  ctx.handEnd.Continued = false;
  CloseTable(ctx);
  // The shutdown empties the lists; the reason comes after it so that the player finds it.
  SysList(ctx, 0).Clear();
  ShowLine(ctx, 0, "已经与服务器断开连接，请重新入座！");
}

void ReceiveTask(ClientContext& ctx) {
  auto& sc = ctx.sched;
  if (sc.recvCounter >= 2 && sc.RecvPending) {
    LostConnectionWatch(ctx);
    if (ctx.platform.Ending()) return;
    if (ctx.session.RecvRing.Queued() >= kPacket) ReceiveNextPacket(ctx);
    sc.recvCounter = ctx.session.RecvRing.Queued() >= kPacket ? 1 : 0;
  } else if (sc.recvCounter >= 2) {
    sc.recvCounter = 0;
  }
}

void Watchdog(ClientContext& ctx) {
  if (ctx.Connected()) return;
  props::TellConnection(ctx, false);
  if (!LobbyExists(ctx)) {
    ctx.platform.EndProgram(0);
    return;
  }
  if (ctx.session.ReconnectAllowed) {
    ctx.session.TableActive = false;
    ctx.sched.ConnWatch = false;
    StartReconnection(ctx);
  }
}

}  // namespace

void Scheduler::ClearAll() {
  SendPending = RecvPending = LoginPending = BlinkOn = ConnWatch = false;
  TurnClockOn = ContinueClockOn = BubblesShown = false;
  sendCounter = recvCounter = loginCounter = blinkCounter = watchCounter = bubblesCounter = 0;
  LostCount = 0;
}

namespace {

// TimerBong runs again: the next tick 50 ms from now.
void RestartGrid(ClientContext& ctx) {
  auto& sc = ctx.sched;
  sc.gridOriginMs = ctx.platform.clock().NowMs();
  sc.ticksAccounted = 0;
  sc.ticksPlanned = 1;
  ctx.TimerBong->SetInterval(kTickMs);
  ctx.TimerBong->SetEnabled(true);
}

}  // namespace

void InstallTimers(ClientContext& ctx) {
  ctx.TimerBong = ctx.platform.CreateTimer();
  ctx.TimerBong->SetInterval(kTickMs);
  ctx.TimerBong->onTick = [&ctx] { TimerBongTick(ctx); };
  ctx.TimerKeepAlive = ctx.platform.CreateTimer();
  ctx.TimerKeepAlive->SetInterval(kKeepAliveMs);
  ctx.TimerKeepAlive->onTick = [&ctx] { TimerKeepAliveTick(ctx); };
  SetTimerBong(ctx, true);
  ctx.TimerKeepAlive->SetEnabled(true);
  // Whatever the events of a turn of the event loop did, the timer is set for
  // the next tick with work before the loop waits.
  ctx.platform.onAboutToWait = [&ctx] { PlanNextTick(ctx); };
}

void SetTimerBong(ClientContext& ctx, bool on) {
  ctx.sched.bongWanted = on;
  // Inside a tick the timer stays off; the end of the tick honours the wish.
  if (ctx.sched.inTick || !ctx.TimerBong) return;
  if (on && !ctx.TimerBong->Enabled()) RestartGrid(ctx);
  if (!on) {
    CatchUpIdleTicks(ctx);
    ctx.TimerBong->SetEnabled(false);
  }
}

void TimerBongTick(ClientContext& ctx) {
  auto& sc = ctx.sched;
  if (sc.inTick) return;
  // The ticks slept through before this one, as if they had run.
  CountInIdleTicks(ctx, sc.ticksPlanned - 1 - sc.ticksAccounted);
  sc.inTick = true;
  ctx.TimerBong->SetEnabled(false);
  ++sc.sendCounter;
  ++sc.recvCounter;
  ++sc.loginCounter;
  ++sc.blinkCounter;
  ++sc.watchCounter;
  ++sc.bubblesCounter;

  auto stillRunning = [&] { return !ctx.platform.Ending(); };

  if (sc.sendCounter >= 1) {
    if (sc.SendPending) SendNextPacket(ctx);
    sc.sendCounter = 0;
  }
  ReceiveTask(ctx);
  if (stillRunning() && sc.loginCounter >= 4) {
    if (sc.LoginPending) RunLoginSender(ctx);
    sc.loginCounter = 0;
  }
  if (stillRunning() && sc.blinkCounter >= 8) {
    if (sc.BlinkOn && sc.blinkBody) sc.blinkBody(ctx);
    sc.blinkCounter = 0;
  }
  if (stillRunning() && sc.TurnClockOn && ctx.session.TableActive && SecondPassed(ctx, sc.lastTurnClock) &&
      sc.turnClockBody)
    sc.turnClockBody(ctx);
  if (stillRunning() && sc.ContinueClockOn && ctx.session.TableActive && SecondPassed(ctx, sc.lastContinueClock) &&
      sc.continueClockBody)
    sc.continueClockBody(ctx);
  if (stillRunning() && sc.watchCounter >= 1) {
    if (sc.ConnWatch) Watchdog(ctx);
    sc.watchCounter = 0;
  }
  if (stillRunning() && sc.bubblesCounter >= 40) {
    if (sc.BubblesShown && sc.bubblesBody) sc.bubblesBody(ctx);
    sc.bubblesCounter = 0;
  }
  sc.inTick = false;
  if (ctx.platform.Ending()) return;
  if (sc.bongWanted) RestartGrid(ctx);
  for (auto& hook : sc.tickEnd) {
    if (ctx.platform.Ending()) break;
    hook(ctx);
  }
  // Step 12: the prop plug-in's items, the settlement hand-off, the chest countdown.
  if (!ctx.platform.Ending()) props::PropTick(ctx);
  PlanNextTick(ctx);
}

void TimerKeepAliveTick(ClientContext& ctx) {
  Info info;
  info.Cmd = cmd::kKeepAlive;
  info.Seat = ctx.table.custom[0].seat;
  SendCommand(ctx, info);
}

void StartSendTask(ClientContext& ctx) {
  CatchUpIdleTicks(ctx);
  ctx.sched.SendPending = true;
  ctx.sched.sendCounter = 0;
}

void StartReceiveTask(ClientContext& ctx) {
  CatchUpIdleTicks(ctx);
  ctx.sched.RecvPending = true;
  ctx.sched.recvCounter = 0;
}

void StartLoginTask(ClientContext& ctx) {
  CatchUpIdleTicks(ctx);
  ctx.sched.LoginPending = true;
  ctx.sched.loginCounter = 0;
  ++ctx.sched.loginEpoch;
}

void AbandonLogin(ClientContext& ctx) {
  ctx.sched.LoginPending = false;
  ++ctx.sched.loginEpoch;
}

void StartWatchdog(ClientContext& ctx) {
  CatchUpIdleTicks(ctx);
  ctx.sched.ConnWatch = true;
  ctx.sched.watchCounter = 0;
}

void RunLoginSender(ClientContext& ctx) {
  auto& sc = ctx.sched;
  const int epoch = sc.loginEpoch;
  // Events run inside the wait: a leave, a fresh login or the reconnection's next
  // attempt may take over, and then nothing of this login goes on.
  auto overtaken = [&ctx, &sc, epoch] { return sc.loginEpoch != epoch || ctx.platform.Ending(); };
  PostToLobby(ctx, 0x16);
  const bool up = ctx.platform.PumpUntil([&] { return ctx.Connected() || overtaken(); }, kConnectWaitLimitMs);
  if (overtaken()) return;
  if (!up) {
    // A reconnection keeps its own time (an attempt every 3 s, 21 in all): the task stays
    // on and waits again on its next turn.
    if (ctx.startup.reconnect.running) return;
    AbandonLogin(ctx);
    DebugLine(ctx, "login: no connection within the time limit");
    OnConnectTimedOut(ctx);
    return;
  }
  sc.LoginPending = false;
  sc.loginCounter = 0;
  ctx.Winsock1->SendData(ctx.startup.LoginPacket.data(), ctx.startup.LoginPacket.size());
  DebugPacket(ctx, true, ctx.startup.LoginPacket);
  ctx.session.LoginAwaited = true;
  StartWatchdog(ctx);
  props::TellConnection(ctx, true);
}

}  // namespace tavrel::session
