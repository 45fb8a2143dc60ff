#pragma once
// The canonical order of a concealed hand: dots, characters, bamboo, honours,
// each by ascending rank.
#include <vector>

#include "round/table_model.h"

namespace tavrel::round {

// Exchange sort of the codes of n slots from firstConcealed; kind and imageIndex
// stay in their slots. Slots beyond the row are left alone.
void SortConcealedCodes(PlayerEntry& seat, int n);
// The same order for a list of codes.
void SortCodeList(std::vector<int>& codes);

}  // namespace tavrel::round
