#pragma once
// Tile engravings in a canonical upright face of kFaceWidth x kFaceHeight
// units; the caller maps that face onto the picture (scaled and turned).
class QPainter;

namespace artgen {

inline constexpr double kFaceWidth = 60;
inline constexpr double kFaceHeight = 80;

// `pos`: 0..6 honours, 9..17 bamboo, 18..26 characters, 27..35 dots.
void PaintFaceEngraving(QPainter& p, int pos);

}  // namespace artgen
