#pragma once
// The table itself: felt background, window skin, compass dials.
#include <QImage>

#include "view/picture_catalogue.h"

namespace artgen {

QImage DrawTableBackground();
QImage DrawWindowSkin();
// `ownSeat` 0..3: the own wind (北 西 南 东) at the bottom.
QImage DrawCompass(int ownSeat, tavrel::view::PictureSize size);

}  // namespace artgen
