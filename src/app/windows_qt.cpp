// The windows of the client program: the picture pack and the Qt drawing of
// the control model.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/client_context.h"
#include "app/qt_backend.h"
#include "session/leave.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_ui.h"
#include "view/picture_catalogue.h"

namespace tavrel::app {

namespace {

// TAVREL_SCREENSHOT=FILE: a picture of the screen (or of the main window where the
// screen cannot be read) some time after start, for unattended checks.
void ScheduleScreenshot(platform::qt::QtUi& ui) {
  const char* file = std::getenv("TAVREL_SCREENSHOT");
  if (!file || !*file) return;
  int delayMs = 1500;
  if (const char* d = std::getenv("TAVREL_SCREENSHOT_DELAY_MS")) delayMs = std::max(0, std::atoi(d));
  const QString path = QString::fromLocal8Bit(file);
  QTimer::singleShot(delayMs, &ui, [&ui, path] {
    ui.SyncNow();
    QPixmap shot;
    if (QScreen* screen = QGuiApplication::primaryScreen()) shot = screen->grabWindow(0);
    if (shot.isNull())
      if (platform::qt::FormWindow* main = ui.Window(kMainForm)) shot = main->grab();
    // Written under another name and renamed, so a reader never sees half a picture.
    QSaveFile out(path);
    const bool saved = !shot.isNull() && out.open(QIODevice::WriteOnly) && shot.save(&out, "PNG") && out.commit();
    std::fprintf(stderr, "screenshot %s: %s\n", saved ? "saved" : "failed", path.toLocal8Bit().constData());
    std::fflush(stderr);
  });
}

}  // namespace

void SetUpPictures(platform::qt::QtPlatform& platform) {
  const QString folder = QString::fromStdString(platform.ProgramFolder()) + QStringLiteral("/pictures");
  platform.SetPictures(std::make_unique<platform::qt::QtPictures>(folder));
}

void AttachWindows(ClientContext& ctx) {
  auto* pictures = dynamic_cast<platform::qt::QtPictures*>(&ctx.platform.pictures());
  if (!pictures) return;
  auto ui = std::make_shared<platform::qt::QtUi>(ctx.ui, *pictures, kMainForm);
  // Closing the table window is its unload: the unload steps run, then the program ends.
  ui->onMainClosed = [&ctx] { session::UnloadMainWindow(ctx); };
  ui->SetHandPointer(view::kPicHandPointer, view::kHandPointerHotX, view::kHandPointerHotY);
  ScheduleScreenshot(*ui);
  ctx.view.windowBackend = ui;
}

}  // namespace tavrel::app
