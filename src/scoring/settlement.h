#pragma once
// The settlement of a won hand: the four score records (Settlement), the sheet with
// its figures and pattern lines, and the booking of the hand (the players' gold,
// points, wins and losses, level titles, the history row and the running totals).
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

// Handler of Settlement (17): one seat's record; the fourth builds the sheet (or hands
// it to the prop plug-in's show).
void OnSettlement(ClientContext& ctx);
// Builds the sheet from the four stored records and books the hand; once per hand.
void BuildSettlementSheet(ClientContext& ctx);

// A multiplier caption as a number: empty or not a number counts as 0.
double MultiplierValue(const std::string& caption);
// A whole number nearest to v, halves to the even neighbour.
double RoundHalfEven(double v);

// The prop plug-in's lines and score for seat s at the end of its column: the lines
// between two empty lines (a piece ending in a colour number colours the column),
// the score added to the seat's result, gold and running total.
void AppendPropLines(ClientContext& ctx, int s);
// Seat s's gold in its gold label, with the unit.
void ShowGoldIn(ClientContext& ctx, int s, const std::string& unit);

}  // namespace tavrel::scoring
