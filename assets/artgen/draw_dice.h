#pragma once
#include <QImage>

#include "view/picture_catalogue.h"

namespace artgen {

QImage DrawDieFace(int pips, tavrel::view::PictureSize size);
QImage DrawTumblingDie(int frame);  // 0..9

}  // namespace artgen
