// Edit mode and view mode: the live list and its still image, the clock labels, the
// transparency, and moving and sizing the borderless window with the mouse.
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "app/application.h"
#include "geometry/clock.h"
#include "mainwindow/childwindows.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "settings/colors.h"

namespace lq::win {
namespace {


}  // namespace

void TfrmToDo::EnterEditMode(bool openEditor) {
  editMode_ = true;
  EditModeColumnLayout();
  ApplyTransparency();
  for (const HWND b : headerButtons_) ::ShowWindow(b, SW_SHOWNA);
  gridToDo->SetScrollBarAllowed(true);
  ::ShowWindow(pnlBase->Handle(), SW_SHOWNA);
  viewImage_.Hide();
  FormResize();
  PlaceClockLabels();
  if (openEditor) editing_.OpenTextEditor();
}

void TfrmToDo::EnterViewMode() {
  editMode_ = false;
  // The dialogs that end in edit mode give up: the list is left.
  app_.ForEachDialog([](Dialog& d) {
    if (d.EndsWithEditMode()) d.Cancel();
  });
  CancelHint();
  // An open text editor ends as when it loses the focus, so the image shows the sorted list.
  if (editing_.Editors().TextOpen()) editing_.edtToDoTextExit();
  editing_.HideEditors();
  for (const HWND b : headerButtons_) ::ShowWindow(b, SW_HIDE);
  gridToDo->SetScrollBarAllowed(false);
  ViewModeColumnLayout();
  FormResize();  // the text column without the scroll bar
  list_.Table().SetCell(colText, 0, {});  // it held the edit-mode clock
  TakeViewImage();
  PlaceClockLabels();
  viewImage_.Show();
  ::ShowWindow(pnlBase->Handle(), SW_HIDE);
  ApplyTransparency();
  if (settings_.SaveOnLostFocus) app_.taskFile.SaveTaskFile(list_.Table());  // a failure is not reported here
}

void TfrmToDo::imgNotEditModeDblClick() {
  POINT p{};
  if (!::GetCursorPos(&p)) {
    RECT rc{};
    ::GetWindowRect(viewImage_.Handle(), &rc);
    p = POINT{rc.left, rc.top};
  }
  ::ScreenToClient(gridToDo->Handle(), &p);
  int col = -1;
  int row = -1;
  gridToDo->CellAt(p.x, p.y, &col, &row);
  EnterEditMode();
  // The button's release that ends the double-click now lands on the live list; it must not
  // open an editor there (the next press clears this).
  ignoreGridMouseUp_ = true;
  if (row > 0 && row < list_.TopRow() + list_.VisibleRowCount() && col >= 0) gridToDo->MoveCurrentRow(row);
  if (::IsWindowVisible(gridToDo->Handle())) ::SetFocus(gridToDo->Handle());
}

void TfrmToDo::SetAlpha(int alpha) {
  const LONG_PTR ex = ::GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (alpha >= 255) {
    if (ex & WS_EX_LAYERED) ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    return;
  }
  if (!(ex & WS_EX_LAYERED)) ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), LWA_ALPHA);
}

void TfrmToDo::ApplyTransparency() { SetAlpha(editMode_ ? settings_.EditAlpha : settings_.ViewAlpha); }

void TfrmToDo::TakeViewImage() {
  // The window as view mode draws it: the panel's bevel, the grid's edge, and the grid painted
  // in view-mode style (no highlighted row, short dates, the inactive header).
  RECT rc{};
  ::GetClientRect(Handle(), &rc);
  std::optional<MemoryCanvas> made;
  {
    WindowDc screen(Handle());
    made.emplace(screen, rc.right, rc.bottom);
  }
  MemoryCanvas& canvas = *made;
  const HDC dc = canvas.Dc();
  ::FillRect(dc, &rc, windowBrush_.Get());
  RECT bevel = rc;
  ::DrawEdge(dc, &bevel, BDR_RAISEDINNER, BF_RECT);
  RECT gridRect{Scale(4), Scale(4), rc.right - Scale(4), rc.bottom - Scale(4)};
  ::DrawEdge(dc, &gridRect, EDGE_SUNKEN, BF_RECT);
  const Point origin = GridOrigin();
  POINT old{};
  ::SetViewportOrgEx(dc, origin.x, origin.y, &old);
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, 0, 0, gridToDo->ClientWidth(), gridToDo->ClientHeight());
  gridToDo->PaintTo(dc);
  ::RestoreDC(dc, saved);
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  viewImage_.SetPicture(Bitmap(canvas.DetachBitmap()));
}

