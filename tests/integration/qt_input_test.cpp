// Input through the Qt windows back into the control model, offscreen: the
// control under the pointer gets the event with its own coordinates, disabled
// pictures leave it to the table, the frame's wood lets the pointer through to
// the window (so a lit title button goes out), keys carry the client's key
// codes, the title strip drags the window, and the chat line and lists are
// real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/client_context.h"
#include "offscreen_table.h"
#include "view/layout.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"

namespace tavrel {
namespace {

using platform::UiEvent;
using platform::UiEventType;

class QtInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("TAVREL_SCREEN", "1280x1024", 1);
    static int argc = 1;
    static char name[] = "qt_input_test";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }

  void SetUp() override {
    table_ = std::make_unique<itest::OffscreenTable>();
    ctx_ = table_->ctx.get();
    ui_ = table_->ui.get();
    view::ResetLayout(*ctx_);
    for (const char* control : {"MJ_Image", "Pic1", "Chat"})
      for (auto type : {UiEventType::MouseDown, UiEventType::KeyDown, UiEventType::KeyPress, UiEventType::Change})
        ctx_->main().On(control, type, [this](const UiEvent& e) { events_.push_back(e); });
    Sync();
  }
  void TearDown() override { table_.reset(); }

  void Sync() {
    ui_->SyncNow();
    QCoreApplication::processEvents();
  }
  platform::qt::FormWindow& window() { return *ui_->Window(kMainForm); }
  platform::Control& control(const char* name, int index = -1) { return *ctx_->main().Find(name, index); }
  // Window coordinates of a point inside a control on the table surface.
  QPointF OnTable(const platform::Control& c, double dx, double dy) {
    const auto& surface = control("Pic1");
    return {surface.Left() + c.Left() + dx, surface.Top() + c.Top() + dy};
  }
  void Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, at, window().mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window(), &e);
  }
  void ClickAt(QPointF at) {
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
  }

  static QApplication* app_;
  std::unique_ptr<itest::OffscreenTable> table_;
  ClientContext* ctx_ = nullptr;
  platform::qt::QtUi* ui_ = nullptr;
  std::vector<UiEvent> events_;
};
QApplication* QtInput::app_ = nullptr;

