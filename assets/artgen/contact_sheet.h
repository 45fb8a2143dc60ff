#pragma once
#include <QImage>
#include <functional>

namespace artgen {

// Every catalogue picture on one sheet, each labelled with its id.
QImage DrawContactSheet();

// The tiles at the sizes the table shows them, on the felt.
QImage DrawTablePreview();

}  // namespace artgen
