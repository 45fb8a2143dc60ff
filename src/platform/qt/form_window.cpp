#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace tavrel::platform::qt {

namespace {

const QColor kFormBack(0xF4, 0xEB, 0xD7);  // parchment
const QColor kFormEdge(0x8A, 0x5A, 0x2B);  // the frame's wood

QColor ColorOf(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QRect PixelRect(QPointF origin, const Control& c) {
  const int left = int(std::lround(origin.x() + c.Left()));
  const int top = int(std::lround(origin.y() + c.Top()));
  return QRect(left, top, int(std::lround(c.Width())), int(std::lround(c.Height())));
}

bool Painted(const Control& c) { return c.Kind() == ControlKind::Picture || c.Kind() == ControlKind::Label; }

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

// The position in UTF-16 units of character `chars` (the end when the text is shorter).
int Utf16Index(const QString& text, int chars) {
  int i = 0;
  for (int n = 0; n < chars && i < text.size(); ++n) i += text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
  return i;
}

// The character a key press types: its text, or for Backspace and Enter their codes
// (some platforms give those keys no text).
int TypedCharacter(const QKeyEvent& k) {
  const QString text = k.text();
  if (!text.isEmpty() && text.at(0).unicode() != 0) return text.at(0).unicode();
  if (k.key() == Qt::Key_Backspace) return 8;
  if (k.key() == Qt::Key_Return || k.key() == Qt::Key_Enter) return 13;
  return 0;
}

}  // namespace

int KeyCodeOf(int k) {
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return k;
  switch (k) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Space: return 32;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

int ShiftMaskOf(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int ButtonCodeOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

int ButtonsMaskOf(Qt::MouseButtons b) {
  return (b & Qt::LeftButton ? kLeftButton : 0) | (b & Qt::RightButton ? kRightButton : 0) |
         (b & Qt::MiddleButton ? 4 : 0);
}

bool FormWindow::Snapshot::operator==(const Snapshot& o) const {
  return shown == o.shown && rect == o.rect && picture == o.picture && SameRect(clip, o.clip) && SameRect(area, o.area) &&
         caption == o.caption && fore == o.fore && back == o.back && transparent == o.transparent &&
         fontSize == o.fontSize && bold == o.bold && z == o.z && alignment == o.alignment;
}

FormWindow::FormWindow(Form& form, QtPictures& pictures) : QWidget(nullptr), form_(form), pictures_(pictures) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_StaticContents);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void FormWindow::SetTextFamily(const QString& family) {
  if (family.isEmpty()) return;
  baseFont_.setFamily(family);
  setFont(baseFont_);
}

QString ChineseTextFamily() {
  const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  for (const char* wanted : {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC", "AR PL UMing CN"})
    if (families.contains(QLatin1String(wanted))) return QLatin1String(wanted);
  return families.isEmpty() ? QString() : families.front();
}

FormWindow::~FormWindow() {
  // The widgets go first, so that nothing they send on the way reaches the model.
  std::vector<QPointer<QWidget>> owned;
  for (auto& [control, w] : widgets_) owned.push_back(w);
  widgetControls_.clear();
  widgets_.clear();
  for (auto& w : owned)
    if (w) {
      w->removeEventFilter(this);
      w->disconnect();
      delete w.data();
    }
}

QWidget* FormWindow::ControlWidget(const std::string& name, int index) {
  Control* c = form_.Find(name, index);
  if (!c) return nullptr;
  auto it = widgets_.find(c);
  return it == widgets_.end() ? nullptr : it->second.data();
}

bool FormWindow::IsContainer(const Control& c) const {
  return c.Index() == -1 && c.Kind() == ControlKind::Picture && children_.count(c.Name()) > 0;
}

void FormWindow::RebuildTree() {
  children_.clear();
  for (const auto& owned : form_.Controls()) {
    Control* c = owned.get();
    const std::string& container = c->Container();
    const bool rooted = container.empty() || container == c->Name() || !form_.Find(container, -1);
    children_[rooted ? std::string() : container].push_back(c);
  }
  for (auto& [key, list] : children_)
    std::stable_sort(list.begin(), list.end(), [](const Control* a, const Control* b) { return a->Z() < b->Z(); });
}

void FormWindow::Sync() {
  if (form_.Revision() == syncedRevision_ && applied_) return;
  syncedRevision_ = form_.Revision();
  RebuildTree();
  const QRegion dirty = SyncControls();
  SyncWindow();
  if (!dirty.isEmpty()) update(dirty);
}

void FormWindow::ApplyRaise() {
  // Requests made while the window was hidden are dropped with the rest.
  if (form_.RaiseRequests() == appliedRaises_) return;
  appliedRaises_ = form_.RaiseRequests();
  if (!form_.Visible()) return;
  raise();
  activateWindow();
}

void FormWindow::SyncWindow() {
  const bool first = !applied_;
  applied_ = true;
  if (first || appliedCaption_ != form_.Caption()) {
    appliedCaption_ = form_.Caption();
    setWindowTitle(Text(appliedCaption_));
  }
  Qt::WindowFlags flags = Qt::Window;
  if (form_.Frameless()) flags |= Qt::FramelessWindowHint;
  if (form_.ShowsWithoutFocus()) flags |= Qt::WindowDoesNotAcceptFocus;
  setAttribute(Qt::WA_ShowWithoutActivating, form_.ShowsWithoutFocus());
  if (form_.Topmost()) flags |= Qt::WindowStaysOnTopHint;
  const bool flagsChanged = first || flags != appliedFlags_;
  if (flagsChanged) {
    appliedFlags_ = flags;
    setWindowFlags(flags);  // hides a shown window; shown again below
  }
  const Rect& b = form_.Bounds();
  if ((first || !SameRect(b, appliedBounds_)) && b.width > 0 && b.height > 0) {
    appliedBounds_ = b;
    applyingGeometry_ = true;
    setGeometry(int(std::lround(b.left)), int(std::lround(b.top)), int(std::lround(b.width)),
                int(std::lround(b.height)));
    applyingGeometry_ = false;
  }
  if (first || form_.Alpha() != appliedAlpha_) {
    appliedAlpha_ = form_.Alpha();
    setWindowOpacity(appliedAlpha_ / 255.0);
  }
  const auto& region = form_.Region();
  bool regionChanged = region.size() != appliedRegion_.size();
  for (std::size_t i = 0; !regionChanged && i < region.size(); ++i)
    regionChanged = !SameRect(region[i], appliedRegion_[i]);
  if (regionChanged) {
    appliedRegion_ = region;
    if (region.empty()) {
      clearMask();
    } else {
      QRegion mask;
      for (const Rect& r : region)
        mask += QRect(int(std::lround(r.left)), int(std::lround(r.top)), int(std::lround(r.width)),
                      int(std::lround(r.height)));
      setMask(mask);
    }
  }

  const bool wantMinimized = form_.State() == WindowState::Minimized;
  if (form_.Visible()) {
    if (!isVisible() || flagsChanged) {
      if (wantMinimized) showMinimized(); else show();
    } else if (wantMinimized != isMinimized()) {
      if (wantMinimized) showMinimized(); else showNormal();
    }
  } else if (isVisible()) {
    hide();
  }

  if (appliedFocus_ != form_.FocusControl()) {
    appliedFocus_ = form_.FocusControl();
    Control* c = form_.Find(appliedFocus_, -1);
    auto it = c ? widgets_.find(c) : widgets_.end();
    if (it != widgets_.end() && it->second) it->second->setFocus();
    else if (isVisible()) setFocus();
  }
}

QRegion FormWindow::SyncControls() {
  QRegion dirty;
  SyncControlsUnder(std::string(), QPointF(0, 0), QRect(0, 0, 1 << 16, 1 << 16), true, dirty);
  return dirty;
}

void FormWindow::SyncControlsUnder(const std::string& key, QPointF origin, QRect clip, bool shown, QRegion& dirty) {
  auto it = children_.find(key);
  if (it == children_.end()) return;
  for (Control* c : it->second) {
    const bool visible = shown && c->Visible();
    const QRect rect = PixelRect(origin, *c);
    if (Painted(*c)) {
      Snapshot now;
      now.shown = visible && !rect.intersected(clip).isEmpty();
      now.rect = rect.intersected(clip);
      now.picture = c->Picture();
      now.clip = c->PictureClip();
      now.area = c->PictureRect();
      now.caption = c->Caption();
      now.fore = c->ForeColor();
      now.back = c->BackColor();
      now.transparent = c->BackTransparent();
      now.fontSize = c->FontSize();
      now.bold = c->FontBold();
      now.z = c->Z();
      now.alignment = c->Alignment();
      auto [snap, inserted] = snapshots_.try_emplace(c, now);
      if (inserted) {
        if (now.shown) dirty += now.rect;
      } else if (!(snap->second == now)) {
        if (snap->second.shown) dirty += snap->second.rect;
        if (now.shown) dirty += now.rect;
        snap->second = now;
      }
    } else {
      SyncWidget(*c, rect, visible);
    }
    if (IsContainer(*c)) SyncControlsUnder(c->Name(), rect.topLeft(), rect.intersected(clip), visible, dirty);
  }
}

QWidget* FormWindow::MakeWidget(Control& c) {
  QWidget* w = nullptr;
  if (c.Kind() == ControlKind::TextBox) {
    auto* edit = new QLineEdit(this);
    edit->setFrame(false);
    connect(edit, &QLineEdit::cursorPositionChanged, this, [edit, &c](int, int now) {
      c.NoteSelStart(int(edit->text().left(now).toUcs4().size()));
    });
    connect(edit, &QLineEdit::textEdited, this, [this, &c](const QString& text) {
      c.SetText(text.toStdString());
      UiEvent e;
      e.type = UiEventType::Change;
      e.control = c.Name();
      e.index = c.Index();
      form_.Dispatch(e);
    });
    w = edit;
  } else {
    auto* list = new QListWidget(this);
    list->setFrameShape(QFrame::NoFrame);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(list, &QListWidget::currentRowChanged, this, [&c](int row) { c.SetListIndex(row); });
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this, [&c](int top) { c.SetTopIndex(top); });
    connect(list, &QListWidget::itemClicked, this, [this, &c](QListWidgetItem*) {
      UiEvent e;
      e.type = UiEventType::Click;
      e.control = c.Name();
      e.index = c.Index();
      form_.Dispatch(e);
    });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, &c](QListWidgetItem*) {
      UiEvent e;
      e.type = UiEventType::DblClick;
      e.control = c.Name();
      e.index = c.Index();
      form_.Dispatch(e);
    });
    w = list;
  }
  w->installEventFilter(this);
  widgetControls_[w] = &c;
  widgets_[&c] = w;
  return w;
}

void FormWindow::SyncWidget(Control& c, const QRect& rect, bool shown) {
  auto it = widgets_.find(&c);
  QWidget* w = it == widgets_.end() ? nullptr : it->second.data();
  if (!w) {
    if (!shown) return;  // created when first shown
    w = MakeWidget(c);
  }
  if (w->geometry() != rect) w->setGeometry(rect);
  w->setEnabled(c.Enabled());
  QFont f = baseFont_;
  f.setPointSizeF(c.FontSize() > 0 ? c.FontSize() : 9);
  f.setBold(c.FontBold());
  if (w->font() != f) w->setFont(f);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Text, ColorOf(c.ForeColor()));
  pal.setColor(QPalette::Base, ColorOf(c.BackColor()));
  if (pal != w->palette()) w->setPalette(pal);
  const QString tip = Text(c.ToolTip());
  if (w->toolTip() != tip) w->setToolTip(tip);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    const QString text = Text(c.Text());
    const int caret = c.SelStart();  // a new text moves the edit's caret, and it reports that back
    if (edit->text() != text) edit->setText(text);
    auto& applied = caretRequests_[&c];
    if (applied != c.SelStartRequests()) {
      applied = c.SelStartRequests();
      edit->setCursorPosition(Utf16Index(text, caret));
    }
  } else if (auto* list = qobject_cast<QListWidget*>(w)) {
    QSignalBlocker block(list);
    QSignalBlocker blockScroll(list->verticalScrollBar());
    auto& synced = syncedItems_[&c];
    if (synced != c.Items()) {
      list->clear();
      for (const std::string& item : c.Items()) list->addItem(Text(item));
      synced = c.Items();
    }
    if (list->currentRow() != c.ListIndex()) list->setCurrentRow(c.ListIndex());
    if (c.ListCount() > 0 && list->verticalScrollBar()->value() != c.TopIndex())
      list->verticalScrollBar()->setValue(c.TopIndex());
  }
  if (w->isVisible() != shown) w->setVisible(shown);
}

