// tavrelmj: the table client. The lobby starts it with its command line.
#include <QApplication>
#include <QStringList>

#include "app/client_context.h"
#include "app/qt_backend.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tavrel::platform::qt::QtPlatform platform;
  tavrel::app::SetUpPictures(platform);
  tavrel::app::SetUpLobbyLink(platform);

  tavrel::ClientContext ctx(platform);
  tavrel::InstallParts(ctx);
  tavrel::app::AttachWindows(ctx);

  // The lobby passes one "$"-separated line; join whatever the shell split.
  QStringList args = app.arguments();
  args.removeFirst();
  tavrel::app::StartClient(ctx, args.join(' ').toStdString());
  if (platform.Ending()) return platform.ExitCode();
  const int rc = app.exec();
  return platform.Ending() ? platform.ExitCode() : rc;
}
