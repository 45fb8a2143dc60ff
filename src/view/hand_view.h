#pragma once
// The local player's concealed row as pictures: sorting and the own-tile tests.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// Sorts n concealed slots of relative seat r and shows their new faces. Once the
// wild tile is known, the own row reloads only the slots whose tile changed.
void SortAndShowHand(ClientContext& ctx, int r, int n);

// The own concealed slots first .. end - 1, kept inside the row however many
// tiles the count claims.
struct SlotRange {
  int first = 0, end = 0;
  bool Contains(int k) const { return k >= first && k < end; }
  bool Empty() const { return end <= first; }
  int Last() const { return end - 1; }
};
SlotRange OwnConcealedSlots(const ClientContext& ctx);
// The own hand holds 3n + 2 concealed tiles: a discard is due.
bool OwnHandMustDiscard(const ClientContext& ctx);

// True when imageIndex shows one of the own concealed tiles.
bool IsOwnHandImage(const ClientContext& ctx, int imageIndex);
// The own concealed slot shown by imageIndex, or -1.
int OwnHandSlotOf(const ClientContext& ctx, int imageIndex);

}  // namespace tavrel::view
