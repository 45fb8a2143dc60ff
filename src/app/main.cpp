// tavrelmj: the table client. The lobby starts it with its command line.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/client_context.h"
#include "app/command_line_secrets.h"
#include "app/qt_backend.h"
#include "app/replay.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // tavrelmj --replay FILE [--speed N] [--exit-at-end]: a recorded table, offline.
  std::string replayError;
  if (const auto replay = tavrel::app::ReplayArguments(argc, argv, replayError)) return tavrel::app::RunReplay(app, *replay);
  if (!replayError.empty()) {
    std::fprintf(stderr, "tavrelmj: %s\n", replayError.c_str());
    return 2;
  }
  tavrel::platform::qt::QtPlatform platform;
  tavrel::app::SetUpPictures(platform);
  tavrel::app::SetUpLobbyLink(platform);
  tavrel::app::SetUpAudio(platform);

  tavrel::ClientContext ctx(platform);
  tavrel::InstallParts(ctx);
  tavrel::app::AttachWindows(ctx);

  // The lobby passes one "$"-separated line; join whatever the shell split.
  QStringList args = app.arguments();
  args.removeFirst();
  const std::string commandLine = args.join(' ').toStdString();
  // Read: from now on the process list shows *** for the login key and the proxy password.
  tavrel::app::WipeSecretFields(argc, argv);
  tavrel::app::StartClient(ctx, commandLine);
  if (platform.Ending()) return platform.ExitCode();
  const int rc = app.exec();
  return platform.Ending() ? platform.ExitCode() : rc;
}