void FormWindow::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  // Uncovered form area: the dialog colour (the main window is covered by its skin and table).
  p.fillRect(e->rect(), kFormBack);
  if (form_.Frameless() && !rect().isEmpty()) {
    p.setPen(QPen(kFormEdge, 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
  }
  PaintLevel(p, std::string(), QPointF(0, 0), e->rect());
}

void FormWindow::PaintLevel(QPainter& p, const std::string& key, QPointF origin, const QRect& clip) {
  auto it = children_.find(key);
  if (it == children_.end()) return;
  for (const Control* c : it->second) {
    if (!c->Visible()) continue;
    const QRect rect = PixelRect(origin, *c);
    const QRect visible = rect.intersected(clip);
    if (visible.isEmpty()) continue;
    if (Painted(*c)) PaintControl(p, *c, rect);
    if (IsContainer(*c)) {
      p.save();
      p.setClipRect(visible);
      PaintLevel(p, c->Name(), rect.topLeft(), visible);
      p.restore();
    }
  }
}

void FormWindow::PaintControl(QPainter& p, const Control& c, const QRect& rect) {
  if (c.Kind() == ControlKind::Picture) {
    const Rect& area = c.PictureRect();
    const QRect target = area.width > 0 && area.height > 0
                             ? QRect(rect.left() + int(std::lround(area.left)), rect.top() + int(std::lround(area.top)),
                                     int(std::lround(area.width)), int(std::lround(area.height)))
                             : rect;
    if (!c.BackTransparent()) p.fillRect(rect, ColorOf(c.BackColor()));
    // On a high-density screen the picture has more pixels for the same logical rectangle.
    const double ratio = p.device() ? p.device()->devicePixelRatio() : 1.0;
    if (const QPixmap* pm = pictures_.Scaled(c.Picture(), c.PictureClip(), target.width(), target.height(), ratio))
      p.drawPixmap(target.topLeft(), *pm);
    return;
  }
  if (!c.BackTransparent()) p.fillRect(rect, ColorOf(c.BackColor()));
  if (c.Caption().empty()) return;
  QFont f = baseFont_;
  f.setPointSizeF(c.FontSize() > 0 ? c.FontSize() : 9);
  f.setBold(c.FontBold());
  p.setFont(f);
  p.setPen(ColorOf(c.ForeColor()));
  int align = Qt::AlignTop | Qt::TextWrapAnywhere;
  align |= c.Alignment() == 1 ? Qt::AlignRight : c.Alignment() == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  p.drawText(rect, align, Text(c.Caption()));
}

QImage FormWindow::Render() {
  Sync();
  const qreal ratio = devicePixelRatio();
  QImage image(size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(kFormBack);
  QPainter p(&image);
  PaintLevel(p, std::string(), QPointF(0, 0), rect());
  p.end();
  // Real widgets (chat line, lists) over the painted controls.
  for (auto& [control, w] : widgets_)
    if (w && w->isVisible()) w->render(&image, w->geometry().topLeft());
  return image;
}

FormWindow::Hit FormWindow::HitIn(const std::string& key, QPointF origin, QPointF pos) {
  auto it = children_.find(key);
  if (it == children_.end()) return {};
  const auto& list = it->second;
  for (auto c = list.rbegin(); c != list.rend(); ++c) {
    Control* control = *c;
    if (!control->Visible() || !Painted(*control)) continue;
    const QRectF rect(origin.x() + control->Left(), origin.y() + control->Top(), control->Width(), control->Height());
    if (!rect.contains(pos)) continue;
    if (IsContainer(*control)) {
      Hit inner = HitIn(control->Name(), rect.topLeft(), pos);
      // Disabled windowless controls leave their input to the container.
      if (inner.control && inner.control->Enabled()) return inner;
    }
    if (!control->Enabled()) return {};
    return {control, pos - rect.topLeft()};
  }
  return {};
}

FormWindow::Hit FormWindow::HitTest(QPointF pos) {
  Hit h = HitIn(std::string(), QPointF(0, 0), pos);
  if (!h.control) h.local = pos;
  return h;
}

QPointF FormWindow::OriginOf(const Control& c) const {
  QPointF origin(0, 0);
  const Control* at = &c;
  for (int depth = 0; depth < 8 && !at->Container().empty(); ++depth) {
    const Control* parent = form_.Find(at->Container(), -1);
    if (!parent || parent == at) break;
    origin += QPointF(parent->Left(), parent->Top());
    at = parent;
  }
  return origin;
}

void FormWindow::Send(UiEventType type, Control* c, QPointF local, int button, int shift, int key) {
  UiEvent e;
  e.type = type;
  if (c) {
    e.control = c->Name();
    e.index = c->Index();
  }
  e.button = button;
  e.shift = shift;
  e.x = local.x();
  e.y = local.y();
  e.key = key;
  form_.Dispatch(e);
}

void FormWindow::SendKey(UiEventType type, const std::string& control, int index, int key, int shift) {
  UiEvent e;
  e.type = type;
  e.control = control;
  e.index = index;
  e.key = key;
  e.shift = shift;
  form_.Dispatch(e);
}

void FormWindow::UpdateCursor(Control* c) {
  int pointer = kPointerDefault;
  for (const Control* at = c; at && pointer == kPointerDefault;) {
    pointer = at->MousePointer();
    const Control* parent = at->Container().empty() ? nullptr : form_.Find(at->Container(), -1);
    at = parent == at ? nullptr : parent;
  }
  if (pointer == cursorShape_) return;
  cursorShape_ = pointer;
  switch (pointer) {
    case kPointerCustomHand: setCursor(handCursor_); break;
    case kPointerSizeAll: setCursor(Qt::SizeAllCursor); break;
    case 11: setCursor(Qt::WaitCursor); break;
    default: setCursor(Qt::ArrowCursor); break;
  }
}

void FormWindow::FocusFromClick(Control* c) {
  // A click on the table surface (or anything on it) gives the surface the focus.
  const Control* top = c;
  while (top && !top->Container().empty()) {
    const Control* parent = form_.Find(top->Container(), -1);
    if (!parent || parent == top) break;
    top = parent;
  }
  if (top && IsContainer(*top)) {
    form_.SetFocus(top->Name());
    appliedFocus_ = top->Name();
    setFocus();
  }
}

void FormWindow::mousePressEvent(QMouseEvent* e) {
  Hit h = HitTest(e->position());
  capture_ = h.control;
  captureForm_ = h.control == nullptr;
  pressedDouble_ = false;
  FocusFromClick(h.control);
  const std::uint64_t moves = form_.SystemMoveRequests();
  Send(UiEventType::MouseDown, h.control, h.local, ButtonCodeOf(e->button()), ShiftMaskOf(e->modifiers()));
  if (form_.SystemMoveRequests() != moves) {
    // Let the window manager move the window; without one, follow the mouse ourselves.
    QWindow* handle = windowHandle();
    if (!handle || !handle->startSystemMove()) {
      dragging_ = true;
      dragStart_ = e->globalPosition();
      dragOrigin_ = form_.Bounds();
    }
    capture_ = nullptr;
    captureForm_ = false;
  }
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* e) {
  Hit h = HitTest(e->position());
  capture_ = h.control;
  captureForm_ = h.control == nullptr;
  pressedDouble_ = true;
  Send(UiEventType::DblClick, h.control, h.local, ButtonCodeOf(e->button()), ShiftMaskOf(e->modifiers()));
}

void FormWindow::mouseReleaseEvent(QMouseEvent* e) {
  dragging_ = false;
  Control* target = capture_;
  const bool toForm = captureForm_;
  capture_ = nullptr;
  captureForm_ = false;
  if (!target && !toForm) return;
  const QPointF local = target ? e->position() - OriginOf(*target) - QPointF(target->Left(), target->Top())
                               : e->position();
  const int button = ButtonCodeOf(e->button()), shift = ShiftMaskOf(e->modifiers());
  Send(UiEventType::MouseUp, target, local, button, shift);
  const bool inside = target ? Rect{0, 0, target->Width(), target->Height()}.Contains(local.x(), local.y())
                             : HitTest(e->position()).control == nullptr;
  if (inside && !pressedDouble_ && e->button() == Qt::LeftButton) Send(UiEventType::Click, target, local, button, shift);
  pressedDouble_ = false;
}

void FormWindow::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_) {
    const QPointF delta = e->globalPosition() - dragStart_;
    form_.Move(dragOrigin_.left + delta.x(), dragOrigin_.top + delta.y());
    return;
  }
  Control* target = capture_;
  QPointF local;
  if (target) {
    local = e->position() - OriginOf(*target) - QPointF(target->Left(), target->Top());
  } else if (captureForm_) {
    local = e->position();
  } else {
    Hit h = HitTest(e->position());
    target = h.control;
    local = h.local;
  }
  UpdateCursor(target);
  Send(UiEventType::MouseMove, target, local, ButtonsMaskOf(e->buttons()), ShiftMaskOf(e->modifiers()));
}

