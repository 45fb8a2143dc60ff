#pragma once
#include <QImage>

namespace artgen {

QImage DrawAvatar(bool female, int index);  // index 0..9

}  // namespace artgen
