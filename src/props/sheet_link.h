#pragma once
// Where the props meet the hand end's sheet.
#include "props/prop_plugin.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::props {

// The plug-in's lines and gold of the hand, per seat, for the sheet's columns.
void HandResultsToSheet(ClientContext& ctx, const ScoreInfo& score);
// The sheet of the hand: the drawn hand's (after the show) or the settlement's.
void BuildSheet(ClientContext& ctx, bool drawnHand);

}  // namespace tavrel::props
