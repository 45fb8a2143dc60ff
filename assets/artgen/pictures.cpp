#include "pictures.h"

#include <QPainter>

#include "art_style.h"
#include "draw_badges.h"
#include "draw_controls.h"
#include "draw_dice.h"
#include "draw_sheets.h"
#include "draw_avatars.h"
#include "draw_table.h"
#include "draw_tiles.h"
#include "draw_words.h"
#include "view/picture_catalogue.h"

namespace artgen {

namespace v = tavrel::view;

namespace {

bool In(int id, int first, int count) { return id >= first && id < first + count; }

QImage DrawDesignPicture(int id) {
  switch (id) {
    case v::kPicTableBackground: return DrawTableBackground();
    case v::kPicWindowSkin: return DrawWindowSkin();
    case v::kPicCloseNormal: return DrawTitleButton(true, 0);
    case v::kPicCloseHover: return DrawTitleButton(true, 1);
    case v::kPicClosePressed: return DrawTitleButton(true, 2);
    case v::kPicMinimiseNormal: return DrawTitleButton(false, 0);
    case v::kPicMinimiseHover: return DrawTitleButton(false, 1);
    case v::kPicMinimisePressed: return DrawTitleButton(false, 2);
    case v::kPicReadyMark: return DrawReadyMark();
    case v::kPicDealerMarker: return DrawDealerMarker();
    case v::kPicDealerStreak: return DrawDealerStreak();
    case v::kPicCountdownClock: return DrawCountdownClock();
    case v::kPicBank: return DrawBank();
    case v::kPicPlatformLogo: return DrawPlatformLogo();
    case v::kPicRuleLabelBack: return DrawRuleLabelBack();
    case v::kPicDiceMultiplier: return DrawDiceMultiplier();
    case v::kPicWealthMultiplier: return DrawWealthMultiplier();
    case v::kPicWildTileLabel: return DrawWildTileLabel();
    case v::kPicSeatChange: return DrawSeatChange();
    case v::kPicHandPointer: return DrawHandPointer();
    case v::kPicWindowIcon: return DrawWindowIcon();
    case v::kPicSheetBack: return DrawSheetBack();
    case v::kPicHistoryBack: return DrawHistoryBack();
    case v::kPicSheetClose: return DrawSheetClose();
    default: break;
  }
  if (In(id, v::kPicSpeakBoxFirst, 4)) return DrawSpeakBox(id - v::kPicSpeakBoxFirst);
  if (In(id, v::kPicPhraseButtonFirst, 2)) return DrawPhraseButton(id - v::kPicPhraseButtonFirst);
  return {};
}

QImage Draw(int id) {
  if (In(id, v::kPicWindowButtonFirst, 2 * v::kWindowButtonCount)) {
    const int i = id - v::kPicWindowButtonFirst;
    return DrawWindowButton(i / 2, i % 2 == 1, false);
  }
  if (In(id, v::kPicSmallWindowButtonFirst, 2 * v::kWindowButtonCount - 2)) {
    const int i = id - v::kPicSmallWindowButtonFirst;
    return DrawWindowButton(1 + i / 2, i % 2 == 1, true);
  }
  if (In(id, v::kPicSmallCompassFirst, 4)) return DrawCompass(id - v::kPicSmallCompassFirst, v::kSmallCompassSize);
  if (In(id, v::kPicCompassFirst, 4)) return DrawCompass(id - v::kPicCompassFirst, v::kCompassSize);
  if (In(id, v::kPicDialogButtonFirst, v::kDialogButtonCount)) return DrawDialogButton(id - v::kPicDialogButtonFirst);
  if (In(id, v::kPicOfferFirst, v::kOfferPictureCount)) {
    const int i = id - v::kPicOfferFirst;
    return DrawOfferButton(i / 3, i % 3);
  }
  if (In(id, v::kPicDieFaceFirst, 6)) return DrawDieFace(id - v::kPicDieFaceFirst + 1, v::kDieSize);
  if (In(id, v::kPicSmallDieFirst, 6)) return DrawDieFace(id - v::kPicSmallDieFirst + 1, v::kSmallDieSize);
  if (In(id, v::kPicDieTumbleFirst, v::kDieTumbleFrames)) return DrawTumblingDie(id - v::kPicDieTumbleFirst);
  if (In(id, v::kPicClaimWordFirst, v::kClaimWordCount)) return DrawClaimWord(id - v::kPicClaimWordFirst);
  if (In(id, v::kPicMaleAvatarFirst, v::kAvatarsPerGender)) return DrawAvatar(false, id - v::kPicMaleAvatarFirst);
  if (In(id, v::kPicFemaleAvatarFirst, v::kAvatarsPerGender)) return DrawAvatar(true, id - v::kPicFemaleAvatarFirst);
  if (In(id, v::kPicFollowDealerFirst, 3)) return DrawFollowDealerBubble(id - v::kPicFollowDealerFirst + 1);
  if (In(id, v::kPicTileFirst, v::kTileSetCount * v::kTilesPerSet)) {
    const int i = id - v::kPicTileFirst;
    return DrawTile(i / v::kTilesPerSet, i % v::kTilesPerSet);
  }
  return DrawDesignPicture(id);
}

}  // namespace

QImage DrawPicture(int id) {
  const v::PictureInfo* info = v::FindPicture(id);
  if (info == nullptr) return {};
  QImage image = Draw(id);
  // The catalogue's size (times the pack's density) is the contract; never hand out anything else.
  const QSize wanted(info->width * PixelRatio(), info->height * PixelRatio());
  if (image.size() != wanted) {
    image = image.isNull() ? NewImage(info->width, info->height)
                           : image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(PixelRatio());
  }
  return image;
}

}  // namespace artgen
