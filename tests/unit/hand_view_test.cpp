#include <gtest/gtest.h>

#include <vector>

#include "round/hand_order.h"
#include "view/hand_view.h"
#include "view/layout.h"
#include "view/pictures.h"
#include "view_test_support.h"

namespace tavrel {
namespace {

using testing_support::LaidOutTable;

// Puts codes into the concealed slots of seat r, images from firstImage on, faces shown.
void Deal(LaidOutTable& t, int r, const std::vector<int>& codes, int firstImage) {
  auto& seat = t.ctx->table.custom[r];
  seat.concealedCount = static_cast<std::int16_t>(codes.size());
  for (std::size_t k = 0; k < codes.size(); ++k) {
    auto& slot = seat.tiles[seat.firstConcealed + k];
    slot = {1, static_cast<std::int16_t>(codes[k]), static_cast<std::int16_t>(firstImage + k)};
    view::LoadTilePicture(*t.ctx, slot.imageIndex, view::TilePictureIndex(slot.code, r) + (r == 0 ? 144 : 0));
  }
}

std::vector<int> Codes(const LaidOutTable& t, int r) {
  const auto& seat = t.ctx->table.custom[r];
  std::vector<int> out;
  for (int k = 0; k < seat.concealedCount; ++k) out.push_back(seat.tiles[seat.firstConcealed + k].code);
  return out;
}

TEST(CanonicalOrder, DotsCharactersBambooHonoursByRank) {
  round::PlayerEntry seat;
  const int codes[] = {0x11, 0x23, 0x41, 0x89, 0x21};
  for (int k = 0; k < 5; ++k) seat.tiles[4 + k] = {1, static_cast<std::int16_t>(codes[k]), static_cast<std::int16_t>(10 + k)};
  round::SortConcealedCodes(seat, 5);
  const int sorted[] = {0x89, 0x41, 0x21, 0x23, 0x11};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(seat.tiles[4 + k].code, sorted[k]);
    EXPECT_EQ(seat.tiles[4 + k].imageIndex, 10 + k) << "pictures stay in their slots";
  }
}

TEST(CanonicalOrder, ADrawnTileKeptOutOfTheSortStaysLast) {
  round::PlayerEntry seat;
  const int codes[] = {0x29, 0x21, 0x11};
  for (int k = 0; k < 3; ++k) seat.tiles[4 + k].code = static_cast<std::int16_t>(codes[k]);
  round::SortConcealedCodes(seat, 2);
  EXPECT_EQ(seat.tiles[4].code, 0x21);
  EXPECT_EQ(seat.tiles[5].code, 0x29);
  EXPECT_EQ(seat.tiles[6].code, 0x11);
}

TEST(SortAndShowHand, BeforeTheWildTileEverySlotGetsItsStandingFace) {
  LaidOutTable t;
  Deal(t, 0, {0x11, 0x23, 0x41, 0x89, 0x21}, 10);
  view::SortAndShowHand(*t.ctx, 0, 5);
  EXPECT_EQ(Codes(t, 0), (std::vector<int>{0x89, 0x41, 0x21, 0x23, 0x11}));
  const int expected[] = {0x89, 0x41, 0x21, 0x23, 0x11};
  for (int k = 0; k < 5; ++k)
    EXPECT_EQ(t.control("MJ_Image", 10 + k).Picture(), 201 + view::TilePictureIndex(expected[k], 4));
}

// After the wild tile is known, a failed reload would hide the tile: with every
// tile picture missing, a slot that stays visible was not reloaded.
TEST(SortAndShowHand, DuringPlayOnlyChangedSlotsAreReloaded) {
  const struct {
    const char* what;
    std::vector<int> hand;
    int removeSlot;  // -1: none
    int drawn;       // 0: none
    std::vector<bool> reloaded;
  } cases[] = {
      {"after a discard", {0x81, 0x82, 0x41, 0x42, 0x21}, 1, 0, {false, false, false, false}},
      {"after a draw", {0x81, 0x82, 0x41, 0x42, 0x21}, -1, 0x43, {false, false, false, false, true, true}},
  };
  for (const auto& c : cases) {
    LaidOutTable t;
    t.ctx->table.WildTile = 0x27;
    Deal(t, 0, c.hand, 10);
    auto& own = t.ctx->table.custom[0];
    if (c.removeSlot >= 0) {  // close the gap as the discard does: whole slots move
      for (int k = own.firstConcealed + c.removeSlot; k < own.firstConcealed + own.concealedCount - 1; ++k)
        own.tiles[k] = own.tiles[k + 1];
      --own.concealedCount;
    }
    if (c.drawn) {
      own.tiles[own.firstConcealed + own.concealedCount] = {1, static_cast<std::int16_t>(c.drawn), 30};
      view::LoadTilePicture(*t.ctx, 30, view::TilePictureIndex(c.drawn, 4));
      ++own.concealedCount;
    }
    for (int id = 201; id <= 380; ++id) t.platform.simPictures().missing.insert(id);
    view::SortAndShowHand(*t.ctx, 0, own.concealedCount);
    for (int k = 0; k < own.concealedCount; ++k) {
      const int image = own.tiles[own.firstConcealed + k].imageIndex;
      EXPECT_EQ(!t.control("MJ_Image", image).Visible(), c.reloaded[k]) << c.what << ", slot " << k;
    }
  }
}

TEST(SortAndShowHand, OtherSeatsReloadEverySlotInTheirSet) {
  LaidOutTable t;
  t.ctx->table.WildTile = 0x27;
  Deal(t, 2, {0x21, 0x81}, 40);
  view::SortAndShowHand(*t.ctx, 2, 2);
  EXPECT_EQ(t.control("MJ_Image", 40).Picture(), 201 + view::TilePictureIndex(0x81, 2));
  EXPECT_EQ(t.control("MJ_Image", 41).Picture(), 201 + view::TilePictureIndex(0x21, 2));
}

TEST(OwnHandImage, OnlyConcealedOwnTilesMatch) {
  LaidOutTable t;
  Deal(t, 0, {0x11, 0x12, 0x13}, 20);
  auto& own = t.ctx->table.custom[0];
  own.tiles[own.firstConcealed + 3].imageIndex = 70;  // past the concealed count
  own.tiles[0] = {3, 0x15, 60};                        // a meld tile
  EXPECT_EQ(view::OwnHandSlotOf(*t.ctx, 21), own.firstConcealed + 1);
  EXPECT_TRUE(view::IsOwnHandImage(*t.ctx, 22));
  for (int other : {60, 70, 0, 83, -1}) {
    EXPECT_EQ(view::OwnHandSlotOf(*t.ctx, other), -1) << other;
    EXPECT_FALSE(view::IsOwnHandImage(*t.ctx, other)) << other;
  }
}

}  // namespace
}  // namespace tavrel
