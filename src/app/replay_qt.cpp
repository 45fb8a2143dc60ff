// The replay program: a table client on a time-scaled Qt platform, fed from a
// debug log, with the keys that steer the replay.
#include <QApplication>
#include <QKeyEvent>
#include <QObject>
#include <cstdio>

#include "app/client_context.h"
#include "app/qt_backend.h"
#include "app/replay.h"
#include "platform/qt/qt_platform.h"
#include "platform/scaled_platform.h"

namespace tavrel::app {

namespace {

// Space pauses, the right arrow steps one packet, + and - change the speed. These
// keys are the replay's: the table never sees them.
class ReplayKeys final : public QObject {
 public:
  explicit ReplayKeys(Replay& replay) : replay_(replay) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Space: replay_.TogglePause(); return true;
      case Qt::Key_Right: replay_.Step(); return true;
      case Qt::Key_Plus:
      case Qt::Key_Equal: replay_.Faster(); return true;
      case Qt::Key_Minus:
      case Qt::Key_Underscore: replay_.Slower(); return true;
      default: return QObject::eventFilter(watched, event);
    }
  }

 private:
  Replay& replay_;
};

}  // namespace

int RunReplay(QApplication& app, const ReplayOptions& options) {
  platform::qt::QtPlatform inner;
  SetUpPictures(inner);
  platform::ScaledPlatform platform(inner);
  ClientContext ctx(platform);
  InstallParts(ctx);
  AttachWindows(ctx);
  ctx.ui.onKindMismatch = [](const std::string& form, const platform::KindMismatch& m) {
    std::fprintf(stderr, "tavrelmj: %s %s\n", kKindMismatchMark, platform::DescribeMismatch(form, m).c_str());
  };
  Replay replay(ctx, platform, options);
  replay.onMessage = [](const std::string& m) {
    std::fprintf(stderr, "tavrelmj: %s\n", m.c_str());
    std::fflush(stderr);
  };
  ReplayKeys keys(replay);
  app.installEventFilter(&keys);
  replay.Start();
  const int rc = inner.Ending() ? 0 : app.exec();
  app.removeEventFilter(&keys);
  return inner.Ending() ? inner.ExitCode() : rc;
}

}  // namespace tavrel::app
