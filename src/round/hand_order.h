#pragma once
// The canonical order of a concealed hand: dots, characters, bamboo, honours,
// each by ascending rank.
#include "round/table_model.h"

namespace tavrel::round {

// Exchange sort of the codes of n slots from firstConcealed; kind and imageIndex
// stay in their slots. Slots beyond the row are left alone.
void SortConcealedCodes(PlayerEntry& seat, int n);

}  // namespace tavrel::round
