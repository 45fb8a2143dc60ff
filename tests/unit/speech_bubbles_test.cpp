// Speech bubbles: the window's shape from the key colour, the places by seat,
// the fade with the counts of a received phrase, one bubble per seat, several
// seats at once, and the opacity's range.
#include <gtest/gtest.h>

#include "chat_fixture.h"

namespace tavrel::testing {
namespace {

using platform::PixelMap;
using platform::Rect;

PixelMap Picture(const std::vector<std::string>& rows) {
  PixelMap m;
  m.height = static_cast<int>(rows.size());
  m.width = m.height ? static_cast<int>(rows[0].size()) : 0;
  for (const auto& row : rows)
    for (char c : row) m.pixels.push_back(c == '.' ? 0xFF00FF : 0x102030);
  return m;
}

bool Same(const std::vector<Rect>& a, const std::vector<Rect>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].left != b[i].left || a[i].top != b[i].top || a[i].width != b[i].width || a[i].height != b[i].height)
      return false;
  return true;
}

TEST(ShapeRegion, RowRunsOfEverythingButTheKeyColour) {
  const struct {
    const char* what;
    std::vector<std::string> rows;
    std::vector<Rect> region;
  } cases[] = {
      {"a bubble on the key colour", {"..##..", ".####.", "######", "..#..."},
       {{2, 0, 2, 1}, {1, 1, 4, 1}, {0, 2, 6, 1}, {2, 3, 1, 1}}},
      {"two runs in a row", {"#..##."}, {{0, 0, 1, 1}, {3, 0, 2, 1}}},
      {"a run to the right edge keeps its last pixel", {"...###", ".....#"}, {{3, 0, 3, 1}, {5, 1, 1, 1}}},
      {"no key colour: the whole picture", {"###", "###"}, {{0, 0, 3, 1}, {0, 1, 3, 1}}},
      {"only the key colour: nothing", {"...", "..."}, {}},
      {"no picture", {}, {}},
  };
  for (const auto& c : cases) EXPECT_TRUE(Same(chat::ShapeRegion(Picture(c.rows), 0xFF00FF), c.region)) << c.what;
}

struct SpeechBubbles : ChatFixture {
  SpeechBubbles() { DrawBubblePictures(); }
};

TEST_F(SpeechBubbles, ABubbleIsShapedFromItsPicturesTopLeftColourAndWaitsInvisible) {
  platform::Form& form = chat::PrepareBubble(*c, 2);
  ASSERT_EQ(Bubble(2), &form);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(form.Topmost());
  EXPECT_TRUE(form.Frameless());
  EXPECT_TRUE(form.ShowsWithoutFocus());
  EXPECT_EQ(form.Alpha(), 0);
  EXPECT_EQ(form.Bounds().width, 12);
  EXPECT_EQ(form.Bounds().height, 6);
  // Rows 1..4 of the test picture, columns 1..10.
  ASSERT_EQ(form.Region().size(), 4u);
  for (const Rect& r : form.Region()) {
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.width, 10);
    EXPECT_EQ(r.height, 1);
  }
  EXPECT_TRUE(form.Get(ctl::frmSpeakBox::imgSpeakBox, 2).Visible());
  EXPECT_FALSE(form.Get(ctl::frmSpeakBox::imgSpeakBox, 1).Visible());
  EXPECT_EQ(form.Get(ctl::frmSpeakBox::picSplash).Picture(), 0) << "the work picture is released";
  // Seat 2 waits above the window, at its showing left.
  EXPECT_DOUBLE_EQ(form.Bounds().left, 6150.0 / 15);
  EXPECT_DOUBLE_EQ(form.Bounds().top, -6);
}

TEST_F(SpeechBubbles, APictureThatCannotBeReadGivesARectangularBubble) {
  platform.simPictures().drawn.clear();
  chat::ShowPhraseBubble(*c, 1, "看得见");
  platform::Form* form = Bubble(1);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->Region().empty());
  EXPECT_EQ(form->Bounds().width, view::kSpeakBoxSize.width);
  EXPECT_TRUE(form->Visible());
}

TEST_F(SpeechBubbles, EachSeatShowsAtItsPlaceWithTheLayoutScale) {
  const struct {
    int seat;
    double left, top;
  } places[] = {{0, 100, 570}, {1, 70, 200}, {2, 410, 70}, {3, 760, 200}};
  for (const auto& p : places) {
    chat::ShowPhraseBubble(*c, p.seat, "话");
    EXPECT_DOUBLE_EQ(Bubble(p.seat)->Bounds().left, p.left) << p.seat;
    EXPECT_DOUBLE_EQ(Bubble(p.seat)->Bounds().top, p.top) << p.seat;
  }
  c->main().Move(100, 50);
  chat::ShowPhraseBubble(*c, 3, "话");
  EXPECT_DOUBLE_EQ(Bubble(3)->Bounds().left, 100 + 760);
  EXPECT_DOUBLE_EQ(Bubble(3)->Bounds().top, 50 + 200);

  Build(800, 600);
  DrawBubblePictures();
  chat::ShowPhraseBubble(*c, 3, "话");
  EXPECT_DOUBLE_EQ(Bubble(3)->Bounds().left, 760 * 0.78125);
  EXPECT_DOUBLE_EQ(Bubble(3)->Bounds().top, 200 * 0.78125);
}

