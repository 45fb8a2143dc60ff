#pragma once
#include <string>

class QApplication;
// The Qt side of the client program: what main() sets up around the context.
namespace tavrel {
struct ClientContext;
namespace platform::qt {
class QtPlatform;
}
}  // namespace tavrel

namespace tavrel::app {

struct ReplayOptions;

// Start of the line the client writes to stderr for a control looked up under the wrong kind.
inline constexpr const char* kKindMismatchMark = "control of the wrong kind:";

// Gives the platform its picture pack (program folder/pictures) and its lobby link.
void SetUpPictures(platform::qt::QtPlatform& platform);
void SetUpLobbyLink(platform::qt::QtPlatform& platform);
// Gives the platform its sound device (Qt Multimedia); opened by the sound set-up.
void SetUpAudio(platform::qt::QtPlatform& platform);
// Creates the Qt windows that draw ctx.ui and feed input back to it.
void AttachWindows(ClientContext& ctx);
// Start-up of the client from its command line (the whole line, as the lobby passed it).
void StartClient(ClientContext& ctx, const std::string& commandLine);
// The replay of a recorded table (tavrelmj --replay FILE): its own platform, context
// and windows; returns the program's exit status.
int RunReplay(QApplication& app, const ReplayOptions& options);

}  // namespace tavrel::app
