#pragma once
// Small decorative pictures of the table: marks, plaques, logo, cursor, icon.
#include <QImage>

namespace artgen {

QImage DrawReadyMark();
QImage DrawDealerMarker();
QImage DrawDealerStreak();
QImage DrawCountdownClock();
QImage DrawBank();
QImage DrawPlatformLogo();
QImage DrawRuleLabelBack();
QImage DrawDiceMultiplier();
QImage DrawWealthMultiplier();
QImage DrawWildTileLabel();
QImage DrawSeatChange();
QImage DrawHandPointer();
QImage DrawWindowIcon();
// The desktop icon, pixels x pixels: the window icon's red dragon tile drawn at
// that size, on a round felt disc so that it reads on light and dark panels.
QImage DrawAppIcon(int pixels);

}  // namespace artgen