TEST_F(QtInput, TheTileUnderThePointerGetsItsOwnCoordinates) {
  // Two overlapping tiles: the one in front takes the press.
  auto& back = view::TileImage(*ctx_, 30);
  auto& front = view::TileImage(*ctx_, 31);
  back.Move(400, 300, 36, 50);
  front.Move(420, 310, 36, 50);
  back.SetVisible(true);
  front.SetVisible(true);
  front.BringToFront();
  Sync();
  Mouse(QEvent::MouseButtonPress, OnTable(front, 5, 7), Qt::RightButton, Qt::RightButton);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].control, "MJ_Image");
  EXPECT_EQ(events_[0].index, 31);
  EXPECT_EQ(events_[0].button, platform::kRightButton);
  EXPECT_DOUBLE_EQ(events_[0].x, 5);
  EXPECT_DOUBLE_EQ(events_[0].y, 7);
  // Where only the back tile lies, it takes the press; hidden tiles take nothing.
  Mouse(QEvent::MouseButtonPress, OnTable(back, 3, 3), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(events_.back().index, 30);
  back.SetVisible(false);
  Sync();
  Mouse(QEvent::MouseButtonPress, OnTable(back, 3, 3), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(events_.back().control, "Pic1");
  EXPECT_DOUBLE_EQ(events_.back().x, 403);
}

TEST_F(QtInput, DisabledPicturesLeaveTheEventToTheTable) {
  auto& offer = control("Operation", 0);
  offer.SetVisible(true);
  ASSERT_FALSE(offer.Enabled());
  Sync();
  Mouse(QEvent::MouseButtonPress, OnTable(offer, 10, 10), Qt::RightButton, Qt::RightButton);
  ASSERT_FALSE(events_.empty());
  EXPECT_EQ(events_.back().control, "Pic1");
  EXPECT_DOUBLE_EQ(events_.back().x, offer.Left() + 10);
}

TEST_F(QtInput, ButtonsHoverAndClick) {
  auto& settings = control("AnNiu", 3);
  Mouse(QEvent::MouseMove, OnTable(settings, 20, 10), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(settings.Picture(), 110);
  EXPECT_EQ(settings.ToolTip(), "游戏的基本设置");
  Mouse(QEvent::MouseMove, QPointF(520, 400), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(settings.Picture(), 109);

  ctx_->ui.form("frmExit").Move(0, 0, 300, 140);
  ClickAt(OnTable(control("AnNiu", 8), 30, 15));
  EXPECT_TRUE(ctx_->ui.form("frmExit").Visible());
  // Released outside the button: no click.
  Mouse(QEvent::MouseButtonPress, OnTable(control("AnNiu", 8), 30, 15), Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, QPointF(520, 400), Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(ctx_->ui.form("frmExit").Visible());
  ClickAt(QPointF(control("ImgClose", 0).Left() + 5, control("ImgClose", 0).Top() + 5));
  EXPECT_FALSE(ctx_->ui.form("frmExit").Visible());
}

TEST_F(QtInput, LeavingATitleButtonOverTheFrameTurnsItBack) {
  // Window points around the title buttons: the frame's wood above, beside and
  // below them, the gap between them, the window icon, and the table just below.
  const auto& close = control("ImgClose", 0);
  const auto& min = control("ImgMin", 0);
  const double closeMid = close.Left() + close.Width() / 2, minMid = min.Left() + min.Width() / 2;
  const double below = close.Top() + close.Height() + 1;  // still on the frame's top strip
  const struct {
    const char* what;
    const char* button;
    QPointF to;
  } cases[] = {
      {"close, up", "ImgClose", {closeMid, 0.5}},
      {"close, right", "ImgClose", {close.Left() + close.Width() + 2, close.Top() + 8}},
      {"close, down", "ImgClose", {closeMid, below}},
      {"close, left between the buttons", "ImgClose", {close.Left() - 1, close.Top() + 8}},
      {"close, onto the table", "ImgClose", {closeMid, control("Pic1").Top() + 3}},
      {"minimise, up", "ImgMin", {minMid, 0.5}},
      {"minimise, down", "ImgMin", {minMid, below}},
      {"minimise, right between the buttons", "ImgMin", {min.Left() + min.Width() + 1, min.Top() + 8}},
      {"minimise, far left over the icon", "ImgMin", {10, 10}},
  };
  const int normal[2] = {view::kPicCloseNormal, view::kPicMinimiseNormal};
  for (const auto& c : cases) {
    const auto& button = control(c.button, 0);
    Mouse(QEvent::MouseMove, QPointF(button.Left() + 11, button.Top() + 8), Qt::NoButton, Qt::NoButton);
    ASSERT_FALSE(ctx_->view.TitleButtonsNormal) << c.what;
    ASSERT_EQ(button.Picture(), std::string(c.button) == "ImgClose" ? view::kPicCloseHover : view::kPicMinimiseHover);
    Mouse(QEvent::MouseMove, c.to, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(ctx_->view.TitleButtonsNormal) << c.what;
    EXPECT_EQ(close.Picture(), normal[0]) << c.what;
    EXPECT_EQ(min.Picture(), normal[1]) << c.what;
  }
}

TEST_F(QtInput, KeysOnTheTableCarryTheClientsCodes) {
  const struct {
    int qtKey;
    QString text;
    int code;
  } cases[] = {{Qt::Key_F1, {}, 112}, {Qt::Key_Escape, QStringLiteral("\x1b"), 27}, {Qt::Key_Return, QStringLiteral("\r"), 13},
               {Qt::Key_Backspace, QStringLiteral("\b"), 8}, {Qt::Key_Alt, {}, 18}, {Qt::Key_C, QStringLiteral("c"), 67}};
  for (const auto& c : cases) {
    events_.clear();
    Key(&window(), c.qtKey, c.text);
    ASSERT_FALSE(events_.empty()) << c.code;
    EXPECT_EQ(events_[0].type, UiEventType::KeyDown);
    EXPECT_EQ(events_[0].control, "Pic1");
    EXPECT_EQ(events_[0].key, c.code);
    if (!c.text.isEmpty()) {
      ASSERT_EQ(events_.size(), 2u);
      EXPECT_EQ(events_[1].type, UiEventType::KeyPress);
      EXPECT_EQ(events_[1].key, c.text.at(0).unicode());
    }
  }
}

TEST_F(QtInput, TheChatLineAndTheListsAreRealWidgets) {
  auto* chat = qobject_cast<QLineEdit*>(window().ControlWidget("Chat"));
  ASSERT_NE(chat, nullptr);
  Key(chat, Qt::Key_A, QStringLiteral("a"));
  Key(chat, Qt::Key_B, QStringLiteral("b"));
  EXPECT_EQ(control("Chat").Text(), "ab");
  int changes = 0, enters = 0;
  for (const auto& e : events_) {
    changes += e.type == UiEventType::Change;
    enters += e.type == UiEventType::KeyPress && e.key == 13;
  }
  EXPECT_EQ(changes, 2);
  Key(chat, Qt::Key_Return, QStringLiteral("\r"));
  for (const auto& e : events_) enters += e.type == UiEventType::KeyPress && e.key == 13 && e.control == "Chat";
  EXPECT_EQ(enters, 1);
  // The model's text wins.
  control("Chat").SetText("你好");
  Sync();
  EXPECT_EQ(chat->text(), QStringLiteral("你好"));

  control("Sysmsg", 0).AddItem("连接服务器成功！");
  control("Sysmsg", 0).AddItem("第二行");
  Sync();
  auto* list = qobject_cast<QListWidget*>(window().ControlWidget("Sysmsg", 0));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("第二行"));
  control("Sysmsg", 0).SetVisible(false);
  Sync();
  EXPECT_FALSE(list->isVisible());
}

TEST_F(QtInput, TheTitleStripDragsTheWindow) {
  const auto& strip = control("LbMove");
  const QPointF at(strip.Left() + 100, strip.Top() + 5);
  const auto before = ctx_->main().Bounds();
  const auto moves = ctx_->main().SystemMoveRequests();
  Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(ctx_->main().SystemMoveRequests(), moves + 1);
  // Without a window manager the window follows the mouse itself.
  Mouse(QEvent::MouseMove, at + QPointF(30, 10), Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, at + QPointF(30, 10), Qt::LeftButton, Qt::NoButton);
  Sync();
  if (ctx_->main().Bounds().left == before.left) GTEST_SKIP() << "the window system moved the window itself";
  EXPECT_EQ(ctx_->main().Bounds().left, before.left + 30);
  EXPECT_EQ(ctx_->main().Bounds().top, before.top + 10);
  EXPECT_EQ(window().geometry().topLeft(), QPoint(int(before.left) + 30, int(before.top) + 10));
}

}  // namespace
}  // namespace tavrel
