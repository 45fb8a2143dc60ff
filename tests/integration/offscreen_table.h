#pragma once
// A table client on the Qt backend with the real windows and the picture pack,
// laid out as start-up lays it out; drawn offscreen (QT_QPA_PLATFORM=offscreen).
// The screen size comes from TAVREL_SCREEN, set before the table is made.
#include <QCoreApplication>
#include <QString>
#include <memory>

#include "app/client_context.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_ui.h"

namespace tavrel::itest {

struct OffscreenTable {
  platform::qt::QtPlatform platform;
  platform::qt::QtPictures* pictures = nullptr;
  std::unique_ptr<ClientContext> ctx;
  std::unique_ptr<platform::qt::QtUi> ui;

  explicit OffscreenTable(const QString& pack = QStringLiteral(TAVREL_PROGRAM_DIR "/pictures")) {
    auto owned = std::make_unique<platform::qt::QtPictures>(pack);
    pictures = owned.get();
    platform.SetPictures(std::move(owned));
    ctx = std::make_unique<ClientContext>(platform);
    InstallParts(*ctx);
    ui = std::make_unique<platform::qt::QtUi>(ctx->ui, *pictures, kMainForm);
    ctx->hooks.prepareLayout();
    ctx->main().Show();
    ctx->hooks.finishLayout();
  }
  // The windows go before the context whose model they draw.
  ~OffscreenTable() {
    ui.reset();
    ctx.reset();
  }
  // The model drawn into the windows, and the events that brings handled.
  void Sync() {
    ui->SyncNow();
    QCoreApplication::processEvents();
  }
};

}  // namespace tavrel::itest
