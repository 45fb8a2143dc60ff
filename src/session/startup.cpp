#include "session/startup.h"

#include <cstdlib>

#include "app/client_context.h"
#include "platform/names.h"
#include "session/commands.h"
#include "session/cp936.h"
#include "session/debug_log.h"
#include "session/leave.h"
#include "session/lobby_ops.h"
#include "session/lobby_protocol.h"
#include "session/proxy.h"
#include "session/scheduler.h"
#include "session/system_messages.h"
#include "session/transport.h"

namespace tavrel::session {
namespace {

std::string TrimAll(const std::string& s) {
  const char* ws = " \t\r\n";
  const std::size_t b = s.find_first_not_of(ws);
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

void ConnectDirect(ClientContext& ctx) {
  ctx.Winsock1->RemoteHost = ctx.startup.ServerHost;
  ctx.Winsock1->RemotePort = ctx.startup.ServerPort;
  ctx.Winsock1->Connect();
  SetTimerBong(ctx, true);
  StartLoginTask(ctx);
}

void SizeLocationLabel(ClientContext& ctx) {
  auto& label = ctx.main().Get(ctl::Location);
  label.SetCaption(ctx.startup.Location);
  const auto screen = ctx.platform.Screen();
  if (screen.width <= 1024 && screen.height <= 768)
    label.SetFont(text::CharCount(ctx.startup.Location) > 10 ? 8 : 10, label.FontBold());
}

void PrepareTable(ClientContext& ctx) {
  auto& st = ctx.startup;
  st.FreshLoginAsked = false;
  ResetRings(ctx);
  ctx.sched.ClearAll();
  if (ctx.hooks.setUpSound) ctx.hooks.setUpSound();
  ctx.session.ReconnectAllowed = false;
  st.ShuffleTexts = {"正在随机换座中..", "正在随机换座中...", "正在随机换座中....", "正在随机换座中....."};
  if (ctx.hooks.prepareLayout) ctx.hooks.prepareLayout();
  st.TurnClockSeconds = 8;
}

}  // namespace

CommandLine ParseCommandLine(const std::string& line) {
  CommandLine cl;
  const std::string s = TrimAll(line);
  std::vector<std::string> complete;
  std::size_t start = 0;
  for (std::size_t pos; (pos = s.find('$', start)) != std::string::npos; start = pos + 1)
    complete.push_back(s.substr(start, pos - start));
  const std::string trailing = start < s.size() ? s.substr(start) : std::string();
  if (!trailing.empty() && complete.size() >= 5) {
    cl.spectator = true;
    cl.spectatorId = TrimAll(trailing);
  } else if (!trailing.empty()) {
    complete.push_back(trailing);
  }
  for (std::size_t i = 0; i < complete.size() && i < kFieldCount; ++i) cl.fields[i] = TrimAll(complete[i]);
  cl.fieldCount = static_cast<int>(std::min<std::size_t>(complete.size(), kFieldCount));
  return cl;
}

long FieldNumber(const std::string& field) {
  long v = 0;
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9' && v < 100000000; ++i) v = v * 10 + (field[i] - '0');
  return v;
}

int PortNumber(const std::string& field) {
  if (!AllDigits(field) || field.size() > 5) return -1;
  const long v = std::strtol(field.c_str(), nullptr, 10);
  return v >= 1 && v <= 65535 ? static_cast<int>(v) : -1;
}

bool IsDottedIPv4(const std::string& host) {
  int parts = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = host.find('.', start);
    const std::string part = host.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (!AllDigits(part) || part.size() > 3 || std::strtol(part.c_str(), nullptr, 10) > 255) return false;
    ++parts;
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return parts == 4;
}

std::string ApplyCommandLine(Startup& st, const CommandLine& cl) {
  const auto& f = cl.fields;
  if (cl.fieldCount < 4 || f[0].empty() || f[2].empty())
    return "启动参数不完整，请重新从游戏大厅进入游戏！";
  const int port = PortNumber(f[3]);
  if (port < 0) return "游戏服务器端口无效：" + f[3];
  if (cl.spectator && !AllDigits(cl.spectatorId)) return "观战用户编号无效：" + cl.spectatorId;
  const int type = static_cast<int>(FieldNumber(f[5]));
  if (type == 5) {
    if (f[6].empty()) return "代理服务器地址为空！";
    if (PortNumber(f[7]) < 0) return "代理服务器端口无效：" + f[7];
    // The connect request carries only an IPv4 address.
    if (!IsDottedIPv4(f[2])) return "使用代理时游戏服务器地址必须是IPv4地址：" + f[2];
  }
  st.fields = f;
  st.fieldCount = cl.fieldCount;
  st.UserName = f[0];
  st.ServerHost = f[2];
  st.ServerPort = port;
  st.Location = f[4];
  st.ConnectionType = type;
  st.ProxyHost = f[6];
  st.ProxyPort = type == 5 ? PortNumber(f[7]) : 0;
  st.ProxyUser = f[8];
  st.ProxyPassword = f[9];
  st.ShortClockMode = FieldNumber(f[10]) == 1;
  st.LobbyCaption = st.ShortClockMode ? f[11] : kDefaultLobbyCaption;
  if (st.ShortClockMode && !f[12].empty()) st.MainCaption = f[12];
  st.PropsSwitch = FieldNumber(f[13]) == 1;
  st.PluginNumber = static_cast<int>(FieldNumber(f[14]));
  st.Spectator = cl.spectator;
  st.SpectatorUserId = cl.spectator ? std::strtod(cl.spectatorId.c_str(), nullptr) : 0;
  return {};
}

Packet BuildLoginPacket(const std::string& userName, const std::string& loginKey) {
  Packet p{};
  wire::PutU8(p, off::kCmd, cmd::kLogin);
  wire::PutU8(p, off::kLoginFlag, 1);
  wire::PutSingleByteText(p, off::kLoginUser, userName, off::kLoginUserBytes);
  wire::PutSingleByteText(p, off::kLoginKey, loginKey, off::kLoginKeyBytes);
  return p;
}

void StartUp(ClientContext& ctx, const std::string& commandLine) {
  auto& st = ctx.startup;
  auto& p = ctx.platform;
  // 1. One table client per user.
  if (!p.AcquireInstanceLock(kInstanceLockName)) {
    p.MessageBox(kMsgAlreadyRunning, kWarningTitle, platform::BoxButtons::Ok);
    EndWithLobbyRestored(ctx, 1);
    return;
  }
  // 2. A clean transport and table.
  PrepareTable(ctx);

  // 3. The command line.
  if (TrimAll(commandLine).empty()) {
    p.MessageBox(kMsgStartFromLobby, kWarningTitle, platform::BoxButtons::Ok);
    p.EndProgram(1);
    return;
  }
  const CommandLine cl = ParseCommandLine(commandLine);
  if (const std::string error = ApplyCommandLine(st, cl); !error.empty()) {
    DebugLine(ctx, "start-up: " + error);
    p.MessageBox(error, kAppTitle, platform::BoxButtons::Ok);
    EndWithLobbyRestored(ctx, 1);
    return;
  }
  DebugLine(ctx, "start-up: " + MaskedCommandLine(st));

  // 4..5.
  SysList(ctx, 0).Clear();
  ShowLine(ctx, 0, kMsgConnecting);
  SetTimerBong(ctx, false);
  ctx.session.DirectMode = true;
  st.LoginPacket = BuildLoginPacket(st.UserName, st.fields[1]);
  st.fields[1].assign(st.fields[1].size(), '*');  // the key lives on only inside the login packet
  ctx.table.custom[0].name = st.UserName;
  ctx.table.SpectatorMode = st.Spectator ? round::kTrue : round::kFalse;

  // 6. The connection.
  if (st.ConnectionType == 0) {
    ConnectDirect(ctx);
  } else if (st.ConnectionType == 5) {
    AbandonLogin(ctx);
    StartProxy(ctx, true);
  }
  if (p.Ending()) return;

  // 7..9.
  auto& main = ctx.main();
  main.Show();
  if (st.ShortClockMode) {
    main.SetCaption(st.MainCaption);
    st.TurnClockSeconds = 10;
  } else {
    if (main.Caption().empty()) main.SetCaption(kAppTitle);
    st.LobbyCaption = kDefaultLobbyCaption;
  }
  SizeLocationLabel(ctx);
  if (ctx.hooks.finishLayout) ctx.hooks.finishLayout();
  ctx.table.custom[0].seat = 0;
  InstallLobbyMessages(ctx);
}

void StartOffline(ClientContext& ctx, const std::string& userName, bool spectator, double spectatorId) {
  auto& st = ctx.startup;
  PrepareTable(ctx);
  st.UserName = userName;
  st.fields[0] = userName;
  st.fieldCount = 1;
  st.Spectator = spectator;
  st.SpectatorUserId = spectator ? spectatorId : 0;
  st.ConnectionType = -1;  // no connection of its own to make
  // No lobby: nothing to restore, nothing to tell.
  st.LobbyCaption.clear();
  SysList(ctx, 0).Clear();
  ctx.session.DirectMode = true;
  ctx.table.custom[0].name = st.UserName;
  ctx.table.SpectatorMode = st.Spectator ? round::kTrue : round::kFalse;
  auto& main = ctx.main();
  main.Show();
  if (main.Caption().empty()) main.SetCaption(kAppTitle);
  SizeLocationLabel(ctx);
  if (ctx.hooks.finishLayout) ctx.hooks.finishLayout();
  ctx.table.custom[0].seat = 0;
  SetTimerBong(ctx, true);
}

void OnLoginResult(ClientContext& ctx) {
  auto& s = ctx.session;
  auto& st = ctx.startup;
  ClearHeldPropPackets(ctx);
  s.HandResultWait = false;
  ctx.players.RunningTotal.fill(0);
  if (ctx.TimerKeepAlive) ctx.TimerKeepAlive->SetEnabled(true);
  if (auto* exitForm = ctx.ui.Find(frm::frmExit)) exitForm->Unload();
  s.LoginAwaited = false;
  // A new table starts with 开始 on the start button.
  ctx.view.StartPictureMode = true;

  const int outcome = s.info.value[3];
  SysList(ctx, 0).Clear();
  SysList(ctx, 1).Clear();
  if (outcome == 1) {
    s.TableActive = true;
    ShowLine(ctx, 0, "连接服务器成功！");
    ShowLine(ctx, 1, std::string("欢迎进入Tavrel麻将 ") + kPlatformWebAddress);
    PostToLobby(ctx, 771);
    st.TurnClockSeconds = st.ShortClockMode ? 1 : s.info.value[1] % 16;
    st.TimeoutLimit = wire::U8(s.RecvPacket, off::kTimeoutLimit);
    s.ReconnectAllowed = true;
    st.reconnect.Reconnected = false;
    st.AdvertAddress = wire::SingleByteText(s.RecvPacket, off::kAdvertAddress, off::kAdvertAddressBytes);
    if (!st.AdvertAddress.empty()) {
      auto& panel = ctx.main().Get(ctl::WebBrowser1);
      panel.tag = st.AdvertAddress;
      panel.SetVisible(true);
      st.SeatChangeAddress = st.AdvertAddress + ".gamead";
    }
    return;
  }
  PostToLobby(ctx, 0x16);
  ShowLine(ctx, 0, outcome == 2 ? "启动游戏失败，请重新在大厅就座后进入游戏！" : "验证错误，请重新登陆游戏！");
  EndWithLobbyRestored(ctx, 1);
}

void OnConnectTimedOut(ClientContext& ctx) { LoginCannotConnect(ctx, kMsgConnectFailed); }

void LoginCannotConnect(ClientContext& ctx, const std::string& message) {
  ctx.Winsock1->Close();
  if (!ctx.startup.FreshLoginAsked) {
    // At start-up, as every start-up failure: the message, then back to the lobby and the end.
    SysList(ctx, 0).Clear();
    ShowLine(ctx, 0, message);
    ctx.platform.MessageBox(message, kAppTitle, platform::BoxButtons::Ok);
    EndWithLobbyRestored(ctx, 1);
    return;
  }
  // A login the lobby asked for: idle again first, so that nothing of it runs on while
  // the message is open; the lobby hears that the client is free for the next seat.
  CloseTable(ctx);
  SysList(ctx, 0).Clear();
  ShowLine(ctx, 0, message);
  PostToLobby(ctx, kMsgFree);
  ctx.platform.MessageBox(message, kAppTitle, platform::BoxButtons::Ok);
  if (!ctx.platform.Ending()) ReturnToLobby(ctx);
}

}  // namespace tavrel::session
