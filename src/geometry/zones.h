#pragma once
// Moving and sizing the borderless window with the mouse: 12-pixel edge zones, the system
// command each starts, and the cursor each shows.

#include "geometry/dpi.h"

namespace lq {

enum class Zone { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

inline constexpr int kEdgeZone = 12;

// The zones are kEdgeZone pixels at 96 DPI, scaled to `dpi`.
Zone EdgeZone(int x, int y, int width, int height, int dpi = kBaseDpi);

// WM_SYSCOMMAND for a press in the zone: SC_SIZE plus the edge code, or SC_MOVE + 2 (0xF012).
unsigned SizeMoveCommand(Zone zone);
// Whether the resize keeps the bottom edge when the height is snapped afterwards.
bool StartsAtTop(Zone zone);

enum class ZoneCursor { Arrow, SizeWE, SizeNS, SizeNESW, SizeNWSE };
ZoneCursor CursorOf(Zone zone);

// In edit mode the zone cursors always show; in view mode it depends on hover hiding, since
// the window may be about to vanish under the cursor.
bool ZoneCursorShown(bool editMode, bool hideWhenOnMouse, bool hideWhenOnEdge, bool shiftDown);

}  // namespace lq
