// tavrel-lobby: stands in for the Virel山庄 lobby in tests, demos and development.
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "lobby_core.h"
#include "lobby_options.h"
#include "lobby_window.h"
#include "local_server.h"

namespace {

bool WantsHeadless(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--headless") == 0 || std::strcmp(argv[i], "--help") == 0 ||
        std::strcmp(argv[i], "-h") == 0)
      return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tavrel::lobby;
  // Headless runs need no display at all.
  std::unique_ptr<QCoreApplication> app =
      WantsHeadless(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
  int exitCode = 0;
  auto options = ParseOptions(app->arguments(), exitCode);
  if (!options) return exitCode;
  // The desktop entry and the icon of the installed program.
  if (!options->headless) {
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavrel.Lobby"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.tavrel.Lobby")));
  }

  LocalServer server(QCoreApplication::applicationDirPath() + "/tavrel-server");
  if (options->localServer) {
    QString error;
    const int port = server.Start(error);
    if (port == 0) {
      std::fprintf(stderr, "tavrel-lobby: %s\n", qPrintable(error));
      if (!options->headless) QMessageBox::critical(nullptr, options->lobbyCaption, error);
      return 3;
    }
    options->serverHost = "127.0.0.1";
    options->serverPort = port;
  }

  LobbyCore core(*options);
  std::unique_ptr<LobbyWindow> window;
  if (options->headless) {
    core.onLog = [](const QString& line) {
      std::printf("%s\n", qPrintable(line));
      std::fflush(stdout);
    };
  } else {
    window = std::make_unique<LobbyWindow>(core);
    core.onLog = [w = window.get()](const QString& line) { w->AddLine(line); };
    core.onSysCommand = [w = window.get()](bool restore) {
      if (restore) {
        w->showNormal();
        w->raise();
        w->activateWindow();
      } else {
        w->showMinimized();
      }
    };
    window->show();
  }
  if (!core.Register()) return 3;
  if (options->startClient) core.StartClient();
  for (const TimedSend& s : options->sends) QTimer::singleShot(s.afterMs, &core, [&core, s] { core.Send(s.message); });
  if (options->exitAfterMs >= 0)
    QTimer::singleShot(options->exitAfterMs, app.get(), [] { QCoreApplication::exit(0); });
  return app->exec();
}
