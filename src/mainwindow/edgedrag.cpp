#include "mainwindow/edgedrag.h"

#include <utility>

namespace lq::win {
namespace {

Zone ZoneAt(HWND window, int x, int y, int dpi) {
  RECT rc{};
  ::GetWindowRect(window, &rc);
  return EdgeZone(x, y, rc.right - rc.left, rc.bottom - rc.top, dpi);
}

}  // namespace

void EdgeDrag::Press(HWND window, int x, int y, int dpi) {
  topEdgeFlag_ = false;
  ::ReleaseCapture();
  const Zone zone = ZoneAt(window, x, y, dpi);
  if (StartsAtTop(zone)) topEdgeFlag_ = true;
  ::SendMessageW(window, WM_SYSCOMMAND, SizeMoveCommand(zone), 0);
}

void EdgeDrag::Hover(HWND window, int x, int y, int dpi, bool cursorShown) {
  cursorZone_ = ZoneAt(window, x, y, dpi);
  zoneCursorShown_ = cursorShown;
  ::SetCursor(Cursor());
}

HCURSOR EdgeDrag::Cursor() const {
  const ZoneCursor c = zoneCursorShown_ ? CursorOf(cursorZone_) : ZoneCursor::Arrow;
  switch (c) {
    case ZoneCursor::SizeWE: return ::LoadCursorW(nullptr, IDC_SIZEWE);
    case ZoneCursor::SizeNS: return ::LoadCursorW(nullptr, IDC_SIZENS);
    case ZoneCursor::SizeNESW: return ::LoadCursorW(nullptr, IDC_SIZENESW);
    case ZoneCursor::SizeNWSE: return ::LoadCursorW(nullptr, IDC_SIZENWSE);
    case ZoneCursor::Arrow: break;
  }
  return ::LoadCursorW(nullptr, IDC_ARROW);
}

void EdgeDrag::OffEdges() {
  if (!zoneCursorShown_ || CursorOf(cursorZone_) == ZoneCursor::Arrow) return;
  zoneCursorShown_ = false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

bool EdgeDrag::TakeTopEdge() { return std::exchange(topEdgeFlag_, false); }

}  // namespace lq::win
