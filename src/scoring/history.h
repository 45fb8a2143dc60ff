#pragma once
// The history window Hero: one row per finished hand in the five lists, and the
// running totals under them.
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

// "金币" for a seat whose amounts are in gold coins, "金条" otherwise.
std::string UnitText(bool inGold);
// Spaces in front of a text up to n characters (longer text unchanged).
std::string Pad(const std::string& text, int n);
// A whole amount as the sheet writes it: plain decimal, no grouping.
std::string Amount(double v);

// The hand number as the new row of Num.
void AddHandRow(ClientContext& ctx, int handNo);
// Seat s's result as the new row of Grade(s).
void AddGradeRow(ClientContext& ctx, int s, double amount, const std::string& unit);
// Seat s's running total under its column.
void ShowRunningTotal(ClientContext& ctx, int s, const std::string& unit);

// The table is closed: the sheet's and the history's entries emptied, both windows
// hidden, the hands counted afresh, the hand end's counts back to the start.
void ForgetHands(ClientContext& ctx);

}  // namespace tavrel::scoring
