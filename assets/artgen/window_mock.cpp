#include "window_mock.h"

#include <QPainter>

#include "art_style.h"
#include "pictures.h"
#include "view/picture_catalogue.h"

namespace artgen {

namespace v = tavrel::view;

namespace {

constexpr int kWindowWidth = 1040, kWindowHeight = 796;

void Put(QPainter& p, int id, QRectF at) { p.drawImage(at, DrawPicture(id)); }
void Put(QPainter& p, int id, QPointF at) { p.drawImage(at, DrawPicture(id)); }

void Label(QPainter& p, const QString& text, QPointF at, qreal size, const QColor& colour = Qt::white) {
  p.setFont(CjkFont(size));
  p.setPen(colour);
  p.drawText(at + QPointF(0, size), text);
}

// The frame in eight pieces of the skin, as the window paints it.
void Frame(QPainter& p) {
  const QImage skin = DrawPicture(v::kPicWindowSkin);
  const int w = kWindowWidth, h = kWindowHeight, b = v::kSkinBorder, t = v::kSkinTitleHeight;
  const int rx = v::kSkinRightPieceX, by = v::kSkinBottomPieceY, mid = by - t;
  p.drawImage(QRect(0, 0, b, t), skin, QRect(0, 0, b, t));
  p.drawImage(QRect(b, 0, w - 2 * b, t), skin, QRect(b, 0, b, t));
  p.drawImage(QRect(w - b, 0, b, t), skin, QRect(rx, 0, b, t));
  p.drawImage(QRect(0, t, b, h - t - b), skin, QRect(0, t, b, mid));
  p.drawImage(QRect(w - b, t, b, h - t - b), skin, QRect(rx, t, b, mid));
  p.drawImage(QRect(0, h - b, b, b), skin, QRect(0, by, b, b));
  p.drawImage(QRect(b, h - b, w - 2 * b, b), skin, QRect(b, by, b, b));
  p.drawImage(QRect(w - b, h - b, b, b), skin, QRect(rx, by, b, b));
  Put(p, v::kPicWindowIcon, QRectF(3.3, 3.3, 16, 16));
  const qreal closeLeft = w - v::kTitleButtonSize.width - 70 / 15.0;
  Put(p, v::kPicCloseNormal, QPointF(closeLeft, 25 / 15.0));
  Put(p, v::kPicMinimiseHover, QPointF(closeLeft - v::kTitleButtonSize.width - 2, 25 / 15.0));
  Label(p, QString::fromUtf8("Tavrel麻将"), QPointF(20, 1.7), 13);
}

void Wall(QPainter& p) {
  const int ownBack = v::TilePictureId(0, v::kTilePosLyingBack);
  for (int k = 10; k >= 4; --k) {  // left side, the far stacks first
    const QPointF at(164 + 4 * k, 396 - 15 * k);
    Put(p, v::TilePictureId(1, v::kTilePosLyingBack), QRectF(at + QPointF(0, 20), QSizeF(48, 35)));
    Put(p, v::TilePictureId(1, v::kTilePosLyingBack), QRectF(at, QSizeF(48, 35)));
  }
  for (int k = 0; k < 11; ++k) {
    const QPointF own(659 - 36 * k, 476), top(346 + 30 * k, 192);
    Put(p, ownBack, QRectF(own + QPointF(0, 22), QSizeF(36, 50)));
    Put(p, ownBack, QRectF(own, QSizeF(36, 50)));
    if (k > 2) {
      Put(p, ownBack, QRectF(top + QPointF(0, 16), QSizeF(30, 36)));
      Put(p, ownBack, QRectF(top, QSizeF(30, 36)));
    }
  }
  for (int k = 0; k < 7; ++k) {  // right side, the far stacks first
    const QPointF at(768 + 4 * k, 252 + 15 * k);
    Put(p, v::TilePictureId(3, v::kTilePosLyingBack), QRectF(at + QPointF(0, 20), QSizeF(48, 35)));
    Put(p, v::TilePictureId(3, v::kTilePosLyingBack), QRectF(at, QSizeF(48, 35)));
  }
}

void Tiles(QPainter& p) {
  // Own hand: a pung of 中 exposed, the concealed rest, the drawn tile apart.
  const int meld[] = {4, 4, 4};
  const int hand[] = {0, 0, 20, 21, 22, 28, 29, 30, 15, 16, 17};
  qreal x = 19;
  for (int pos : meld) {
    Put(p, v::TilePictureId(0, pos), QRectF(x, 590, 36, 50));
    x += 36;
  }
  x += 10;
  for (int pos : hand) {
    Put(p, v::TilePictureId(4, pos), QRectF(x, 564, 48, 78));
    x += 48;
  }
  Put(p, v::TilePictureId(4, 5), QRectF(x + 14, 554, 48, 78));  // raised under the pointer
  // Top hand: standing backs; discards of every seat.
  for (int i = 0; i < 12; ++i) Put(p, v::TilePictureId(2, v::kTilePosStandingBack), QRectF(842 - 30 * i, 122, 30, 44));
  const int discards[4][6] = {{31, 2, 11, 24, 6, 34}, {9, 27, 1, 19, 13, 33}, {3, 14, 25, 28, 5, 18},
                              {10, 23, 32, 2, 12, 26}};
  for (int i = 0; i < 6; ++i) {
    Put(p, v::TilePictureId(0, discards[0][i]), QRectF(358 + 36 * i, 408, 36, 50));
    Put(p, v::TilePictureId(1, discards[1][i]), QRectF(287, 238 + 35 * i, 48, 35));
    Put(p, v::TilePictureId(2, discards[2][i]), QRectF(635 - 30 * i, 238, 30, 36));
    Put(p, v::TilePictureId(3, discards[3][i]), QRectF(690, 403 - 35 * i, 48, 35));
  }
  Put(p, v::TilePictureId(0, 24), QRectF(487, 320, 50, 58));  // the last discard, at the centre
}

void Controls(QPainter& p) {
  Put(p, v::AvatarPictureId(0), QRectF(10, 668, 85, 90));
  Put(p, v::AvatarPictureId(12), QRectF(7, 15, 70, 62));
  Put(p, v::AvatarPictureId(4), QRectF(350, 15, 70, 62));
  Put(p, v::AvatarPictureId(17), QRectF(693, 15, 70, 62));
  Put(p, v::kPicDealerMarker, QPointF(424, 20));
  Put(p, v::kPicCompassFirst, QPointF(40, 112));
  Put(p, v::kPicSmallDieFirst + 2, QPointF(18, 226));
  Put(p, v::kPicSmallDieFirst + 3, QPointF(50, 226));
  Put(p, v::kPicDiceMultiplier, QPointF(6, 256));
  Label(p, "7", QPointF(60, 256), 20, QColor(255, 232, 160));
  Put(p, v::kPicWealthMultiplier, QPointF(6, 288));
  Label(p, "2", QPointF(62, 292), 20, QColor(255, 232, 160));
  // The dealer-streak plaque over the wild-tile plaque, right of the top seat's row.
  Put(p, v::kPicDealerStreak, QPointF(856, 112));
  Label(p, QString::fromUtf8("风清扬"), QPointF(921, 116), 14);
  Label(p, "3", QPointF(923, 146), 15, QColor(255, 232, 160));
  Put(p, v::kPicWildTileLabel, QPointF(870, 112));
  Put(p, v::TilePictureId(v::kTileSetOwnStanding, 22), QRectF(890, 171, 36, 56));
  const qreal clockTop = 112 + v::kWildTileLabelSize.height;
  Put(p, v::kPicCountdownClock, QPointF(870, clockTop));
  Label(p, "8", QPointF(925, clockTop + 7), 20, QColor(255, 90, 70));
  Put(p, v::kPicFollowDealerFirst + 2, QPointF(920, 300));
  Put(p, v::kPicClaimWordFirst + 1, QPointF(60, 330));
  Put(p, v::kPicReadyMark, QPointF(460, 88));
  // Offer buttons: 碰 and 过 live.
  const int offers[5] = {v::OfferPictureId(0, 0), v::OfferPictureId(1, 1), v::OfferPictureId(2, 0),
                         v::OfferPictureId(3, 0), v::OfferPictureId(4, 1)};
  for (int i = 0; i < 5; ++i) Put(p, offers[i], QPointF(358 + 50 * i, 480));
  // Window buttons as the layout gives them: picture 2i for i < 3, else 2i + 2.
  Put(p, v::kPicWindowButtonFirst, QPointF(573, 730));
  for (int i = 1; i <= 8; ++i) {
    const int entry = i < 3 ? 2 * i : 2 * i + 2;
    const QPointF at(648 + 70 * ((i - 1) % 4), i <= 4 ? 699 : 731);
    Put(p, v::kPicWindowButtonFirst + entry + (i == 6 ? 1 : 0), at);  // 历史 hovered
  }
  Put(p, v::kPicBank, QPointF(699, 658));
  Put(p, v::kPicPlatformLogo, QPointF(936, 680));
  Put(p, v::kPicHandPointer, QPointF(19 + 36 * 3 + 10 + 48 * 11 + 30, 580));
}

}  // namespace

QImage DrawWindowMock() {
  QImage window(kWindowWidth, kWindowHeight, QImage::Format_ARGB32_Premultiplied);
  window.fill(Qt::black);
  QPainter p(&window);
  SetupPainter(p);
  Frame(p);
  p.translate(v::kSkinBorder, v::kSkinTitleHeight);
  p.setClipRect(QRect(0, 0, 1024, 768));
  Put(p, v::kPicTableBackground, QPointF(0, 0));
  Wall(p);
  Tiles(p);
  Controls(p);
  return window;
}

}  // namespace artgen
