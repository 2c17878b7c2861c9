// WindowLayout and the display: the row height and fonts at the display's scale, a monitor of
// another scale, and monitors coming, going or changing their resolution.
#include <algorithm>

#include "geometry/dpi.h"
#include "mainwindow/gridpainter.h"
#include "mainwindow/taskediting.h"
#include "mainwindow/taskgrid.h"
#include "mainwindow/viewmode.h"
#include "mainwindow/windowlayout.h"
#include "platform/imagelist.h"
#include "res/artwork.h"
#include "settings/colors.h"

namespace lq::win {
namespace {

std::uint32_t SystemColour(int index) { return static_cast<std::uint32_t>(::GetSysColor(index)); }

}  // namespace

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

void WindowLayout::ApplyRowMetrics() {
  // The row height and the font sizes are 96-DPI values.
  const int dpi = cb_.dpi();
  painter_.ClearFontCache();
  rowHeight_ = Scale(settings_.RowHeight);
  grid_->SetRowHeight(rowHeight_);

  // The editors take the grid's font; the clock labels the header's font and colours.
  const HFONT gridFont = painter_.FontFor(settings_.Class(UrgencyClass::Preview3), false, dpi);
  editing_.Editors().SetFont(gridFont, false);
  const ClassStyle& title = settings_.Class(UrgencyClass::Title);
  const COLORREF labelBack = static_cast<COLORREF>(
      MixColors(SystemColor(kColorInactiveCaption), SystemColor(kColorGradientInactiveCaption), &SystemColour));
  view_.Image().SetLabelStyle(painter_.FontFor(title, false, dpi), GridPainter::Resolve(title.TextColor), labelBack);
}

void WindowLayout::OnDpiChanged(const RECT& suggested) {
  painter_.MakeImages(Scale(kImageSize));
  // Placed on another monitor at start-up: the stored size is in that monitor's pixels
  // already, and the first showing lays everything out.
  if (!cb_.settingsApplied()) return;
  // The suggested height scales the old one; with the row height rounded anew that could gain
  // or lose a row, so the height is made for the same rows.
  const int rows = list_.VisibleRowCount();
  ApplyRowMetrics();
  ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 HeightForRows(rows, rowHeight_, cb_.dpi()), SWP_NOZORDER | SWP_NOACTIVATE);
  // View mode's columns start from edit mode's days column, measured in the old fonts.
  EditModeColumnLayout();
  if (!cb_.editMode()) ViewModeColumnLayout();
  FormResize();
  if (editing_.Editors().TextOpen()) editing_.ShowTextEditor();
  if (!cb_.editMode()) {
    list_.Table().SetCell(colText, 0, {});  // no clock text in the picture
    view_.RefreshViewImage();
  }
  view_.PlaceClockLabels();
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WindowLayout::RescueFromOffScreen() {
  RECT rc{};
  ::GetWindowRect(window_, &rc);
  const Rect now{rc.left, rc.top, rc.right, rc.bottom};
  const Screens s = CurrentScreens();
  const Rect to = RescueWindow(now, s.primary, s.workArea, s.monitors, cb_.dpi());
  if (to == now) return;
  // Moved, not shown: a window the user hid stays hidden, and comes back onto a screen.
  ::SetWindowPos(window_, nullptr, to.left, to.top, to.Width(), to.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (!cb_.settingsApplied() || to.Height() == now.Height()) return;
  view_.SnapHeightToRows();
  if (!cb_.editMode()) {
    list_.Table().SetCell(colText, 0, {});
    view_.RefreshViewImage();
  }
  view_.PlaceClockLabels();
}

}  // namespace lq::win
