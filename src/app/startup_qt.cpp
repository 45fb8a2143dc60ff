// The client's start-up on the Qt side: the real lobby link and the debug log.
#include <cstdlib>

#include "app/client_context.h"
#include "app/qt_backend.h"
#include "platform/qt/lobby_link_qt.h"
#include "platform/qt/qt_platform.h"
#include "session/debug_log.h"
#include "session/startup.h"

namespace tavrel::app {

void SetUpLobbyLink(platform::qt::QtPlatform& platform) {
  platform.SetLobby(std::make_unique<platform::qt::LobbyLinkQt>());
}

void StartClient(ClientContext& ctx, const std::string& commandLine) {
  if (!session::InstallDebugLog(ctx, std::getenv("TAVREL_DEBUG_LOG")))
    std::fprintf(stderr, "tavrelmj: cannot open the debug log %s\n", std::getenv("TAVREL_DEBUG_LOG"));
  session::StartUp(ctx, commandLine);
}

}  // namespace tavrel::app
