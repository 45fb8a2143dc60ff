#include "session/proxy.h"

#include <algorithm>
#include <cstdlib>

#include "app/client_context.h"
#include "session/system_messages.h"
#include "session/cp936.h"
#include "session/lobby_ops.h"
#include "session/scheduler.h"
#include "session/startup.h"
#include "session/transport.h"
#include "session/debug_log.h"

namespace tavrel::session {
namespace {

constexpr std::size_t kMaxCredentialBytes = 255;

void Log(ClientContext& ctx, const std::string& line) {
  DebugLine(ctx, "proxy: " + line);
}

ProxyBuffer& Buffer(ClientContext& ctx) { return ctx.session.proxy; }

int Available(const ProxyBuffer& b) { return (b.write - b.read + kProxyBufferSize) % kProxyBufferSize; }
std::uint8_t ByteAt(const ProxyBuffer& b, int i) { return b.bytes[(b.read + i) % kProxyBufferSize]; }

void StopGuard(ClientContext& ctx) {
  if (auto& g = ctx.startup.proxy.replyGuard) g->SetEnabled(false);
}

const char* RefusalText(int step) {
  if (step == 4) return kMsgProxyAuthFailed;
  if (step == 6) return kMsgProxyConnectFailed;
  return kMsgProxyRefused;
}

// A refusal: the box, then the socket closed; no retry.
void Refuse(ClientContext& ctx, int step) {
  StopGuard(ctx);
  ctx.startup.proxy.ProxyStep = 0;
  Log(ctx, std::string("refused at step ") + std::to_string(step));
  ctx.platform.MessageBox(RefusalText(step), kAppTitle, platform::BoxButtons::Ok);
  ctx.Winsock1->Close();
}

void EnsureGuard(ClientContext& ctx) {
  auto& g = ctx.startup.proxy.replyGuard;
  if (g) return;
  g = ctx.platform.CreateTimer();
  g->SetInterval(kProxyWaitLimitMs);
  g->onTick = [&ctx] {
    const int step = ctx.startup.proxy.ProxyStep;
    StopGuard(ctx);
    if (step == 2 || step == 4 || step == 6) Refuse(ctx, step);
  };
}

// Length of a complete connect reply, or 0 while its first bytes are still missing.
int ConnectReplyLength(const ProxyBuffer& b) {
  const int have = Available(b);
  if (have < 4) return 0;
  switch (ByteAt(b, 3)) {
    case 1: return 10;
    case 4: return 22;
    case 3: return have < 5 ? 0 : 7 + ByteAt(b, 4);
    default: return 4;
  }
}

void Connected(ClientContext& ctx, int replyLength) {
  auto& s = ctx.session;
  auto& b = Buffer(ctx);
  StopGuard(ctx);
  ctx.startup.proxy.ProxyStep = 0;
  // Whatever followed the reply already belongs to the game stream.
  const int extra = Available(b) - replyLength;
  s.DirectMode = true;
  for (int i = 0; i < extra; ++i) s.RecvRing.Push(ByteAt(b, replyLength + i));
  b.Reset();
  if (extra > 0) StartReceiveTask(ctx);
  PostToLobby(ctx, 771);
  SysList(ctx, 0).Clear();
  ShowLine(ctx, 0, kMsgProxyConnected);
  Log(ctx, "connected to the game server");
  ctx.Winsock1->SendData(ctx.startup.LoginPacket.data(), ctx.startup.LoginPacket.size());
  DebugPacket(ctx, true, ctx.startup.LoginPacket);
  SetTimerBong(ctx, true);
}

}  // namespace

platform::ByteVec ProxyGreeting() { return {0x05, 0x02, 0x00, 0x02}; }

platform::ByteVec ProxyAuthentication(const std::string& user, const std::string& password) {
  const std::string u = text::ToSingleByte(user).substr(0, kMaxCredentialBytes);
  const std::string p = text::ToSingleByte(password).substr(0, kMaxCredentialBytes);
  platform::ByteVec out{0x01, static_cast<std::uint8_t>(u.size())};
  out.insert(out.end(), u.begin(), u.end());
  out.push_back(static_cast<std::uint8_t>(p.size()));
  out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::optional<platform::ByteVec> ProxyConnectRequest(const std::string& host, int port) {
  if (!IsDottedIPv4(host) || port < 1 || port > 65535) return std::nullopt;
  platform::ByteVec out{0x05, 0x01, 0x00, 0x01};
  std::size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t dot = host.find('.', start);
    out.push_back(static_cast<std::uint8_t>(std::strtol(host.substr(start, dot - start).c_str(), nullptr, 10)));
    start = dot + 1;
  }
  out.push_back(static_cast<std::uint8_t>(port >> 8));
  out.push_back(static_cast<std::uint8_t>(port & 0xFF));
  return out;
}

void StartProxy(ClientContext& ctx, bool resetRings) {
  auto& st = ctx.startup;
  auto& sc = ctx.sched;
  ++sc.loginEpoch;
  const int epoch = sc.loginEpoch;
  EnsureGuard(ctx);
  if (resetRings) ResetRings(ctx);
  ctx.session.DirectMode = false;
  Buffer(ctx).Reset();
  st.proxy.ProxyStep = 0;
  ctx.Winsock1->RemoteHost = st.ProxyHost;
  ctx.Winsock1->RemotePort = st.ProxyPort;
  ctx.Winsock1->Connect();
  Log(ctx, "connecting to " + st.ProxyHost + ":" + std::to_string(st.ProxyPort));
  st.proxy.waitingForSocket = true;
  const bool up = ctx.platform.PumpUntil(
      [&ctx, &sc, epoch] {
        const int state = ctx.Winsock1->State();
        return ctx.platform.Ending() || sc.loginEpoch != epoch || state == platform::kSocketConnected ||
               state == platform::kSocketError || state == platform::kSocketClosed;
      },
      kProxyWaitLimitMs);
  st.proxy.waitingForSocket = false;
  // A leave or a newer login took over while waiting: nothing of this one goes on.
  if (ctx.platform.Ending() || sc.loginEpoch != epoch) return;
  if (!up || !ctx.Connected()) {
    Log(ctx, "no connection to the proxy");
    if (st.reconnect.running) {
      ctx.Winsock1->Close();
      return;  // the next attempt tries again
    }
    LoginCannotConnect(ctx, kMsgProxyUnreachable);
    return;
  }
  ctx.session.LoginAwaited = true;
  st.proxy.ProxyStep = 1;
  ProxySend(ctx);
  StartWatchdog(ctx);
}

void ProxySend(ClientContext& ctx) {
  auto& st = ctx.startup;
  platform::ByteVec message;
  switch (st.proxy.ProxyStep) {
    case 1:
      message = ProxyGreeting();
      st.proxy.ProxyStep = 2;
      break;
    case 3:
      message = ProxyAuthentication(st.ProxyUser, st.ProxyPassword);
      st.proxy.ProxyStep = 4;
      Log(ctx, "authentication as " + st.ProxyUser + " (password not shown)");
      break;
    case 5: {
      auto request = ProxyConnectRequest(st.ServerHost, st.ServerPort);
      if (!request) {
        Refuse(ctx, 6);
        return;
      }
      message = *request;
      st.proxy.ProxyStep = 6;
      break;
    }
    default: break;
  }
  Buffer(ctx).Reset();
  if (message.empty()) return;
  if (auto& g = st.proxy.replyGuard) {
    g->SetEnabled(false);
    g->SetEnabled(true);
  }
  ctx.Winsock1->SendData(message.data(), message.size());
}

void ProxyReceive(ClientContext& ctx) {
  auto& st = ctx.startup;
  const auto& b = Buffer(ctx);
  if (ctx.session.DirectMode || Available(b) < 2) return;
  const std::uint8_t r0 = ByteAt(b, 0), r1 = ByteAt(b, 1);
  switch (st.proxy.ProxyStep) {
    case 2:
      if (r0 == 5 && (r1 == 0 || r1 == 2)) {
        st.proxy.ProxyStep = r1 == 2 ? 3 : 5;
        ProxySend(ctx);
      } else {
        Refuse(ctx, 2);
      }
      break;
    case 4:
      if (r0 == 1 && r1 == 0) {
        st.proxy.ProxyStep = 5;
        ProxySend(ctx);
      } else {
        Refuse(ctx, 4);
      }
      break;
    case 6: {
      if (r0 != 5 || r1 != 0) {
        Refuse(ctx, 6);
        break;
      }
      // Switch only after the whole reply, so that its tail never enters the game stream.
      const int length = ConnectReplyLength(b);
      if (length > 0 && Available(b) >= length) Connected(ctx, length);
      break;
    }
    default: break;
  }
}

}  // namespace tavrel::session
