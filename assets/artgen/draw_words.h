#pragma once
// Words and bubbles shown beside the seats.
#include <QImage>

namespace artgen {

QImage DrawClaimWord(int index);           // 0..7 as kClaimWords
QImage DrawFollowDealerBubble(int seat);   // relative seat 1..3
QImage DrawSpeakBox(int seat);             // relative seat 0..3, key-colour background

}  // namespace artgen
