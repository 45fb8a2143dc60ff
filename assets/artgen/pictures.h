#pragma once
#include <QImage>

namespace artgen {

// Draws picture `id` of the catalogue at its catalogue size; a null image
// for an id the catalogue does not hold.
QImage DrawPicture(int id);

}  // namespace artgen
