#include "round/table_reset.h"

#include "app/client_context.h"
#include "view/layout.h"

namespace tavrel::round {

void ResetTableForNewHand(ClientContext& ctx) {
  // The round flow clears the tile pictures before the layout and the seats after it
  // (ClearTablePictures, ResetSeats); they join here, in that order.
  view::ResetLayout(ctx);
}

}  // namespace tavrel::round
