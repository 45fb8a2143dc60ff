// Stand-in until the start-up and the lobby link land.
#include "app/client_context.h"
#include "app/qt_backend.h"
#include "platform/qt/qt_platform.h"

namespace tavrel::app {

void SetUpLobbyLink(platform::qt::QtPlatform&) {}
void StartClient(ClientContext& ctx, const std::string&) { ctx.platform.EndProgram(1); }

}  // namespace tavrel::app
