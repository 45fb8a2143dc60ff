#pragma once
// The Qt drawing of the whole control model: one FormWindow per Form, kept in
// step with the model whenever the event loop is about to wait, so idle costs
// nothing and every handler's changes show before the next wait.
#include <QMetaObject>
#include <QObject>
#include <map>
#include <memory>
#include <string>

#include "platform/controls.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_pictures.h"

namespace tavrel::platform::qt {

class QtUi final : public QObject {
  Q_OBJECT
 public:
  // mainForm: the form whose closing (without a Close handler) ends the program via onMainClosed.
  QtUi(Ui& ui, QtPictures& pictures, std::string mainForm);
  ~QtUi() override;

  void SyncNow();
  FormWindow* Window(const std::string& formName);
  // The custom hand pointer (99) from a picture of the pack.
  void SetHandPointer(int pictureId, int hotX, int hotY);
  std::function<void()> onMainClosed;

 private:
  void Attach(Form& form);
  void ScheduleSync();

  Ui& ui_;
  QtPictures& pictures_;
  std::string mainForm_;
  std::map<std::string, std::unique_ptr<FormWindow>> windows_;
  QMetaObject::Connection blockHook_;
  bool syncPosted_ = false;
  QCursor handCursor_{Qt::PointingHandCursor};
  QString textFamily_;
};

}  // namespace tavrel::platform::qt
