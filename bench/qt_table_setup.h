#pragma once
// A fully laid-out table on the Qt backend for the drawing benchmarks:
// start-up layout, the wall face down, a row and a discard per seat shown.
#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <memory>

#include "app/client_context.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_ui.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::bench {

inline QString PackFolder() {
  if (const char* dir = std::getenv("TAVREL_PICTURES")) return QString::fromLocal8Bit(dir);
  return QCoreApplication::applicationDirPath() + QStringLiteral("/pictures");
}

struct QtTable {
  platform::qt::QtPlatform platform;
  platform::qt::QtPictures* pictures = nullptr;
  std::unique_ptr<ClientContext> ctx;
  std::unique_ptr<platform::qt::QtUi> ui;

  QtTable() {
    auto owned = std::make_unique<platform::qt::QtPictures>(PackFolder());
    pictures = owned.get();
    platform.SetPictures(std::move(owned));
    ctx = std::make_unique<ClientContext>(platform);
    InstallParts(*ctx);
    ui = std::make_unique<platform::qt::QtUi>(ctx->ui, *pictures, kMainForm);
    ctx->hooks.prepareLayout();
    ctx->main().Show();
    ctx->hooks.finishLayout();
    view::ResetLayout(*ctx);
    const int backOfSide[4] = {8, 44, 8, 116};
    for (int i = 0; i < 84; ++i) view::LoadTilePicture(*ctx, i, backOfSide[i < 22 ? 0 : i < 42 ? 1 : i < 64 ? 2 : 3]);
    auto& own = ctx->table.custom[0];
    for (int k = 0; k < 13; ++k) {
      view::TileImage(*ctx, k).Move(own.handX + 48 * k, own.handY, 48, 78);
      view::LoadTilePicture(*ctx, k, view::TilePictureIndex(0x81 + k % 9, 4));
    }
    for (int r = 0; r < 4; ++r) {
      view::TileImage(*ctx, 13 + r).Move(ctx->table.custom[r].discardX, ctx->table.custom[r].discardY,
                                         ctx->view.SeatTileWidth[r], ctx->view.SeatTileHeight[r]);
      view::LoadTilePicture(*ctx, 13 + r, view::TilePictureIndex(0x41 + r, r));
    }
    // Every other control shown too, so that the repaint draws all of them.
    for (const auto& c : ctx->main().Controls()) c->SetVisible(true);
    ui->SyncNow();
    // Let the window be exposed, so that repaints reach its backing store.
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }
  ~QtTable() {
    ui.reset();
    ctx.reset();
  }
};

inline int RunWithQt(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("TAVREL_SCREEN")) qputenv("TAVREL_SCREEN", "1280x1024");
  QApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}

}  // namespace tavrel::bench