void TfrmToDo::RefreshViewImage() {
  ::ShowWindow(pnlBase->Handle(), SW_SHOWNA);
  viewImage_.Hide();
  TakeViewImage();
  viewImage_.Show();
  ::ShowWindow(pnlBase->Handle(), SW_HIDE);
}

void TfrmToDo::PlaceClockLabels() {
  const int available = gridToDo->ColWidth(colText) - (editMode_ ? HeaderButtonsRoom(Dpi()) : 0);
  const RECT cell = gridToDo->CellRect(colText, 0);
  const Point origin = GridOrigin();
  const Point topLeft{origin.x + cell.left, origin.y + cell.top};

  // The parts of the present time in the labels' font.
  ClockParts parts;
  const DateTime now = app_.clock.Now();
  {
    WindowDc dc(Handle());
    SelectGuard font(dc, painter_.FontFor(settings_.Class(UrgencyClass::Title), false, Dpi()));
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

  const ClockLayout layout = FitClock(settings_.LblCalendar, available, parts, topLeft, rowHeight_);
  if (!layout.shown) {
    viewImage_.PlaceLabels(Rect{}, Rect{});
    return;
  }
  clockFormat_ = layout.format;
  viewImage_.PlaceLabels(layout.main, layout.secondsLabel);
  // Different from any ":ss", so the next tick rewrites both labels.
  MarkClockLabelsStale(timer_);
}

// ---------------------------------------------------------------------------------------------
// Moving and sizing

void TfrmToDo::imgNotEditModeMouseDown(int x, int y) {
  ::ShowWindow(editing_.Editors().TextHandle(), SW_HIDE);
  edges_.Press(Handle(), x, y, Dpi());
}

void TfrmToDo::imgNotEditModeMouseMove(int x, int y) {
  const bool shift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  edges_.Hover(Handle(), x, y, Dpi(),
               ZoneCursorShown(editMode_, settings_.HideWhenOnMouse, settings_.HideWhenOnEdge, shift));
}

void TfrmToDo::OnEnterSizeMove() {
  if (!editMode_) {
    // The real list moves, not its picture.
    ::ShowWindow(pnlBase->Handle(), SW_SHOWNA);
    viewImage_.Hide();
  }
  const bool opaque = editMode_ ? (settings_.EditNoTransparent || settings_.EditAlpha == 255)
                                : (settings_.ViewNoTransparent || settings_.ViewAlpha == 255);
  if (opaque) SetAlpha(255);
}

void TfrmToDo::OnExitSizeMove() {
  SnapHeightToRows();
  if (editMode_) {
    SetAlpha(settings_.EditAlpha);
  } else {
    list_.Table().SetCell(colText, 0, {});  // no clock text in the picture
    TakeViewImage();
    viewImage_.Show();
    ::ShowWindow(pnlBase->Handle(), SW_HIDE);
    SetAlpha(settings_.ViewAlpha);
  }
  PlaceClockLabels();
}

void TfrmToDo::SnapHeightToRows() {
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  const int height = rc.bottom - rc.top;
  const int snapped = lq::SnapHeightToRows(height, rowHeight_, Dpi());
  int top = rc.top;
  if (edges_.TakeTopEdge()) {
    top += height - snapped;  // sized by the top edge: the bottom edge stays
  }
  ::SetWindowPos(Handle(), nullptr, rc.left, top, rc.right - rc.left, snapped, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lq::win
