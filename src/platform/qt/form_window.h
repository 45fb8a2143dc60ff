#pragma once
// One top-level window drawing one Form of the control model. Pictures and
// labels are painted in z-order, each container (the table surface) clipping
// its children; lists and text boxes are real Qt widgets. Input goes back to the
// model through Form::Dispatch. The model is the truth: Sync() applies it.
#include <QCursor>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls.h"
#include "platform/qt/qt_pictures.h"

class QLineEdit;
class QListWidget;

namespace tavrel::platform::qt {

class FormWindow final : public QWidget {
  Q_OBJECT
 public:
  FormWindow(Form& form, QtPictures& pictures);
  ~FormWindow() override;

  Form& form() { return form_; }
  // Applies the model when its revision moved; repaints only what changed.
  void Sync();
  // Brings the window in front when the model asked for it since the last time.
  // Called after every window has been synced: a window that another one's sync
  // re-shows (its flags changed) would otherwise cover the one asked to come forward.
  void ApplyRaise();
  bool NeedsSync() const { return !applied_ || form_.Revision() != syncedRevision_; }
  // The whole form as it is drawn now (screenshots, tests).
  QImage Render();
  // Runs when the window system asks to close a form that has no Close handler.
  std::function<void()> onCloseWithoutHandler;
  void SetHandCursor(const QCursor& cursor) { handCursor_ = cursor; }
  void SetTextFamily(const QString& family);
  // The real widget of a list or text box control, if created.
  QWidget* ControlWidget(const std::string& name, int index = -1);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  struct Hit {
    Control* control = nullptr;  // nullptr: the form itself
    QPointF local;
  };
  // What a painted control looked like when last drawn, to find what to repaint.
  struct Snapshot {
    bool shown = false;
    QRect rect;
    int picture = 0;
    Rect clip, area;
    std::string caption;
    std::uint32_t fore = 0, back = 0;
    bool transparent = true;
    double fontSize = 0;
    bool bold = false;
    int z = 0, alignment = 0;
    bool operator==(const Snapshot& o) const;
  };

  void RebuildTree();
  void SyncWindow();
  QRegion SyncControls();
  void SyncControlsUnder(const std::string& key, QPointF origin, QRect clip, bool shown, QRegion& dirty);
  void SyncWidget(Control& c, const QRect& rect, bool shown);
  QWidget* MakeWidget(Control& c);
  void PaintLevel(QPainter& p, const std::string& key, QPointF origin, const QRect& clip);
  void PaintControl(QPainter& p, const Control& c, const QRect& rect);
  bool IsContainer(const Control& c) const;
  Hit HitTest(QPointF pos);
  Hit HitIn(const std::string& key, QPointF origin, QPointF pos);
  QPointF OriginOf(const Control& c) const;
  void Send(UiEventType type, Control* c, QPointF local, int button, int shift, int key = 0);
  void SendKey(UiEventType type, const std::string& control, int index, int key, int shift);
  void UpdateCursor(Control* c);
  void FocusFromClick(Control* c);

  Form& form_;
  QtPictures& pictures_;
  std::uint64_t syncedRevision_ = ~std::uint64_t{0};
  std::map<std::string, std::vector<Control*>> children_;  // container name -> controls by z
  std::unordered_map<const Control*, Snapshot> snapshots_;
  std::unordered_map<const Control*, QPointer<QWidget>> widgets_;
  std::unordered_map<const QObject*, Control*> widgetControls_;
  std::unordered_map<const Control*, std::vector<std::string>> syncedItems_;
  std::unordered_map<const Control*, std::uint64_t> caretRequests_;
  bool applied_ = false;
  Rect appliedBounds_;
  Qt::WindowFlags appliedFlags_;
  int appliedAlpha_ = 255;
  std::vector<Rect> appliedRegion_;
  std::string appliedFocus_;
  std::string appliedCaption_;
  std::uint64_t appliedRaises_ = 0;
  bool applyingGeometry_ = false;

  Control* capture_ = nullptr;
  bool captureForm_ = false;
  bool pressedDouble_ = false;
  bool dragging_ = false;
  QPointF dragStart_;
  Rect dragOrigin_;
  int cursorShape_ = -1;
  QCursor handCursor_{Qt::PointingHandCursor};
  QFont baseFont_;
};

// A font family that has the Simplified Chinese characters (looked up once: it is slow).
QString ChineseTextFamily();

// Key codes as the table client numbers them (F1 112, Esc 27, Enter 13, letters upper-case).
int KeyCodeOf(int qtKey);
int ShiftMaskOf(Qt::KeyboardModifiers m);
int ButtonCodeOf(Qt::MouseButton b);
int ButtonsMaskOf(Qt::MouseButtons b);

}  // namespace tavrel::platform::qt
