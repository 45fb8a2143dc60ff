#pragma once
// Picture buttons: window buttons, dialog buttons, offer buttons, title buttons.
#include <QImage>

namespace artgen {

// `index` 0..9 in the order of kWindowButtonNames; `small` for the small screen.
QImage DrawWindowButton(int index, bool hover, bool small);
QImage DrawDialogButton(int index);  // 0..7
QImage DrawPhraseButton(int index);  // 0 常用语, 1 快捷回复
// `button` 0..4 (吃 碰 杠 胡 过), `state` normal, live or pressed.
QImage DrawOfferButton(int button, int state);
// `state` 0 normal, 1 hover, 2 pressed.
QImage DrawTitleButton(bool close, int state);

}  // namespace artgen
