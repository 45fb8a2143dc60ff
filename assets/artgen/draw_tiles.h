#pragma once
#include <QImage>

namespace artgen {

// One tile picture: `set` 0..4, `pos` 0..35 as in the client's tile table.
QImage DrawTile(int set, int pos);

}  // namespace artgen
