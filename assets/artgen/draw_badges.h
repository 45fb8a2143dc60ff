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

}  // namespace artgen
