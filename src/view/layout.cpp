#include "view/layout.h"

#include <cmath>

#include "app/client_context.h"
#include "platform/names.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"

namespace tavrel::view {

using platform::Control;
using platform::ControlKind;

namespace {

constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
constexpr std::uint32_t kLabelText = platform::kWhite;
constexpr std::uint32_t kTableLineBack = 0x1E3C14;  // dark felt green, red in the low byte
constexpr std::uint32_t kTableSurround = 0x12260C;  // the felt in shadow, beyond the table's design

struct Point {
  double x, y;
};
// Row origins per relative seat: the tile row and the discard row.
constexpr Point kHandOrigin[4] = {{19, 564}, {163, 192}, {842, 122}, {942, 560}};
constexpr Point kDiscardOrigin[4] = {{358, 438}, {287, 238}, {635, 238}, {758, 438}};
// Wall and discard tile size per relative seat.
constexpr Point kWallTile[4] = {{36, 50}, {48, 35}, {30, 36}, {48, 35}};

bool Small(const ClientContext& ctx) { return ctx.view.LayoutScale != 1.0; }

// A picture control that takes the design size of its picture when it has none.
void DesignPicture(ClientContext& ctx, Control& c, int pictureId) {
  if (c.Width() == 0 && c.Height() == 0)
    if (const PictureInfo* info = FindPicture(pictureId)) c.SetSize(info->width, info->height);
  LoadResourcePicture(ctx, pictureId, c);
}

Control& TableLabel(ClientContext& ctx, const platform::ControlName& name, int index, double fontSize,
                    bool bold = false) {
  Control& c = OnTable(ctx, name, index);
  c.SetForeColor(kLabelText);
  c.SetBackTransparent(true);
  c.SetFont(fontSize, bold);
  return c;
}

double Bottom(const Control& c) { return c.Top() + c.Height(); }

void HideIfPresent(platform::Form& form, const platform::ControlName& name, int first, int last) {
  for (int i = first; i <= last; ++i)
    if (Control* c = form.Find(name, i)) c->SetVisible(false);
}

// Avatars, player labels, ready marks and window buttons.
void LayOutSeats(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& own = OnTable(ctx, ctl::Tou, 0);
  own.Move(10 * s, 668 * s, 85 * s, 90 * s);
  own.SetVisible(true);
  constexpr double kOtherAvatarLeft[4] = {0, 7, 350, 693};
  for (int p = 1; p <= 3; ++p) {
    Control& tou = OnTable(ctx, ctl::Tou, p);
    tou.Move(kOtherAvatarLeft[p] * s, 15 * s, 70 * s, 62 * s);
    tou.SetVisible(true);
  }
  // Name, coins and level beside each avatar; the location under the own ones.
  for (int p = 0; p <= 3; ++p) {
    const double left = p == 0 ? 100 : kOtherAvatarLeft[p] + 74;
    const double top = p == 0 ? 672 : 17;
    const platform::ControlName names[3] = {ctl::Nid, ctl::Cash, ctl::Level};
    for (int row = 0; row < 3; ++row) {
      Control& label = TableLabel(ctx, names[row], p, Small(ctx) ? 8 : 9, row == 0);
      label.Move(left * s, (top + 20 * row) * s, 200 * s, 18 * s);
    }
  }
  Control& location = TableLabel(ctx, ctl::Location, -1, Small(ctx) ? 8 : 9);
  location.Move(100 * s, 732 * s, 200 * s, 18 * s);

  constexpr Point kReadyMark[4] = {{460, 630}, {60, 310}, {460, 88}, {900, 310}};
  for (int p = 0; p <= 3; ++p) {
    Control& ok = OnTable(ctx, ctl::OK, p);
    DesignPicture(ctx, ok, kPicReadyMark);
    const double top = Small(ctx) && (p == 1 || p == 3) ? 360 * s : kReadyMark[p].y * s;
    ok.Move(kReadyMark[p].x * s, top);
    ok.SetVisible(false);
  }
}

void LayOutButtons(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& send = OnTable(ctx, ctl::AnNiu, 0);
  send.Move(573 * s, 730 * s, 50 * s, 30 * s);
  for (int i = 1; i <= 8; ++i) {
    Control& b = OnTable(ctx, ctl::AnNiu, i);
    const int column = (i - 1) % 4;
    const double top = i <= 4 ? 699 : 699 + 32;
    b.Move((648 + 70 * column) * s, top * s, 60 * s, 30 * s);
  }
  for (int i = 0; i <= 8; ++i) {
    Control& b = OnTable(ctx, ctl::AnNiu, i);
    b.SetVisible(true);
    b.SetMousePointer(platform::kPointerCustomHand);
    LoadResourcePicture(ctx, ctx.view.ButtonPictures[i < 3 ? 2 * i : 2 * i + 2], b);
    b.BringToFront();
  }
  ctx.view.ButtonHover.fill(false);
  ctx.view.HandStarted.fill(false);
  // The start button waits until the table is formed.
  ctx.view.HandStarted[2] = true;
}

void LayOutWildTileDisplay(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& label = OnTable(ctx, ctl::WildTileLabel);
  DesignPicture(ctx, label, kPicWildTileLabel);
  label.Move(870 * s, Bottom(OnTable(ctx, ctl::Tou, 3)) + 35 * s);
  label.SetVisible(true);
  Control& tile = OnTable(ctx, ctl::WildTileImage);
  tile.Move(label.Left() + 20, label.Top() + 59, 36, 56);
  tile.SetVisible(false);
  tile.BringToFront();
}

void LayOutDealerAndBank(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& bank = OnTable(ctx, ctl::Bank);
  DesignPicture(ctx, bank, kPicBank);
  bank.Move(699 * s, 658 * s);
  bank.SetVisible(true);
  bank.BringToFront();
  // The dealer badge: the marker with the dealer's wind on it.
  Control& host = OnTable(ctx, ctl::Host);
  DesignPicture(ctx, host, kPicDealerMarker);
  host.Move(90 * s, 140 * s);
  host.SetVisible(false);
  Control& zhuang = TableLabel(ctx, ctl::Zhuang, -1, Small(ctx) ? 11 : 14, true);
  zhuang.Move(host.Left(), host.Top(), host.Width(), host.Height());
  zhuang.SetAlignment(2);
  zhuang.SetForeColor(platform::kRed);
  zhuang.SetVisible(false);
}

void LayOutCompassAndClock(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& compass = OnTable(ctx, ctl::ZhiNan);
  DesignPicture(ctx, compass, ctx.view.CompassPictures[0]);
  compass.Move(4 * s, Bottom(OnTable(ctx, ctl::Tou, 1)) + 35 * s);
  compass.SetVisible(false);

  Control& clock = OnTable(ctx, ctl::Time_Img);
  LoadResourcePicture(ctx, kPicCountdownClock, clock);
  clock.SetVisible(false);
  Control& number = TableLabel(ctx, ctl::Number, -1, Small(ctx) ? 12 : 14, true);
  number.SetForeColor(platform::kGreen);
  number.SetVisible(false);
  PlaceContinueCountdown(ctx);
}

// The seat-change banner: the picture with its caption at its left, the advert panel below.
void LayOutSeatChange(ClientContext& ctx) {
  Control& banner = OnTable(ctx, ctl::ImgShuffle);
  DesignPicture(ctx, banner, kPicSeatChange);
  Control& caption = TableLabel(ctx, ctl::LblShuffle, -1, Small(ctx) ? 10 : 12, true);
  caption.SetForeColor(platform::kWhite);
  Control& panel = OnTable(ctx, ctl::WebBrowser2);
  PlaceSeatChangeDisplay(ctx);
  for (Control* c : {&banner, &caption, &panel}) c->SetVisible(false);
}

void LayOutOffersAndDice(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  for (int i = 0; i <= 4; ++i) {
    Control& b = OnTable(ctx, ctl::Operation, i);
    b.Move((358 + 50 * i) * s, 461 * s, 50 * s, 71 * s);
    LoadResourcePicture(ctx, ctx.view.OfferPictures[3 * i], b);
    b.SetVisible(false);
    b.SetEnabled(false);
    b.SetMousePointer(platform::kPointerCustomHand);
  }
  for (int i = 0; i < 16; ++i) {
    Control& die = OnTable(ctx, ctl::SZ_Image, i);
    DesignPicture(ctx, die, ctx.view.DicePictures[i]);
    die.SetVisible(false);
  }
  for (int i = 0; i < 2; ++i) {
    Control& die = OnTable(ctx, ctl::Sai_Image, i);
    die.Move((472 + 48 * i) * s, 344 * s, 40 * s, 40 * s);
    die.SetVisible(false);
  }
}

void LayOutBubbles(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  for (int i = 0; i < 3; ++i) {
    Control& speak = OnTable(ctx, ctl::Speak, i);
    speak.SetSize(kClaimWordSize.width * s, kClaimWordSize.height * s);
    speak.SetVisible(false);
    Control& bubble = OnTable(ctx, ctl::tsSpeak, i);
    DesignPicture(ctx, bubble, ctx.view.GenZhuangPictures[i]);
    bubble.SetVisible(false);
  }
  OnTable(ctx, ctl::Speak, 0).Move(8 * s, 330 * s);
  OnTable(ctx, ctl::Speak, 2).Move(936 * s, 280 * s);
}

void LayOutChat(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& chat = OnTable(ctx, ctl::Chat, -1);
  chat.Move(318 * s, 729 * s, 244 * s, 18 * s);
  chat.SetBackTransparent(false);
  // The history window's tab at the end of the two table lines.
  Control& toggle = TableLabel(ctx, ctl::Lbchat, -1, Small(ctx) ? 8 : 9);
  toggle.Move(594 * s, 694 * s, 25 * s, 33 * s);
  toggle.SetMousePointer(platform::kPointerCustomHand);
  toggle.SetCaption("记\n录");
  toggle.SetAlignment(2);
  toggle.SetBackTransparent(false);
  toggle.SetBackColor(kTableLineBack);
  toggle.SetToolTip("聊天记录");
  // The two quick-phrase buttons above the table lines, clear of the own hand's ready mark.
  const platform::ControlName phraseButtons[2] = {ctl::imgword1, ctl::imgword2};
  double left = 312;
  for (int i = 0; i < 2; ++i) {
    Control& button = OnTable(ctx, phraseButtons[i]);
    button.Move(left * s, 666 * s, kPhraseButtonSizes[i].width * s, kPhraseButtonSizes[i].height * s);
    LoadResourcePicture(ctx, kPicPhraseButtonFirst + i, button);
    button.SetMousePointer(platform::kPointerCustomHand);
    button.SetVisible(true);
    left += kPhraseButtonSizes[i].width + 6;
  }
  for (int i = 0; i < 2; ++i) {
    Control& line = OnTable(ctx, ctl::Sysmsg, i);
    line.Move(312 * s, (691 + 19 * i) * s, 281 * s, 18 * s);
    line.SetBackTransparent(false);
    line.SetBackColor(kTableLineBack);
    line.SetForeColor(platform::kWhite);
  }
}

void LayOutRuleDisplays(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  const bool small = Small(ctx);
  Control& beishu = OnTable(ctx, ctl::imgBeishu);
  DesignPicture(ctx, beishu, kPicDiceMultiplier);
  beishu.Move(6 * s, small ? 252 * s : 256 * s);
  Control& difen = TableLabel(ctx, ctl::lblDifen, -1, 18, true);
  difen.Move(small ? 58 * s + 8 : 58 * s, small ? 254 * s : 257 * s, 48 * s, 28 * s);
  for (int i = 0; i < 2; ++i) {
    Control& die = OnTable(ctx, ctl::imgsezi, i);
    DesignPicture(ctx, die, ctx.view.SmallDicePictures[0]);
    double left = (i == 0 ? 18 : 50) * s;
    if (small && i == 1) left = 50 * s + 3;
    die.Move(left, small ? 226 * s - 4 : 230 * s);
  }
  Control& wealth = OnTable(ctx, ctl::Imgwealth);
  DesignPicture(ctx, wealth, kPicWealthMultiplier);
  wealth.Move(6 * s, 288 * s);
  Control& lbwealth = TableLabel(ctx, ctl::lbwealth, -1, 18, true);
  lbwealth.Move(small ? 59 * s + 8 : 60 * s, 296 * s, 48 * s, 28 * s);
  for (int i = 0; i < 3; ++i) {
    Control& rule = TableLabel(ctx, ctl::lbfont, i, small ? 9 : 10);
    rule.Move(small ? 424 * s - 10 : 424 * s, (280 + 32 * i) * s, 176 * s, 26 * s);
    rule.SetBackTransparent(false);
    rule.SetBackColor(kTableLineBack);
    rule.SetAlignment(2);
  }
  for (Control* c : {&beishu, &difen, &wealth, &lbwealth}) c->SetVisible(false);
  for (int i = 0; i < 2; ++i) OnTable(ctx, ctl::imgsezi, i).SetVisible(false);
  for (int i = 0; i < 3; ++i) OnTable(ctx, ctl::lbfont, i).SetVisible(false);

  // Scaled like its labels, so that they stay in the plaque's recesses; the name is centred
  // over the plaque's wood, the count in its box.
  Control& streak = OnTable(ctx, ctl::img_lianzhuang);
  streak.Move(856 * s, 112 * s, kDealerStreakSize.width * s, kDealerStreakSize.height * s);
  DesignPicture(ctx, streak, kPicDealerStreak);
  Control& name = TableLabel(ctx, ctl::lbl_zhuang, -1, small ? 8 : 9);
  const double nameWidth = 2 * (kDealerStreakBodyLeft + (kDealerStreakSize.width - kDealerStreakBodyLeft) / 2.0 - 8);
  name.Move(streak.Left() + 8 * s, streak.Top() + 5 * s, nameWidth * s, 18 * s);
  name.SetAlignment(2);
  Control& count = TableLabel(ctx, ctl::lbl_zhuangNum, -1, small ? 10 : 12, true);
  count.Move(streak.Left() + 52 * s, streak.Top() + 34 * s, 40 * s, 20 * s);
  count.SetAlignment(2);
  for (Control* c : {&streak, &name, &count}) c->SetVisible(false);
}

void PlaceRowOrigins(ClientContext& ctx) {
  for (int r = 0; r < 4; ++r) {
    round::PlayerEntry& seat = ctx.table.custom[r];
    seat.handX = ScaledInt(ctx, kHandOrigin[r].x);
    seat.handY = ScaledInt(ctx, kHandOrigin[r].y);
    seat.discardX = ScaledInt(ctx, kDiscardOrigin[r].x);
    seat.discardY = ScaledInt(ctx, kDiscardOrigin[r].y);
    seat.discardRowX = seat.discardX;
    seat.discardRowY = seat.discardY;
  }
}

}  // namespace

double LayoutScaleFor(platform::ScreenSize screen) {
  return screen.width < kDesignWidth || screen.height < kDesignHeight ? kSmallLayoutScale : 1.0;
}

void SetLayoutScale(ClientContext& ctx) { ctx.view.LayoutScale = LayoutScaleFor(ctx.platform.Screen()); }

std::int16_t RoundHalfEven(double v) { return static_cast<std::int16_t>(std::nearbyint(v)); }

std::int16_t ScaledInt(const ClientContext& ctx, double designPixels) {
  return RoundHalfEven(designPixels * ctx.view.LayoutScale);
}

Control& OnTable(ClientContext& ctx, const platform::ControlName& name, int index) {
  Control& c = ctx.main().Get(name, index);
  if (c.Container().empty()) c.SetContainer(ctl::Pic1.name);
  return c;
}

void InitPictureTables(ClientContext& ctx) {
  ViewState& v = ctx.view;
  const bool small = Small(ctx);
  for (int i = 0; i < 20; ++i) v.ButtonPictures[i] = small && i >= 2 ? 379 + i : 101 + i;
  for (int i = 0; i < 180; ++i) v.TilePictures[i] = 201 + i;
  for (int i = 0; i < 18; ++i) v.OfferPictures[i] = 141 + i;
  for (int i = 0; i < 16; ++i) v.DicePictures[i] = 161 + i;
  for (int i = 0; i < 8; ++i) v.ClaimWordPictures[i] = 183 + i;
  for (int i = 0; i < 20; ++i) v.AvatarPictures[i] = i < 10 ? 191 + i : 391 + i;
  for (int i = 0; i < 8; ++i) v.DialogButtonPictures[i] = 130 + i;
  for (int i = 0; i < 4; ++i) v.CompassPictures[i] = small ? 126 + i : 565 + i;
  for (int i = 0; i < 3; ++i) v.GenZhuangPictures[i] = 418 + i;
  for (int i = 0; i < 6; ++i) v.SmallDicePictures[i] = 600 + i;
}

void InitLayout(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  platform::Form& form = ctx.main();
  // The table surface shows the felt at the layout's scale, like every control on it; the
  // window frame sizes the surface to the screen, and any room beyond the felt is in shadow.
  Control& surface = form.Get(ctl::Pic1);
  surface.Move(0, 0, kDesignWidth * s, kDesignHeight * s);
  LoadResourcePicture(ctx, kPicTableBackground, surface);
  surface.SetPictureRect({0, 0, kDesignWidth * s, kDesignHeight * s});
  surface.SetBackColor(kTableSurround);
  surface.SetBackTransparent(false);
  surface.SetVisible(true);
  surface.SendToBack();
  form.SetFocus(ctl::Pic1.name);

  LayOutSeats(ctx);
  LayOutButtons(ctx);
  LayOutWildTileDisplay(ctx);
  LayOutDealerAndBank(ctx);
  TileImage(ctx, 0).SetVisible(false);
}

void FinishLayout(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  LayOutCompassAndClock(ctx);
  LayOutOffersAndDice(ctx);
  for (int i = 1; i < kTileImageCount; ++i) TileImage(ctx, i).SetVisible(false);
  // The tiles wait, hidden, in their wall places until the first hand shows them.
  SetDefaultTileSizes(ctx);
  PlaceWall(ctx);
  for (int i = 1; i < kTileImageCount; ++i) TileImage(ctx, i).BringToFront();
  TileImage(ctx, 0).BringToFront();
  LayOutChat(ctx);
  LayOutBubbles(ctx);
  Control& logo = OnTable(ctx, ctl::Bird);
  logo.Move(936 * s, 680 * s, 82 * s, 80 * s);
  LoadResourcePicture(ctx, kPicPlatformLogo, logo);
  logo.SetVisible(true);
  logo.BringToFront();
  LayOutRuleDisplays(ctx);
  LayOutSeatChange(ctx);
  PlaceRowOrigins(ctx);
}

void PlaceContinueCountdown(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& label = OnTable(ctx, ctl::WildTileLabel);
  Control& clock = OnTable(ctx, ctl::Time_Img);
  clock.Move(label.Left(), Bottom(label), 81 * s, 38 * s);
  Control& number = OnTable(ctx, ctl::Number);
  const double left = Small(ctx) ? clock.Left() + 48 * s + 2 : clock.Left() + 48 * s;
  number.Move(left, clock.Top() + 5 * s, 24 * s, 24 * s);
}

void PlaceSeatChangeDisplay(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  Control& banner = OnTable(ctx, ctl::ImgShuffle);
  banner.Move(136 * s, 520 * s);
  OnTable(ctx, ctl::LblShuffle).Move(banner.Left(), banner.Top() + 6 * s, banner.Width() * 0.6, 24 * s);
  OnTable(ctx, ctl::WebBrowser2).Move(banner.Left(), Bottom(banner), banner.Width(), 2 * banner.Height());
}

void SetDefaultTileSizes(ClientContext& ctx) {
  for (int r = 0; r < 4; ++r) {
    ctx.view.SeatTileWidth[r] = ScaledInt(ctx, kWallTile[r].x);
    ctx.view.SeatTileHeight[r] = ScaledInt(ctx, kWallTile[r].y);
  }
}

void PlaceWall(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  const auto& w = ctx.view.SeatTileWidth;
  const auto& h = ctx.view.SeatTileHeight;
  // Per side: first upper tile, step from stack to stack, drop of the lower tile.
  struct Side {
    int first, stacks;
    double left, top, stepX, stepY, drop;
  };
  const Side sides[4] = {
      {0, 11, 659 * s, 476 * s, -double(w[0]), 0, 22 * s},
      {22, 10, 164 * s, 396 * s, 4 * s, -15 * s, 20 * s},
      {42, 11, 346 * s, 192 * s, double(w[2]), 0, 16 * s},
      {64, 10, 768 * s, 252 * s, 4 * s, 15 * s, 20 * s},
  };
  for (int r = 0; r < 4; ++r) {
    const Side& side = sides[r];
    for (int k = 0; k < side.stacks; ++k) {
      const double left = side.left + k * side.stepX, top = side.top + k * side.stepY;
      TileImage(ctx, side.first + 2 * k).Move(left, top, w[r], h[r]);
      TileImage(ctx, side.first + 2 * k + 1).Move(left, top + side.drop, w[r], h[r]);
    }
  }
  // Lower tiles stand behind their upper ones.
  for (int first : {0, 42})
    for (int k = 0; k < 11; ++k) {
      TileImage(ctx, first + 2 * k).BringToFront();
      TileImage(ctx, first + 2 * k + 1).SendToBack();
    }
  for (int k = 0; k < 10; ++k) {
    TileImage(ctx, 64 + 2 * k + 1).BringToFront();
    TileImage(ctx, 64 + 2 * k).BringToFront();
  }
  TileImage(ctx, 0).BringToFront();
  TileImage(ctx, 2).BringToFront();
  for (int k = 0; k < 11; ++k) {
    TileImage(ctx, 42 + 2 * k + 1).BringToFront();
    TileImage(ctx, 42 + 2 * k).BringToFront();
  }
}

void ResetLayout(ClientContext& ctx) {
  platform::Form& form = ctx.main();
  for (auto& step : ctx.view.resetLayoutSteps) step();

  HideIfPresent(form, ctl::Image1, 0, 2);
  for (int i = 0; i < kTileImageCount; ++i) TileImage(ctx, i).SetVisible(false);
  for (const auto& name : {ctl::Time_Img, ctl::Number, ctl::ZhiNan, ctl::Host, ctl::Zhuang, ctl::Words})
    if (Control* c = form.Find(name)) c->SetVisible(false);
  HideIfPresent(form, ctl::Operation, 0, 4);
  HideIfPresent(form, ctl::Speak, 0, 2);
  if (Control* top = form.Find(ctl::Tou, 2)) OnTable(ctx, ctl::Speak, 1).Move(top->Left(), Bottom(*top));
  HideIfPresent(form, ctl::Chi, 0, 5);
  HideIfPresent(form, ctl::Gang, 0, 4);
  if (platform::Form* talk = ctx.ui.Find(frm::Talk)) talk->Hide();

  SetDefaultTileSizes(ctx);
  PlaceWall(ctx);
  PlaceRowOrigins(ctx);

  Control& difen = TableLabel(ctx, ctl::lblDifen, -1, 18, true);
  difen.SetCaption("1");
  difen.SetVisible(false);
  HideIfPresent(form, ctl::imgsezi, 0, 1);
  HideIfPresent(form, ctl::lbfont, 0, 2);
  if (Control* beishu = form.Find(ctl::imgBeishu)) beishu->SetVisible(false);
  if (!(ctx.view.wealthDoubling && ctx.view.wealthDoubling())) {
    Control& lbwealth = TableLabel(ctx, ctl::lbwealth, -1, 18, true);
    lbwealth.SetCaption("1");
    lbwealth.SetVisible(false);
    if (Control* wealth = form.Find(ctl::Imgwealth)) wealth->SetVisible(false);
  }
  Control& bank = OnTable(ctx, ctl::Bank);
  bank.SetVisible(true);
  bank.BringToFront();
}

}  // namespace tavrel::view