TEST_F(SpeechBubbles, AReceivedPhraseFadesInHoldsAndFadesOutByTheCounts) {
  chat::ShowPhraseBubble(*c, 1, "大家好");
  platform::Form& form = *Bubble(1);
  EXPECT_EQ(form.Get(ctl::frmSpeakBox::labPhrase).Caption(), "大家好");
  std::vector<int> alpha;
  for (int tick = 1; tick <= 340; ++tick) {
    Fade(1);
    alpha.push_back(form.Visible() ? form.Alpha() : -1);
  }
  // 26 ticks in: 8, 16, ..., 208.
  for (int t = 1; t <= 26; ++t) EXPECT_EQ(alpha[t - 1], 8 * t) << t;
  // Held until the counter passes 2210: the fade-out starts at tick 277.
  for (int t = 27; t <= 276; ++t) ASSERT_EQ(alpha[t - 1], 208) << t;
  // 52 steps down to 2, then the 53rd parks the window.
  for (int k = 1; k <= 52; ++k) EXPECT_EQ(alpha[276 + k - 1], 210 - 4 * k) << k;
  EXPECT_EQ(alpha[328], -1) << "parked at tick 329";
  EXPECT_EQ(form.Get(ctl::frmSpeakBox::labPhrase).Caption(), "");
  EXPECT_DOUBLE_EQ(form.Bounds().left, -2 * form.Bounds().width) << "seat 1 parks left of the window";
  EXPECT_EQ(Bubble(1), &form) << "loaded until the seat's next bubble";
}

TEST_F(SpeechBubbles, ASecondPhraseFromTheSameSeatReplacesTheFirstAtOnce) {
  chat::ShowPhraseBubble(*c, 3, "第一句");
  Fade(100);
  chat::ShowPhraseBubble(*c, 3, "第二句");
  int shown = 0;
  for (int seat = 0; seat < 4; ++seat) shown += Bubble(seat) && Bubble(seat)->Visible();
  EXPECT_EQ(shown, 1);
  platform::Form& form = *Bubble(3);
  EXPECT_EQ(form.Get(ctl::frmSpeakBox::labPhrase).Caption(), "第二句");
  EXPECT_EQ(c->chat.bubbles[3].FadeCounter, 0);
  EXPECT_EQ(form.Alpha(), 0);
  Fade(1);
  EXPECT_EQ(form.Alpha(), 8) << "the fade starts again";
}

TEST_F(SpeechBubbles, PhrasesFromTwoSeatsShowTwoBubblesAtOnce) {
  chat::ShowPhraseBubble(*c, 1, "左边");
  Fade(10);
  chat::ShowPhraseBubble(*c, 2, "对面");
  Fade(10);
  ASSERT_NE(Bubble(1), nullptr);
  ASSERT_NE(Bubble(2), nullptr);
  EXPECT_NE(Bubble(1), Bubble(2));
  EXPECT_TRUE(Bubble(1)->Visible() && Bubble(2)->Visible());
  EXPECT_EQ(Bubble(1)->Alpha(), 160);
  EXPECT_EQ(Bubble(2)->Alpha(), 80);
}

TEST_F(SpeechBubbles, TheOpacityTakesOnly0To255) {
  platform::Form& form = chat::PrepareBubble(*c, 0);
  EXPECT_TRUE(chat::SetWindowAlpha(form, 255));
  EXPECT_EQ(form.Alpha(), 255);
  for (int bad : {-1, 256, 100000}) {
    EXPECT_FALSE(chat::SetWindowAlpha(form, bad));
    EXPECT_EQ(form.Alpha(), 255);
  }
  EXPECT_TRUE(chat::SetWindowAlpha(form, 0));
}

TEST_F(SpeechBubbles, ClosingTheTableUnloadsEveryBubbleAndStopsItsFade) {
  chat::ShowPhraseBubble(*c, 1, "甲");
  chat::ShowPhraseBubble(*c, 2, "乙");
  for (auto& step : c->hooks.closeTableSteps) step();
  for (int seat = 0; seat < 4; ++seat) EXPECT_EQ(Bubble(seat), nullptr);
  EXPECT_FALSE(c->ui.form(chat::SpeakBoxFormName(1)).Visible());
  Fade(400);
  EXPECT_FALSE(c->ui.form(chat::SpeakBoxFormName(1)).Visible());
}

}  // namespace
}  // namespace tavrel::testing
