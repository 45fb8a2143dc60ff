#pragma once
// Shared look of the picture pack: palette, the CJK font and text helpers.
#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;
class QImage;

namespace artgen {

namespace palette {
inline const QColor kIvory{251, 246, 230};
inline const QColor kIvoryShade{232, 221, 192};
inline const QColor kIvorySide{214, 200, 165};
inline const QColor kTileEdge{92, 76, 52};
inline const QColor kBack{38, 98, 176};       // tile back
inline const QColor kBackDark{24, 66, 128};
inline const QColor kBackLight{84, 144, 214};
inline const QColor kInk{28, 38, 70};         // winds and numbers
inline const QColor kRed{200, 22, 40};
inline const QColor kGreen{12, 122, 62};
inline const QColor kBlue{30, 84, 170};
inline const QColor kFelt{28, 110, 62};
inline const QColor kFeltDark{18, 80, 44};
inline const QColor kWood{122, 74, 34};
inline const QColor kWoodDark{74, 42, 18};
inline const QColor kWoodLight{170, 112, 56};
inline const QColor kGold{236, 192, 96};
inline const QColor kGoldDark{170, 118, 40};
inline const QColor kGoldLight{255, 232, 160};
}  // namespace palette

// Makes the CJK family available (by name, else from its file) and remembers it.
void InitFonts();
QFont CjkFont(qreal pixelSize);

// Outline of text at a large size, for fitting into boxes.
QPainterPath TextPath(const QString& text);

// Scales `path` to fit `box` keeping its aspect, centred.
QPainterPath FitPath(const QPainterPath& path, const QRectF& box);

// Scales `path` like `reference` would fit `box` (so a family of glyphs keeps
// one size), centred on the box.
QPainterPath FitPathLike(const QPainterPath& path, const QPainterPath& reference, const QRectF& box);

// Fills a glyph path, thickened by a stroke of the same colour.
void FillGlyph(QPainter& p, const QPainterPath& path, const QColor& colour, qreal boldness);

// Text with an outline and a soft shadow, fitted into `box`.
void OutlinedText(QPainter& p, const QString& text, const QRectF& box, const QBrush& fill,
                  const QColor& outline, qreal outlineWidth, bool shadow = true);

// The pack's pixel density: 1 draws the design's pixels, 2 the high-density pack
// (twice as many pixels each way). Pictures are always drawn in the design's
// coordinates; the images made below carry the density as their pixel ratio.
void SetPixelRatio(int ratio);
int PixelRatio();

// An image of width x height design pixels at the pack's density.
QImage NewImage(int width, int height);  // transparent ARGB32_Premultiplied
QImage NewOpaqueImage(int width, int height);  // RGB32
// An image's size in design pixels.
int LogicalWidth(const QImage& image);
int LogicalHeight(const QImage& image);
void SetupPainter(QPainter& p);

}  // namespace artgen
