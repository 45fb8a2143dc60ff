#pragma once
// The table model as plain text, one fact a line, for unattended checks of a
// running client (the integration tests read it; see TAVREL_TABLE_DUMP).
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::app {

// Lines: "round ...", one "seat r ..." per seat, "slot r k kind code image" for the
// slots that hold a tile, "tile i visible left top width height picture z" for
// the 84 tile pictures.
std::string DescribeTable(ClientContext& ctx);

}  // namespace tavrel::app
