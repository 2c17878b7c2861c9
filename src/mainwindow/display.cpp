// The display while the program runs: a monitor of another scale, and monitors coming, going
// or changing their resolution.
#include <algorithm>

#include "platform/imagelist.h"
#include "mainwindow/mainwindow.h"
#include "res/artwork.h"

namespace lq::win {

Screens CurrentScreens() {
  Screens s;
  ::EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT r, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<Rect>*>(data)->push_back(Rect{r->left, r->top, r->right, r->bottom});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s.monitors));
  s.primary = Rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  RECT work{s.primary.left, s.primary.top, s.primary.right, s.primary.bottom};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  s.workArea = Rect{work.left, work.top, work.right, work.bottom};
  return s;
}

void TfrmToDo::OnDpiChanged(const RECT& suggested) {
  painter_.MakeImages(Scale(kImageSize));
  // Placed on another monitor at start-up: the stored size is in that monitor's pixels
  // already, and the first showing lays everything out.
  if (!SettingsApplied()) return;
  // The suggested height scales the old one; with the row height rounded anew that could gain
  // or lose a row, so the height is made for the same rows.
  const int rows = list_.VisibleRowCount();
  ApplyRowMetrics();
  ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 HeightForRows(rows, rowHeight_, Dpi()), SWP_NOZORDER | SWP_NOACTIVATE);
  // View mode's columns start from edit mode's days column, measured in the old fonts.
  EditModeColumnLayout();
  if (!editMode_) ViewModeColumnLayout();
  FormResize();
  if (editing_.Editors().TextOpen()) editing_.ShowTextEditor();
  if (!editMode_) {
    list_.Table().SetCell(colText, 0, {});  // no clock text in the picture
    view_.RefreshViewImage();
  }
  view_.PlaceClockLabels();
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TfrmToDo::RescueFromOffScreen() {
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  const Rect now{rc.left, rc.top, rc.right, rc.bottom};
  const Screens s = CurrentScreens();
  const Rect to = RescueWindow(now, s.primary, s.workArea, s.monitors, Dpi());
  if (to == now) return;
  // Moved, not shown: a window the user hid stays hidden, and comes back onto a screen.
  ::SetWindowPos(Handle(), nullptr, to.left, to.top, to.Width(), to.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (!SettingsApplied() || to.Height() == now.Height()) return;
  view_.SnapHeightToRows();
  if (!editMode_) {
    list_.Table().SetCell(colText, 0, {});
    view_.RefreshViewImage();
  }
  view_.PlaceClockLabels();
}

}  // namespace lq::win