void FormWindow::keyPressEvent(QKeyEvent* e) {
  Control* focus = form_.Find(form_.FocusControl(), -1);
  const std::string target = focus && Painted(*focus) ? focus->Name() : std::string();
  const int shift = ShiftMaskOf(e->modifiers());
  if (const int key = KeyCodeOf(e->key())) SendKey(UiEventType::KeyDown, target, -1, key, shift);
  const QString text = e->text();
  if (!text.isEmpty() && text.at(0).unicode() != 0) SendKey(UiEventType::KeyPress, target, -1, text.at(0).unicode(), shift);
}

void FormWindow::keyReleaseEvent(QKeyEvent* e) {
  Control* focus = form_.Find(form_.FocusControl(), -1);
  const std::string target = focus && Painted(*focus) ? focus->Name() : std::string();
  if (const int key = KeyCodeOf(e->key())) SendKey(UiEventType::KeyUp, target, -1, key, ShiftMaskOf(e->modifiers()));
}

bool FormWindow::eventFilter(QObject* watched, QEvent* e) {
  auto it = widgetControls_.find(watched);
  if (it == widgetControls_.end()) return QWidget::eventFilter(watched, e);
  Control& c = *it->second;
  switch (e->type()) {
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(e);
      const int shift = ShiftMaskOf(k->modifiers());
      if (const int key = KeyCodeOf(k->key())) SendKey(UiEventType::KeyDown, c.Name(), c.Index(), key, shift);
      if (const int typed = TypedCharacter(*k)) SendKey(UiEventType::KeyPress, c.Name(), c.Index(), typed, shift);
      // Enter sends; the line edit itself has nothing to do with it.
      return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    }
    case QEvent::KeyRelease: {
      auto* k = static_cast<QKeyEvent*>(e);
      if (const int key = KeyCodeOf(k->key()))
        SendKey(UiEventType::KeyUp, c.Name(), c.Index(), key, ShiftMaskOf(k->modifiers()));
      return false;
    }
    case QEvent::FocusIn:
      form_.SetFocus(c.Name());
      appliedFocus_ = c.Name();
      SendKey(UiEventType::GotFocus, c.Name(), c.Index(), 0, 0);
      return false;
    case QEvent::FocusOut:
      SendKey(UiEventType::LostFocus, c.Name(), c.Index(), 0, 0);
      return false;
    default:
      return QWidget::eventFilter(watched, e);
  }
}

