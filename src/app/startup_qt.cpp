// The client's start-up on the Qt side: the real lobby link and the debug log.
#include <cstdio>
#include <cstdlib>

#include "app/client_context.h"
#include "app/qt_backend.h"
#include "platform/qt/lobby_link_qt.h"
#include "platform/qt/qt_audio.h"
#include "platform/qt/qt_platform.h"
#include "session/debug_log.h"
#include "session/startup.h"

namespace tavrel::app {

void SetUpLobbyLink(platform::qt::QtPlatform& platform) {
  platform.SetLobby(std::make_unique<platform::qt::LobbyLinkQt>());
}

void SetUpAudio(platform::qt::QtPlatform& platform) { platform.SetAudio(std::make_unique<platform::qt::QtAudio>()); }

void StartClient(ClientContext& ctx, const std::string& commandLine) {
  // A control looked up under the wrong kind is a fault in the program; the tests watch for this line.
  ctx.ui.onKindMismatch = [](const std::string& form, const platform::KindMismatch& m) {
    std::fprintf(stderr, "tavrelmj: %s %s\n", kKindMismatchMark, platform::DescribeMismatch(form, m).c_str());
  };
  if (!session::InstallDebugLog(ctx, std::getenv("TAVREL_DEBUG_LOG")))
    std::fprintf(stderr, "tavrelmj: cannot open the debug log %s\n", std::getenv("TAVREL_DEBUG_LOG"));
  session::StartUp(ctx, commandLine);
}

}  // namespace tavrel::app
