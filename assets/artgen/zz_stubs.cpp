#include "draw_badges.h"
#include "draw_controls.h"
#include "draw_dice.h"
#include "draw_avatars.h"
#include "draw_table.h"
#include "draw_words.h"
namespace artgen {
QImage DrawReadyMark(){return {};} QImage DrawDealerMarker(){return {};} QImage DrawDealerStreak(){return {};}
QImage DrawCountdownClock(){return {};} QImage DrawBank(){return {};} QImage DrawPlatformLogo(){return {};}
QImage DrawRuleLabelBack(){return {};} QImage DrawDiceMultiplier(){return {};} QImage DrawWealthMultiplier(){return {};}
QImage DrawWildTileLabel(){return {};} QImage DrawSeatChange(){return {};} QImage DrawHandPointer(){return {};} QImage DrawWindowIcon(){return {};}
QImage DrawWindowButton(int, bool, bool){return {};} QImage DrawDialogButton(int){return {};} QImage DrawOfferButton(int,int){return {};}
QImage DrawTitleButton(bool,int){return {};} QImage DrawDieFace(int, tavrel::view::PictureSize){return {};} QImage DrawTumblingDie(int){return {};}
QImage DrawAvatar(bool,int){return {};} QImage DrawTableBackground(){return {};} QImage DrawWindowSkin(){return {};}
QImage DrawCompass(int, tavrel::view::PictureSize){return {};} QImage DrawClaimWord(int){return {};} QImage DrawFollowDealerBubble(int){return {};} QImage DrawSpeakBox(int){return {};}
}