bool FormWindow::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    Hit h = HitTest(help->pos());
    if (h.control && !h.control->ToolTip().empty())
      QToolTip::showText(help->globalPos(), Text(h.control->ToolTip()), this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(e);
}

void FormWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange) return;
  // Only minimise and restore count: activation changes the window state too.
  const bool wasMinimized = static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized;
  if (wasMinimized == isMinimized()) return;
  form_.SetState(isMinimized() ? WindowState::Minimized : WindowState::Normal);
  UiEvent resize;
  resize.type = UiEventType::Resize;
  form_.Dispatch(resize);
}

void FormWindow::closeEvent(QCloseEvent* e) {
  e->ignore();  // the model decides; Sync hides the window
  if (form_.HasHandler("", UiEventType::Close)) {
    UiEvent close;
    close.type = UiEventType::Close;
    form_.Dispatch(close);
  } else if (onCloseWithoutHandler) {
    onCloseWithoutHandler();
  } else {
    form_.Hide();
  }
}

void FormWindow::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  if (applyingGeometry_ || !isVisible()) return;
  const QRect g = geometry();
  form_.Move(g.x(), g.y());
  appliedBounds_ = form_.Bounds();
}

void FormWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (applyingGeometry_ || !isVisible() || isMinimized()) return;
  const QRect g = geometry();
  if (form_.Bounds().width > 0 && form_.Bounds().height > 0) return;  // the model's size stands
  form_.Move(g.x(), g.y(), g.width(), g.height());
  appliedBounds_ = form_.Bounds();
}

}  // namespace tavrel::platform::qt
