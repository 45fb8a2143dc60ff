#include "session/transport.h"

#include <vector>

#include "app/client_context.h"
#include "session/commands.h"
#include "session/debug_log.h"
#include "session/dispatcher.h"
#include "session/lobby_ops.h"
#include "session/packet_io.h"
#include "session/proxy.h"
#include "session/scheduler.h"

namespace tavrel::session {
namespace {

constexpr int kPacket = static_cast<int>(kPacketSize);

bool IsKeepAlive(const ByteRing& ring, int offsetFromHead) { return ring.At(offsetFromHead + off::kCmd) == cmd::kKeepAlive; }

// Removes the oldest queued keep-alive; false when none is queued. Packets stay
// whole and in order because the head always sits on a packet boundary.
bool DropOldestKeepAlive(ByteRing& ring) {
  const int count = ring.Queued() / kPacket;
  int victim = -1;
  for (int i = 0; i < count && victim < 0; ++i)
    if (IsKeepAlive(ring, i * kPacket)) victim = i;
  if (victim < 0) return false;
  std::vector<std::uint8_t> rest;
  rest.reserve(static_cast<std::size_t>(ring.Queued()));
  const int queued = ring.Queued();
  for (int i = 0; i < queued; ++i)
    if (i / kPacket != victim) rest.push_back(ring.At(i));
  ring.tail = ring.head;
  for (std::uint8_t b : rest) ring.Push(b);
  return true;
}

}  // namespace

void ResetRings(ClientContext& ctx) {
  ctx.session.RecvRing.Reset();
  ctx.session.SendRing.Reset();
}

bool EnqueueOutgoing(ClientContext& ctx, const Packet& packet) {
  auto& s = ctx.session;
  if (s.SendRing.Free() < kPacket) {
    if (wire::U8(packet, off::kCmd) == cmd::kKeepAlive || !DropOldestKeepAlive(s.SendRing)) {
      ++s.RefusedPackets;
      DebugLine(ctx, "send ring full: packet refused");
      return false;
    }
    ++s.DroppedKeepAlives;
  }
  s.SendRing.PushAll(packet.data(), kPacket);
  StartSendTask(ctx);
  return true;
}

void OnDataArrival(ClientContext& ctx) {
  if (!ctx.Winsock1) return;
  auto& s = ctx.session;
  platform::ByteVec data = ctx.Winsock1->GetData();
  if (s.DirectMode) {
    if (!s.RecvRing.PushAll(data.data(), static_cast<int>(data.size()))) {
      GiveUp(ctx);
      return;
    }
    StartReceiveTask(ctx);
    return;
  }
  for (std::uint8_t b : data) {
    s.proxy.bytes[s.proxy.write] = b;
    s.proxy.write = (s.proxy.write + 1) % kProxyBufferSize;
    if (s.proxy.write == s.proxy.read) {
      GiveUp(ctx);
      return;
    }
  }
  ProxyReceive(ctx);
}

void SendNextPacket(ClientContext& ctx) {
  auto& s = ctx.session;
  if (s.SendRing.Queued() < kPacket) {
    ctx.sched.SendPending = false;
    return;
  }
  // Queued packets wait while the socket is down, while it carries the proxy
  // handshake, and until the login or reconnect request due on it has gone out.
  if (!ctx.Connected() || !s.DirectMode || ctx.sched.LoginPending) return;
  Packet p = s.SendRing.Peek();
  s.SendRing.Advance(kPacket);
  const int c = wire::U8(p, off::kCmd);
  const int n = wire::U16BE(p, off::kPropNumber);
  if (c == cmd::kPropMessage45 && s.HoldProp1 && n / 8 == 129) {
    s.HoldProp1 = false;
    s.HeldPropPacket1 = p;
    return;
  }
  if (c == cmd::kPropMessage45 && !ctx.table.Playing && s.HoldProp2 && n / 8 == 386) {
    s.HoldProp2 = false;
    s.HeldPropPacket2 = p;
    return;
  }
  ctx.Winsock1->SendData(p.data(), p.size());
  DebugPacket(ctx, true, p);
}

void ReceiveNextPacket(ClientContext& ctx) {
  auto& s = ctx.session;
  if (s.RecvRing.Queued() < kPacket) return;
  const int head = s.RecvRing.head;
  DecodePacket(ctx);
  if (s.HandResultWait && s.info.Cmd == cmd::kTableUsers) {
    // Keep the departure first in the ring until the sheet has been shown.
    s.RecvRing.head = head;
    if (s.info.Seat != ctx.table.custom[0].seat && ctx.TimerKeepAlive && !ctx.TimerKeepAlive->Enabled())
      ctx.TimerKeepAlive->SetEnabled(true);
    return;
  }
  if (ctx.table.Playing) ctx.sched.LostCount = 0;
  DebugPacket(ctx, false, s.RecvPacket);
  DispatchCommand(ctx);
  if (ctx.hooks.packetHandled) ctx.hooks.packetHandled();
}

void ArmPropHolding(ClientContext& ctx) {
  auto& s = ctx.session;
  s.HoldProp1 = s.HoldProp2 = true;
  s.HeldPropPacket1.fill(0);
  s.HeldPropPacket2.fill(0);
}

void ReplayHeldPropPackets(ClientContext& ctx) {
  auto& s = ctx.session;
  auto replay = [&](Packet& held, bool stillArmed) {
    if (wire::U8(held, off::kCmd) == 0 || stillArmed) return;
    wire::PutU8(held, off::kSeat, ctx.table.custom[0].seat);
    QueuePacket(ctx, held);
    wire::PutU8(held, off::kCmd, 0);
  };
  replay(s.HeldPropPacket1, s.HoldProp1);
  replay(s.HeldPropPacket2, s.HoldProp2);
  s.HoldProp1 = false;
}

void ClearHeldPropPackets(ClientContext& ctx) {
  auto& s = ctx.session;
  s.HoldProp1 = s.HoldProp2 = false;
  s.HeldPropPacket1.fill(0);
  s.HeldPropPacket2.fill(0);
}

}  // namespace tavrel::session
