#pragma once
// The table model as plain text, one fact a line, for unattended checks of a
// running client (the integration tests read it; see TAVREL_TABLE_DUMP).
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::app {

// Lines: "round ...", one "seat r ..." per seat, one "player p ..." per position
// (ready mark, avatar picture, table name, name label last), "sysmsg list text" per
// system message, "countdown ...", "seatchange ...", "card ..." (the player card),
// "sound ..." (the switches), "vosset visible left top width height" and its buttons
// "vosset-control name index left top width height picture" (within the window),
// "claims ..." (the last claim result, the wins, the winner), "gangtops r kinds...",
// "revealed r n=.. codes" and "peek count=.. position:code" of the showdown,
// "sheet visible=..", "sheetline i text" per line of Score's lists, "history visible=..",
// "history row<Num item> |<Grade(0)> |.. |<Grade(3)>" per hand, "history total s text",
// "slot r k kind code image" for the slots that hold a tile, "tile i visible left
// top width height picture z" for the 84 tile pictures, "input ..." for the
// player's decision, and "control name index visible enabled left top width height
// picture caption" for the table surface, the window buttons, the offer buttons,
// the gang chooser, the countdown and the claim bubbles and words (places within the window, so that a script
// can point at them); "props ..." (the plug-in's state and the chest phase) and the controls
// Bank, LbProp and ImgProp(0..14). A caption's line breaks read "|".
std::string DescribeTable(ClientContext& ctx);

}  // namespace tavrel::app
