// The windows of the client program: the picture pack and the Qt drawing of
// the control model.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QFile>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/client_context.h"
#include "app/qt_backend.h"
#include "app/table_dump.h"
#include "session/leave.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_ui.h"
#include "view/picture_catalogue.h"

namespace tavrel::app {

namespace {

// A picture of the screen, or of the main window alone (also where the screen cannot
// be read), written under another name and renamed, so a reader never sees half a picture.
void SaveScreenshot(platform::qt::QtUi& ui, const QString& path, bool wholeScreen = true) {
  ui.SyncNow();
  QPixmap shot;
  if (wholeScreen)
    if (QScreen* screen = QGuiApplication::primaryScreen()) shot = screen->grabWindow(0);
  if (shot.isNull())
    if (platform::qt::FormWindow* main = ui.Window(kMainForm)) shot = main->grab();
  QSaveFile out(path);
  const bool saved = !shot.isNull() && out.open(QIODevice::WriteOnly) && shot.save(&out, "PNG") && out.commit();
  std::fprintf(stderr, "screenshot %s: %s\n", saved ? "saved" : "failed", path.toLocal8Bit().constData());
  std::fflush(stderr);
}

// TAVREL_SCREENSHOT=FILE: a screenshot some time after start, for unattended checks.
void ScheduleScreenshot(platform::qt::QtUi& ui) {
  const char* file = std::getenv("TAVREL_SCREENSHOT");
  if (!file || !*file) return;
  int delayMs = 1500;
  if (const char* d = std::getenv("TAVREL_SCREENSHOT_DELAY_MS")) delayMs = std::max(0, std::atoi(d));
  const QString path = QString::fromLocal8Bit(file);
  QTimer::singleShot(delayMs, &ui, [&ui, path] { SaveScreenshot(ui, path); });
}

// TAVREL_TABLE_DUMP_PACKETS=all or a list of numbers (1,50,200): the table model in
// DIR/packet-N.txt right after received packet N was handled, so that two runs of the
// same packets (a live table and its replay) can be compared packet by packet.
void DumpHandledPackets(ClientContext& ctx, const QString& folder) {
  const QString wanted = qEnvironmentVariable("TAVREL_TABLE_DUMP_PACKETS");
  if (wanted.isEmpty()) return;
  auto numbers = std::make_shared<QSet<qulonglong>>();
  for (const QString& n : wanted.split(',', Qt::SkipEmptyParts)) numbers->insert(n.trimmed().toULongLong());
  const bool all = wanted.trimmed() == QStringLiteral("all");
  auto handled = std::make_shared<qulonglong>(0);
  ctx.hooks.packetHandled = [&ctx, folder, numbers, all, handled] {
    ++*handled;
    if (!all && !numbers->contains(*handled)) return;
    QSaveFile out(folder + QStringLiteral("/packet-%1.txt").arg(*handled));
    if (out.open(QIODevice::WriteOnly)) {
      out.write(QByteArray::fromStdString(DescribeTable(ctx)));
      out.commit();
    }
  };
}

// TAVREL_TABLE_DUMP=DIR: the table model in DIR/table.txt whenever a window
// changes, and a picture of the table window into the file named by DIR/shot.request
// whenever that request appears (DIR/screen.request: of the whole screen, with the
// client's other windows); the request is removed once the picture is written.
// DIR/click.request ("NAME INDEX", e.g. "AnNiu 2") clicks that control of the table
// window as the mouse would, for unattended runs without a window system.
void WatchTableForTests(ClientContext& ctx, platform::qt::QtUi& ui) {
  const char* dir = std::getenv("TAVREL_TABLE_DUMP");
  if (!dir || !*dir) return;
  const QString folder = QString::fromLocal8Bit(dir);
  auto* timer = new QTimer(&ui);
  auto lastRevision = std::make_shared<std::uint64_t>(~0ull);
  QObject::connect(timer, &QTimer::timeout, &ui, [&ctx, &ui, folder, lastRevision] {
    if (ctx.platform.Ending()) return;
    std::uint64_t revision = 0;
    for (const auto& [name, form] : ctx.ui.Forms()) revision += form->Revision();
    if (revision != *lastRevision) {
      *lastRevision = revision;
      QSaveFile out(folder + "/table.txt");
      if (out.open(QIODevice::WriteOnly)) {
        out.write(QByteArray::fromStdString(DescribeTable(ctx)));
        out.commit();
      }
    }
    for (const bool wholeScreen : {false, true}) {
      QFile request(folder + (wholeScreen ? "/screen.request" : "/shot.request"));
      if (!request.exists() || !request.open(QIODevice::ReadOnly)) continue;
      const QString target = QString::fromUtf8(request.readAll()).trimmed();
      request.close();
      if (!target.isEmpty()) SaveScreenshot(ui, target, wholeScreen);
      request.remove();
    }
    QFile click(folder + "/click.request");
    if (click.exists() && click.open(QIODevice::ReadOnly)) {
      const QStringList words = QString::fromUtf8(click.readAll()).simplified().split(' ');
      click.close();
      click.remove();
      platform::UiEvent e;
      e.type = platform::UiEventType::Click;
      e.control = words.value(0).toStdString();
      e.index = words.value(1, "-1").toInt();
      if (!e.control.empty()) ctx.main().Dispatch(e);
    }
  });
  timer->start(100);
  DumpHandledPackets(ctx, folder);
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
  WatchTableForTests(ctx, *ui);
  ctx.view.windowBackend = ui;
}

}  // namespace tavrel::app
