#include "session/lobby_ops.h"

#include "app/client_context.h"
#include "session/cp936.h"

namespace tavrel::session {

bool LobbyExists(ClientContext& ctx) { return ctx.platform.lobby().FindWindow(ctx.startup.LobbyCaption); }

static void SysCommandToLobby(ClientContext& ctx, int command) {
  if (text::TrimSpaces(ctx.startup.LobbyCaption).empty()) return;
  if (!ctx.platform.lobby().SendSysCommand(ctx.startup.LobbyCaption, command)) ctx.platform.EndProgram(0);
}

void RestoreLobby(ClientContext& ctx) { SysCommandToLobby(ctx, kScRestore); }
void MinimizeLobby(ClientContext& ctx) { SysCommandToLobby(ctx, kScMinimize); }

void PostToLobby(ClientContext& ctx, int message) {
  ctx.platform.lobby().PostMessage(ctx.startup.LobbyCaption, message, 0, 0);
}

void GiveUp(ClientContext& ctx) { EndWithLobbyRestored(ctx, 1); }

void EndWithLobbyRestored(ClientContext& ctx, int exitCode) {
  if (LobbyExists(ctx)) RestoreLobby(ctx);
  ctx.platform.EndProgram(exitCode);
}

void ReturnToLobby(ClientContext& ctx) {
  if (LobbyExists(ctx)) {
    ctx.main().SetState(platform::WindowState::Minimized);
    RestoreLobby(ctx);
  } else {
    ctx.platform.EndProgram(0);
  }
}

}  // namespace tavrel::session
