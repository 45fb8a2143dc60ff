#pragma once
// State of the table view: layout scale, picture tables, per-seat tile sizes.
namespace tavrel::view {

struct ViewState {
  double LayoutScale = 1.0;
};

}  // namespace tavrel::view
