#pragma once
#include <QImage>

namespace artgen {

// The framed table window in the middle of a hand, assembled from the pack
// the way the client places its pictures: to judge the pack as a whole.
QImage DrawWindowMock();

}  // namespace artgen
