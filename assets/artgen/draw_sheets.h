#pragma once
// The settlement sheet's and the history window's pictures, and their close button.
#include <QImage>

namespace artgen {

QImage DrawSheetBack();
QImage DrawHistoryBack();
QImage DrawSheetClose();

}  // namespace artgen
