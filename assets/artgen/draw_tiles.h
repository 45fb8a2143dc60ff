#pragma once
#include <QImage>
#include <QSize>

namespace artgen {

// One tile picture: `set` 0..4, `pos` 0..35 as in the client's tile table, at
// its catalogue size or drawn afresh at another size.
QImage DrawTile(int set, int pos);
QImage DrawTile(int set, int pos, QSize size);

}  // namespace artgen
