#pragma once
// The settlement sheet (Score) and the history window (Hero): their layout and
// pictures, dragging, closing, the history's rows that move together, the reload of
// a hand by double-click, and the results and history buttons.
namespace tavrel {
struct ClientContext;
}
namespace tavrel::platform {
class Form;
}

namespace tavrel::view {

// Builds both windows (hidden) and installs their input handlers.
void CreateSheetWindows(ClientContext& ctx);
// Loads a window once: see-through, centred over the table (the history window also
// restored and its lists scrolled to the last hand). Later loads do nothing.
void LoadSheetWindow(ClientContext& ctx, platform::Form& form);
// Centres a window over the table surface Pic1, in screen pixels.
void CentreOverTable(ClientContext& ctx, platform::Form& form);
// A finished sheet: loaded and, unless the table window is minimised, shown.
void ShowSheet(ClientContext& ctx);

// 战绩: the sheet of the latest finished hand, or hidden when it is shown.
void ToggleResults(ClientContext& ctx);
// 历史: the history window, or hidden when it is shown.
void ToggleHistory(ClientContext& ctx);
// A double-click on a history row: that hand's sheet, in front.
void ShowSelectedHand(ClientContext& ctx);
// The history's five lists select the same row: the one just chosen in Num (-1) or Grade(k).
void SelectHistoryRow(ClientContext& ctx, int gradeIndex);

}  // namespace tavrel::view
