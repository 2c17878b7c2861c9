// View mode's side of the main window: the view image and its clock labels, the transparency,
// and moving and sizing the borderless window with the mouse.
#include "mainwindow/viewmode.h"

#include <algorithm>
#include <optional>

#include "app/application.h"
#include "geometry/clock.h"
#include "mainwindow/childwindows.h"
#include "mainwindow/gridpainter.h"
#include "mainwindow/taskgrid.h"
#include "platform/codepage.h"
#include "settings/colors.h"

namespace lq::win {

ViewMode::ViewMode(Application& app, GridPainter& painter, Callbacks callbacks)
    : clock_(app.clock), list_(app.list), settings_(app.settings), painter_(painter), cb_(std::move(callbacks)) {}

void ViewMode::Attach(HWND window, HWND panel) {
  window_ = window;
  panel_ = panel;
}

void ViewMode::SetAlpha(int alpha) {
  const LONG_PTR ex = ::GetWindowLongPtrW(window_, GWL_EXSTYLE);
  if (alpha >= 255) {
    if (ex & WS_EX_LAYERED) ::SetWindowLongPtrW(window_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    return;
  }
  if (!(ex & WS_EX_LAYERED)) ::SetWindowLongPtrW(window_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), LWA_ALPHA);
}

void ViewMode::ApplyTransparency() { SetAlpha(cb_.editMode() ? settings_.EditAlpha : settings_.ViewAlpha); }

void ViewMode::TakeViewImage() {
  // The window as view mode draws it: the panel's bevel, the grid's edge, and the grid painted
  // in view-mode style (no highlighted row, short dates, the inactive header).
  RECT rc{};
  ::GetClientRect(window_, &rc);
  std::optional<MemoryCanvas> made;
  {
    WindowDc screen(window_);
    made.emplace(screen, rc.right, rc.bottom);
  }
  MemoryCanvas& canvas = *made;
  const HDC dc = canvas.Dc();
  ::FillRect(dc, &rc, cb_.background());
  RECT bevel = rc;
  ::DrawEdge(dc, &bevel, BDR_RAISEDINNER, BF_RECT);
  const int inset = ScaleToDpi(4, cb_.dpi());
  RECT gridRect{inset, inset, rc.right - inset, rc.bottom - inset};
  ::DrawEdge(dc, &gridRect, EDGE_SUNKEN, BF_RECT);
  const Point origin = cb_.gridOrigin();
  POINT old{};
  ::SetViewportOrgEx(dc, origin.x, origin.y, &old);
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, 0, 0, cb_.grid().ClientWidth(), cb_.grid().ClientHeight());
  cb_.grid().PaintTo(dc);
  ::RestoreDC(dc, saved);
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  viewImage_.SetPicture(Bitmap(canvas.DetachBitmap()));
}

void ViewMode::RefreshViewImage() {
  ::ShowWindow(panel_, SW_SHOWNA);
  viewImage_.Hide();
  TakeViewImage();
  viewImage_.Show();
  ::ShowWindow(panel_, SW_HIDE);
}

void ViewMode::PlaceClockLabels() {
  const int available = cb_.grid().ColWidth(colText) - (cb_.editMode() ? HeaderButtonsRoom(cb_.dpi()) : 0);
  const RECT cell = cb_.grid().CellRect(colText, 0);
  const Point origin = cb_.gridOrigin();
  const Point topLeft{origin.x + cell.left, origin.y + cell.top};

  // The parts of the present time in the labels' font.
  ClockParts parts;
  const DateTime now = clock_.Now();
  {
    WindowDc dc(window_);
    SelectGuard font(dc, painter_.FontFor(settings_.Class(UrgencyClass::Title), false, cb_.dpi()));
    const auto measure = [&](std::string_view pattern, int* width) {
      const std::wstring text = FromCp932(FormatClock(pattern, now));
      SIZE size{};
      ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      *width = size.cx;
      parts.height = std::max(parts.height, static_cast<int>(size.cy));
    };
    measure("yyyy\"/\"", &parts.year);
    measure("mm\"/\"dd", &parts.monthDay);
    measure("(aaa)", &parts.weekday);
    measure(" ", &parts.space);
    measure("hh:nn", &parts.hourMinute);
    measure(":ss", &parts.seconds);
  }

  const ClockLayout layout = FitClock(settings_.LblCalendar, available, parts, topLeft, cb_.rowHeight());
  if (!layout.shown) {
    viewImage_.PlaceLabels(Rect{}, Rect{});
    return;
  }
  clockFormat_ = layout.format;
  viewImage_.PlaceLabels(layout.main, layout.secondsLabel);
  // Different from any ":ss", so the next tick rewrites both labels.
  cb_.clockLabelsStale();
}

// ---------------------------------------------------------------------------------------------
// Moving and sizing

void ViewMode::imgNotEditModeMouseDown(int x, int y) {
  cb_.hideTextEditor();
  edges_.Press(window_, x, y, cb_.dpi());
}

void ViewMode::imgNotEditModeMouseMove(int x, int y) {
  const bool shift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  edges_.Hover(window_, x, y, cb_.dpi(),
               ZoneCursorShown(cb_.editMode(), settings_.HideWhenOnMouse, settings_.HideWhenOnEdge, shift));
}

void ViewMode::OnEnterSizeMove() {
  if (!cb_.editMode()) {
    // The real list moves, not its picture.
    ::ShowWindow(panel_, SW_SHOWNA);
    viewImage_.Hide();
  }
  const bool opaque = cb_.editMode() ? (settings_.EditNoTransparent || settings_.EditAlpha == 255)
                                : (settings_.ViewNoTransparent || settings_.ViewAlpha == 255);
  if (opaque) SetAlpha(255);
}

void ViewMode::OnExitSizeMove() {
  SnapHeightToRows();
  if (cb_.editMode()) {
    SetAlpha(settings_.EditAlpha);
  } else {
    list_.Table().SetCell(colText, 0, {});  // no clock text in the picture
    TakeViewImage();
    viewImage_.Show();
    ::ShowWindow(panel_, SW_HIDE);
    SetAlpha(settings_.ViewAlpha);
  }
  PlaceClockLabels();
}

void ViewMode::SnapHeightToRows() {
  RECT rc{};
  ::GetWindowRect(window_, &rc);
  const int height = rc.bottom - rc.top;
  const int snapped = lq::SnapHeightToRows(height, cb_.rowHeight(), cb_.dpi());
  int top = rc.top;
  if (edges_.TakeTopEdge()) {
    top += height - snapped;  // sized by the top edge: the bottom edge stays
  }
  ::SetWindowPos(window_, nullptr, rc.left, top, rc.right - rc.left, snapped, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lq::win
