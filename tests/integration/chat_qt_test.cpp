// The chat's Qt side, offscreen: the chat line's caret between the model and the
// line edit, one Backspace taking a private prefix in the real widget, and a
// speech bubble's window cut to the shape of its picture from the picture pack.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>

#include "app/client_context.h"
#include "chat/private_talk.h"
#include "chat/speech_bubbles.h"
#include "offscreen_table.h"
#include "view/picture_catalogue.h"

namespace tavrel {
namespace {

class ChatQt : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("TAVREL_SCREEN", "1280x1024", 1);
    static int argc = 1;
    static char name[] = "chat_qt_test";
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
    pictures_ = table_->pictures;
    Sync();
  }
  void TearDown() override { table_.reset(); }
  void Sync() { table_->Sync(); }
  QLineEdit* Line() { return qobject_cast<QLineEdit*>(ui_->Window(kMainForm)->ControlWidget("Chat")); }
  void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
  }

  static QApplication* app_;
  std::unique_ptr<itest::OffscreenTable> table_;
  ClientContext* ctx_ = nullptr;
  platform::qt::QtUi* ui_ = nullptr;
  platform::qt::QtPictures* pictures_ = nullptr;
};
QApplication* ChatQt::app_ = nullptr;

TEST_F(ChatQt, TheCaretGoesBothWaysBetweenTheModelAndTheLineEdit) {
  QLineEdit* line = Line();
  ASSERT_NE(line, nullptr);
  platform::Control& chat = ctx_->main().Get(ctl::Chat);
  chat.SetText("你好朋友");
  chat.SetSelStart(2);
  Sync();
  EXPECT_EQ(line->cursorPosition(), 2);
  line->setCursorPosition(4);
  EXPECT_EQ(chat.SelStart(), 4);
  // Characters beyond the first plane count once.
  chat.SetText("\xF0\x9F\x80\x84\xE4\xB8\xAD");  // a mahjong tile sign and 中
  chat.SetSelStart(1);
  Sync();
  EXPECT_EQ(line->cursorPosition(), 2);
  line->setCursorPosition(3);
  EXPECT_EQ(chat.SelStart(), 2);
}

TEST_F(ChatQt, OneBackspaceInTheRealLineTakesThePrivatePrefix) {
  ctx_->session.TableActive = true;
  ctx_->table.custom[1].name = "bob";
  chat::TouClick(*ctx_, 1);
  Sync();
  QLineEdit* line = Line();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(), QStringLiteral("你对bob说: "));
  EXPECT_EQ(line->cursorPosition(), 8);
  Key(line, Qt::Key_H, QStringLiteral("h"));
  Key(line, Qt::Key_I, QStringLiteral("i"));
  line->setCursorPosition(8);
  Key(line, Qt::Key_Backspace);
  Sync();
  EXPECT_EQ(line->text(), QStringLiteral("hi"));
  EXPECT_TRUE(ctx_->chat.PrivatePrefix.empty());
}

TEST_F(ChatQt, ABubblesWindowIsCutToItsPicture) {
  chat::ShowPhraseBubble(*ctx_, 2, "大家好");
  Sync();
  platform::qt::FormWindow* window = ui_->Window(chat::SpeakBoxFormName(2));
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(window->size(), QSize(view::kSpeakBoxSize.width, view::kSpeakBoxSize.height));
  const QRegion mask = window->mask();
  ASSERT_FALSE(mask.isEmpty());
  // The corners are the picture's key colour, the middle is the bubble.
  EXPECT_FALSE(mask.contains(QPoint(0, 0)));
  EXPECT_FALSE(mask.contains(QPoint(view::kSpeakBoxSize.width - 1, 0)));
  EXPECT_TRUE(mask.contains(QPoint(view::kSpeakBoxSize.width / 2, view::kSpeakBoxSize.height / 2)));
  // Every pixel of the picture that is not the key colour is inside, every other outside.
  const QImage picture = pictures_->Pixmap(view::kPicSpeakBoxFirst + 2)->toImage().convertToFormat(QImage::Format_RGB32);
  const QRgb key = picture.pixel(0, 0);
  int wrong = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) wrong += mask.contains(QPoint(x, y)) != (picture.pixel(x, y) != key);
  EXPECT_EQ(wrong, 0);
  EXPECT_NEAR(window->windowOpacity(), 0.0, 0.01) << "invisible until the fade";
}

}  // namespace
}  // namespace tavrel
