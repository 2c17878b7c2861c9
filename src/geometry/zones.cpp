#include "geometry/zones.h"

namespace lq {

Zone EdgeZone(int x, int y, int width, int height, int dpi) {
  const int zone = ScaleToDpi(kEdgeZone, dpi);
  const bool left = x < zone;
  const bool right = x > width - zone;
  const bool top = y < zone;
  const bool bottom = y > height - zone;
  if (left) return top ? Zone::TopLeft : (bottom ? Zone::BottomLeft : Zone::Left);
  if (right) return top ? Zone::TopRight : (bottom ? Zone::BottomRight : Zone::Right);
  if (top) return Zone::Top;
  if (bottom) return Zone::Bottom;
  return Zone::None;
}

unsigned SizeMoveCommand(Zone zone) {
  switch (zone) {
    case Zone::TopLeft: return 0xF004;
    case Zone::BottomLeft: return 0xF007;
    case Zone::Left: return 0xF001;
    case Zone::TopRight: return 0xF005;
    case Zone::BottomRight: return 0xF008;
    case Zone::Right: return 0xF002;
    case Zone::Top: return 0xF003;
    case Zone::Bottom: return 0xF006;
    case Zone::None: break;
  }
  return 0xF012;
}

bool StartsAtTop(Zone zone) { return zone == Zone::Top || zone == Zone::TopLeft || zone == Zone::TopRight; }

ZoneCursor CursorOf(Zone zone) {
  switch (zone) {
    case Zone::Left:
    case Zone::Right: return ZoneCursor::SizeWE;
    case Zone::Top:
    case Zone::Bottom: return ZoneCursor::SizeNS;
    case Zone::BottomLeft:
    case Zone::TopRight: return ZoneCursor::SizeNESW;
    case Zone::BottomRight:
    case Zone::TopLeft: return ZoneCursor::SizeNWSE;
    case Zone::None: break;
  }
  return ZoneCursor::Arrow;
}

bool ZoneCursorShown(bool editMode, bool hideWhenOnMouse, bool hideWhenOnEdge, bool shiftDown) {
  if (editMode) return true;
  if (!hideWhenOnMouse) return !shiftDown;
  return hideWhenOnEdge ? true : shiftDown;
}

}  // namespace lq
