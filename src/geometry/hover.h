#pragma once
// Hover hiding: whether the main window shows in this tick of the main timer. In view mode it
// may hide while the mouse cursor is over it (or, with HideWhenOnEdge, 5 pixels inside its
// edge); Shift reverses HideWhenOnMouse, and a held mouse button keeps it from hiding so that
// a drag across it is not interrupted.

#include <optional>

#include "geometry/layout.h"

namespace lq {

inline constexpr int kHoverEdgeMargin = 5;

struct HoverInput {
  bool UserHidden = false;
  bool HoverHidden = false;
  bool editMode = true;
  bool settingsShowing = false;  // TfrmConfig
  bool syncShowing = false;      // TfrmSync
  std::optional<Point> cursor;   // screen coordinates; empty when they could not be read
  bool leftDown = false;         // the most significant bit of the asynchronous key state
  bool rightDown = false;
  bool shiftDown = false;
  Rect window;  // the window's screen rectangle: right = Left + Width, bottom = Top + Height
  bool HideWhenOnMouse = false;
  bool HideWhenOnEdge = false;
  int edgeMargin = kHoverEdgeMargin;  // in pixels at the window's DPI
};

struct HoverDecision {
  bool visible = true;
  bool HoverHidden = false;  // the new value
};

// Bounds are inclusive on all four sides. A cursor that could not be read counts as (0, 0).
// UserHidden always hides and leaves HoverHidden alone, as do edit mode and the two dialogs,
// which keep the window as it was. Reappearing under the cursor (Shift reversing the hiding
// condition) clears HoverHidden, so the next tick may hide the window again by the same rule.
HoverDecision DecideHover(const HoverInput& in);

}  // namespace lq
