#pragma once
// Moving and sizing the borderless window by its edges: which zone the mouse is over, the
// cursor it shows there, and whether a sizing began at the top edge (the height is then
// snapped to whole rows with the bottom edge staying).

#include <windows.h>

#include "geometry/zones.h"

namespace lq::win {

class EdgeDrag {
 public:
  // The system's move or size loop for the zone at (x, y), in the window's coordinates.
  void Press(HWND window, int x, int y, int dpi);
  // `cursorShown`: whether the zone's cursor shows at all (ZoneCursorShown).
  void Hover(HWND window, int x, int y, int dpi, bool cursorShown);
  HCURSOR Cursor() const;
  // The mouse is over the grid: an edge's cursor still showing goes back to the arrow.
  void OffEdges();
  // Whether the last sizing began at the top edge; asked once.
  bool TakeTopEdge();

 private:
  bool topEdgeFlag_ = false;
  Zone cursorZone_ = Zone::None;
  bool zoneCursorShown_ = false;
};

}  // namespace lq::win
