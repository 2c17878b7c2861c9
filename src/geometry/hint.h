#pragma once
// Where the attachment hint goes: centred above the cursor point with its bottom edge about
// half a line above it, and pushed back onto the screen (the monitor) at every edge.

#include "geometry/layout.h"

namespace lq {

// The hint window for a text of `textWidth` x `textHeight` pixels at the screen point `anchor`:
// the label plus a one-pixel frame all round. A text wider than the screen is cut to it, so
// the label shows its beginning.
Rect PlaceHint(Point anchor, int textWidth, int textHeight, const Rect& screen);

}  // namespace lq
