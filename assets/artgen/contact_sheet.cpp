#include "contact_sheet.h"

#include <QPainter>
#include <algorithm>
#include <iterator>

#include "art_style.h"
#include "pictures.h"
#include "view/picture_catalogue.h"

namespace artgen {

namespace v = tavrel::view;

namespace {

constexpr int kSheetWidth = 1500;
constexpr int kMargin = 12;
constexpr int kLabelHeight = 30;
constexpr QSize kMaxThumb(256, 192);
// A new row starts at each of these ids, so that related pictures stay together.
constexpr int kRowStarts[] = {101, 126, 130, 141, 161, 183, 191, 201, 237, 273, 309, 345, 381,
                              401, 418, 565, 600, 900, 902, 919};

void Checkerboard(QPainter& p, const QRect& r) {
  p.save();
  p.setClipRect(r);
  for (int y = r.top(); y < r.bottom(); y += 8)
    for (int x = r.left(); x < r.right(); x += 8)
      p.fillRect(QRect(x, y, 8, 8), ((x - r.left()) / 8 + (y - r.top()) / 8) % 2 ? QColor(200, 200, 200)
                                                                                : QColor(235, 235, 235));
  p.restore();
}

struct Cell {
  QImage picture;
  QSize thumb;
  QString label;
  QString item;
  int width;
};

Cell MakeCell(const v::PictureInfo& info) {
  Cell cell{DrawPicture(info.id), {}, QString::number(info.id), QString::fromUtf8(info.item), 0};
  cell.thumb = cell.picture.size();
  if (cell.thumb.width() > kMaxThumb.width() || cell.thumb.height() > kMaxThumb.height())
    cell.thumb.scale(kMaxThumb, Qt::KeepAspectRatio);
  cell.width = std::max(cell.thumb.width(), 40);
  return cell;
}

}  // namespace

QImage DrawContactSheet() {
  // Lay the cells out first to know the sheet's height.
  struct Placed {
    Cell cell;
    QPoint at;
  };
  std::vector<Placed> placed;
  int x = kMargin, y = kMargin, rowHeight = 0;
  for (const auto& info : v::kPictureCatalogue) {
    Cell cell = MakeCell(info);
    const bool rowStart = std::find(std::begin(kRowStarts), std::end(kRowStarts), info.id) != std::end(kRowStarts);
    if ((rowStart && x > kMargin) || x + cell.width > kSheetWidth - kMargin) {
      x = kMargin;
      y += rowHeight + kMargin;
      rowHeight = 0;
    }
    rowHeight = std::max(rowHeight, cell.thumb.height() + kLabelHeight);
    placed.push_back({cell, QPoint(x, y)});
    x += cell.width + kMargin;
  }
  QImage sheet(kSheetWidth, y + rowHeight + kMargin, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(QColor(96, 100, 108));
  QPainter p(&sheet);
  SetupPainter(p);
  const QFont idFont = CjkFont(13);
  const QFont itemFont = CjkFont(10);
  for (const Placed& item : placed) {
    const QRect target(item.at + QPoint((item.cell.width - item.cell.thumb.width()) / 2, 0), item.cell.thumb);
    Checkerboard(p, target);
    p.drawImage(target, item.cell.picture);
    const QRect label(item.at.x() - kMargin / 2, target.bottom() + 2, item.cell.width + kMargin, 15);
    p.setPen(Qt::white);
    p.setFont(idFont);
    p.drawText(label, Qt::AlignHCenter | Qt::AlignTop, item.cell.label);
    p.setPen(QColor(220, 224, 230));
    p.setFont(itemFont);
    p.drawText(label.translated(0, 14), Qt::AlignHCenter | Qt::AlignTop,
               p.fontMetrics().elidedText(item.cell.item, Qt::ElideRight, label.width()));
  }
  return sheet;
}

namespace {

void PutTile(QPainter& p, int set, int pos, const QRect& at) {
  p.drawImage(at, DrawPicture(v::TilePictureId(set, pos)));
}

int AllFacePos(int i) { return i < 7 ? i : i + 2; }  // skips the two backs

}  // namespace

QImage DrawTablePreview() {
  QImage table = DrawPicture(v::kPicTableBackground).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter p(&table);
  SetupPainter(p);
  // Own standing hand at 48 x 78: every face once, in two rows.
  for (int i = 0; i < 17; ++i) PutTile(p, v::kTileSetOwnStanding, AllFacePos(i), QRect(19 + 48 * i, 564, 48, 78));
  for (int i = 17; i < 34; ++i)
    PutTile(p, v::kTileSetOwnStanding, AllFacePos(i), QRect(19 + 48 * (i - 17), 646, 48, 78));
  // Own discards at 36 x 50.
  for (int i = 0; i < 34; ++i)
    PutTile(p, v::kTileSetOwnLying, AllFacePos(i), QRect(300 + 36 * (i % 12), 380 + 50 * (i / 12) - 100, 36, 50));
  // Left and right discards at 48 x 35, top at 30 x 36.
  for (int i = 0; i < 34; ++i) {
    PutTile(p, v::kTileSetLeft, AllFacePos(i), QRect(120 + 48 * (i / 12), 110 + 35 * (i % 12), 48, 35));
    PutTile(p, v::kTileSetRight, AllFacePos(i), QRect(760 + 48 * (i / 12), 110 + 35 * (i % 12), 48, 35));
    PutTile(p, v::kTileSetTop, AllFacePos(i), QRect(300 + 30 * (i % 15), 90 + 36 * (i / 15), 30, 36));
  }
  // Backs: standing hands of the others, and wall stacks.
  for (int i = 0; i < 8; ++i) {
    PutTile(p, v::kTileSetLeft, v::kTilePosStandingBack, QRect(20, 110 + 30 * i, 33, 66));
    PutTile(p, v::kTileSetRight, v::kTilePosStandingBack, QRect(970, 110 + 30 * i, 34, 66));
    PutTile(p, v::kTileSetTop, v::kTilePosStandingBack, QRect(300 + 34 * i, 20, 34, 50));
    PutTile(p, v::kTileSetOwnLying, v::kTilePosLyingBack, QRect(600 + 36 * i, 22 + 470, 36, 50));
    PutTile(p, v::kTileSetOwnLying, v::kTilePosLyingBack, QRect(600 + 36 * i, 470, 36, 50));
    PutTile(p, v::kTileSetLeft, v::kTilePosLyingBack, QRect(60, 420 + 15 * i, 48, 35));
    PutTile(p, v::kTileSetOwnStanding, v::kTilePosStandingBack, QRect(600 + 48 * i, 20, 48, 78));
  }
  return table;
}

}  // namespace artgen
