#include "geometry/hover.h"

namespace lq {
namespace {

bool Inside(Point p, const Rect& r, int margin) {
  return r.left + margin <= p.x && p.x <= r.right - margin && r.top + margin <= p.y && p.y <= r.bottom - margin;
}

}  // namespace

HoverDecision DecideHover(const HoverInput& in) {
  HoverDecision d{!in.HoverHidden, in.HoverHidden};
  if (in.UserHidden) {
    d.visible = false;
    return d;
  }
  const Point cursor = in.cursor.value_or(Point{0, 0});
  if (in.editMode || in.settingsShowing || in.syncShowing) return d;

  // Without Shift the cursor hides the window when HideWhenOnMouse is set; with Shift when it
  // is clear.
  const bool hidingWanted = in.HideWhenOnMouse != in.shiftDown;
  if (!in.HoverHidden) {
    const int margin = in.HideWhenOnEdge ? in.edgeMargin : 0;
    if (Inside(cursor, in.window, margin) && !in.leftDown && !in.rightDown && hidingWanted) {
      d = HoverDecision{false, true};
    }
  } else if (!Inside(cursor, in.window, 0) || !hidingWanted) {
    d = HoverDecision{true, false};
  }
  return d;
}

}  // namespace lq
