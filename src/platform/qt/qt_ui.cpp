#include "platform/qt/qt_ui.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

namespace tavrel::platform::qt {

QtUi::QtUi(Ui& ui, QtPictures& pictures, std::string mainForm)
    : ui_(ui), pictures_(pictures), mainForm_(std::move(mainForm)), textFamily_(ChineseTextFamily()) {
  for (auto& [name, form] : ui_.Forms()) Attach(*form);
  ui_.onFormCreated = [this](Form& form) { Attach(form); };
  // Redraw once per turn of the event loop, just before it waits: no polling timer.
  if (auto* dispatcher = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread()))
    blockHook_ = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &QtUi::ScheduleSync);
}

QtUi::~QtUi() {
  disconnect(blockHook_);
  ui_.onFormCreated = nullptr;
  windows_.clear();
}

void QtUi::Attach(Form& form) {
  auto window = std::make_unique<FormWindow>(form, pictures_);
  window->SetHandCursor(handCursor_);
  window->SetTextFamily(textFamily_);
  if (form.Name() == mainForm_)
    window->onCloseWithoutHandler = [this] {
      if (onMainClosed) onMainClosed();
    };
  windows_[form.Name()] = std::move(window);
}

void QtUi::ScheduleSync() {
  // The dispatcher is preparing its wait here: only look, and post the work, so
  // that no window is created or shown from inside the wait's set-up.
  if (syncPosted_) return;
  bool changed = false;
  for (auto& [name, window] : windows_) changed = changed || window->NeedsSync();
  if (!changed) return;
  syncPosted_ = true;
  QMetaObject::invokeMethod(this, &QtUi::SyncNow, Qt::QueuedConnection);
}

void QtUi::SyncNow() {
  syncPosted_ = false;
  for (auto& [name, window] : windows_) window->Sync();
  for (auto& [name, window] : windows_) window->ApplyRaise();
}

FormWindow* QtUi::Window(const std::string& formName) {
  auto it = windows_.find(formName);
  return it == windows_.end() ? nullptr : it->second.get();
}

void QtUi::SetHandPointer(int pictureId, int hotX, int hotY) {
  if (const QPixmap* pm = pictures_.Pixmap(pictureId)) handCursor_ = QCursor(*pm, hotX, hotY);
  for (auto& [name, window] : windows_) window->SetHandCursor(handCursor_);
}

}  // namespace tavrel::platform::qt
