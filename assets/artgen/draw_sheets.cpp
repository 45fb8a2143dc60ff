#include "draw_sheets.h"

#include <QPainter>

#include "art_style.h"
#include "view/picture_catalogue.h"

namespace artgen {

using namespace palette;
namespace v = tavrel::view;

namespace {

const QColor kPaper{246, 240, 222};
const QColor kPaperShade{226, 214, 182};
const QColor kRule{178, 150, 96};

// A wooden frame around paper, with a title plaque at the top centre.
QImage Panel(v::PictureSize size, const QString& title, qreal titleWidth) {
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const QRectF outer(0.5, 0.5, size.width - 1, size.height - 1);
  QLinearGradient wood(outer.topLeft(), outer.bottomRight());
  wood.setColorAt(0, kWoodLight);
  wood.setColorAt(0.5, kWood);
  wood.setColorAt(1, kWoodDark);
  p.setPen(QPen(kWoodDark, 1));
  p.setBrush(wood);
  p.drawRoundedRect(outer, 10, 10);
  const QRectF paper = outer.adjusted(7, 7, -7, -7);
  QLinearGradient sheet(paper.topLeft(), paper.bottomLeft());
  sheet.setColorAt(0, kPaper);
  sheet.setColorAt(1, kPaperShade);
  p.setPen(QPen(kGoldDark, 1.5));
  p.setBrush(sheet);
  p.drawRoundedRect(paper, 6, 6);
  // Title plaque.
  const QRectF plaque(size.width / 2.0 - titleWidth / 2, 3, titleWidth, 26);
  QLinearGradient gold(plaque.topLeft(), plaque.bottomLeft());
  gold.setColorAt(0, kGoldLight);
  gold.setColorAt(0.5, kGold);
  gold.setColorAt(1, kGoldDark);
  p.setPen(QPen(kWoodDark, 1));
  p.setBrush(gold);
  p.drawRoundedRect(plaque, 8, 8);
  OutlinedText(p, title, plaque.adjusted(10, 4, -10, -4), QBrush(kRed), kGoldLight, 1.5, false);
  return image;
}

void Rule(QPainter& p, qreal x1, qreal y, qreal x2) {
  p.setPen(QPen(kRule, 1, Qt::DashLine));
  p.drawLine(QPointF(x1, y), QPointF(x2, y));
}

}  // namespace

QImage DrawSheetBack() {
  QImage image = Panel(v::kSheetSize, QString::fromUtf8("结  算"), 120);
  QPainter p(&image);
  SetupPainter(p);
  // Column separators between the four seats' columns (columns 154 apart from 16).
  p.setPen(QPen(kRule, 1));
  for (int s = 1; s < 4; ++s) {
    const qreal x = 16 + s * 154 - 3;
    p.drawLine(QPointF(x, 40), QPointF(x, v::kSheetSize.height - 14));
  }
  Rule(p, 14, 92, v::kSheetSize.width - 14);
  Rule(p, 14, 399, v::kSheetSize.width - 14);
  return image;
}

QImage DrawHistoryBack() {
  QImage image = Panel(v::kHistorySize, QString::fromUtf8("英 雄 榜"), 140);
  QPainter p(&image);
  SetupPainter(p);
  Rule(p, 14, 109, v::kHistorySize.width - 14);
  Rule(p, 14, 337, v::kHistorySize.width - 14);
  return image;
}

QImage DrawSheetClose() {
  const v::PictureSize size = v::kSheetCloseSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const QRectF disc(1, 1, size.width - 2, size.height - 2);
  QRadialGradient g(disc.center() - QPointF(3, 3), disc.width() * 0.7);
  g.setColorAt(0, QColor(236, 96, 80));
  g.setColorAt(1, QColor(150, 24, 20));
  p.setPen(QPen(kWoodDark, 1));
  p.setBrush(g);
  p.drawEllipse(disc);
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
  const qreal in = size.width * 0.32;
  p.drawLine(QPointF(in, in), QPointF(size.width - in, size.height - in));
  p.drawLine(QPointF(size.width - in, in), QPointF(in, size.height - in));
  return image;
}

}  // namespace artgen
