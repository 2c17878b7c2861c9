#pragma once
// Where an alarm window opens. Several alarms of one minute each start their own program, so a
// new window looks at the alarm windows already open and steps diagonally past them.

#include <span>

#include "geometry/layout.h"

namespace lq {

// The first free slot of a diagonal cascade that moves `step` pixels right and down per slot.
// The first slot centres the window across `work` with its top a quarter of the way down, so
// windows of different heights (a longer text makes a taller window) share one cascade. An axis that runs out of room wraps round to
// the work area's edge, so every slot lies inside the work area (a window larger than the work
// area is put at its left or top edge). A slot is taken when an open window's top-left corner
// lies within half a step of it on both axes. `step` below 1 counts as 1.
Point PlaceAlarmWindow(const Rect& work, int width, int height, int step, std::span<const Point> open);

}  // namespace lq
