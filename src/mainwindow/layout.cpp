// Column layouts, FormResize, the two modes' layouts and the transparency.
#include <algorithm>

#include "mainwindow/childwindows.h"
#include "mainwindow/mainwindow.h"
#include "res/artwork.h"

namespace lq::win {

void TfrmToDo::LayoutChildren() {
  RECT rc{};
  ::GetClientRect(Handle(), &rc);
  if (pnlBase) ::MoveWindow(pnlBase->Handle(), 0, 0, rc.right, rc.bottom, TRUE);
  if (view_.Image().Handle()) ::MoveWindow(view_.Image().Handle(), 0, 0, rc.right, rc.bottom, TRUE);
  // The grid sits 4 pixels in from every edge: the panel's bevel and border.
  if (gridToDo) {
    ::MoveWindow(gridToDo->Handle(), Scale(4), Scale(4), std::max(0, static_cast<int>(rc.right) - Scale(8)),
                 std::max(0, static_cast<int>(rc.bottom) - Scale(8)), TRUE);
  }
}

Point TfrmToDo::GridOrigin() const { return Point{Scale(4) + 2, Scale(4) + 2}; }

void TfrmToDo::FormResize() {
  if (!gridToDo) return;
  const int w = gridToDo->ClientWidth();
  gridToDo->SetColWidth(colText, TextColumnWidth(w, gridToDo->ColWidth(colDueDate), gridToDo->ColWidth(colDaysLeft)));
  // The text editor follows the text column's width (its left and height are set on opening).
  RECT er{};
  ::GetWindowRect(editing_.Editors().TextHandle(), &er);
  ::MapWindowPoints(nullptr, pnlBase->Handle(), reinterpret_cast<POINT*>(&er), 2);
  ::SetWindowPos(editing_.Editors().TextHandle(), nullptr, 0, 0, gridToDo->ColWidth(colText), er.bottom - er.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const auto lefts = HeaderButtonLefts(w, Dpi());
  for (std::size_t i = 0; i < headerButtons_.size(); ++i) {
    ::SetWindowPos(headerButtons_[i], HWND_TOP, lefts[i], HeaderButtonTop(rowHeight_, Dpi()), Scale(kHeaderButtonWidth),
                   Scale(kHeaderButtonHeight), SWP_NOACTIVATE);
  }

  RECT gridRect{};
  ::GetWindowRect(gridToDo->Handle(), &gridRect);
  list_.SetVisibleRowCount(VisibleRowCount(gridRect.bottom - gridRect.top, rowHeight_));
  const int lastVisible = list_.TopRow() + list_.VisibleRowCount() - 1;
  if (lastVisible < list_.CurrentRow()) list_.SetCurrentRow(std::max(1, lastVisible));
  gridToDo->Refresh();
}

void TfrmToDo::EditModeColumnLayout() {
  const ColumnWidths cols = EditModeColumns(
      [this](std::string_view text, bool withTitle) { return painter_.MeasureTextWidth(Handle(), text, withTitle, Dpi()); }, Dpi());
  gridToDo->SetColWidth(colDueDate, cols.date);
  gridToDo->SetColWidth(colDaysLeft, cols.days);
  minimumWidthBase_ = cols.date + cols.days;
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  const Point min = MinimumTrackSize(minimumWidthBase_, rowHeight_, Dpi());
  if (rc.right - rc.left < min.x) {
    ::SetWindowPos(Handle(), nullptr, 0, 0, min.x, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TfrmToDo::ViewModeColumnLayout() {
  const ColumnWidths cols = ViewModeColumns(
      [this](std::string_view text, bool withTitle) { return painter_.MeasureTextWidth(Handle(), text, withTitle, Dpi()); }, settings_.DateFormat,
      list_.Table().Cell(colDueDate, 0), gridToDo->ColWidth(colDaysLeft), settings_.ShowDateRow, settings_.ShowCountRow,
      Dpi());
  gridToDo->SetColWidth(colDueDate, cols.date);
  gridToDo->SetColWidth(colDaysLeft, cols.days);
}

void TfrmToDo::OnGetMinMaxInfo(MINMAXINFO* info) {
  const Point min = MinimumTrackSize(minimumWidthBase_, rowHeight_, Dpi());
  info->ptMinTrackSize.x = min.x;
  info->ptMinTrackSize.y = min.y;
}

void TfrmToDo::DrawHeaderButton(const DRAWITEMSTRUCT* di) {
  ::FillRect(di->hDC, &di->rcItem,
             (di->itemState & ODS_SELECTED) ? ::GetSysColorBrush(COLOR_BTNFACE) : windowBrush_.Get());
  const int offset = (di->itemState & ODS_SELECTED) ? 1 : 0;
  const int size = Scale(kImageSize);
  const int x = (di->rcItem.left + di->rcItem.right - size) / 2 + offset;
  const int y = (di->rcItem.top + di->rcItem.bottom - size) / 2 + offset;
  const auto command = CommandOfButtonId(static_cast<int>(di->CtlID));
  const int image = command ? InfoOf(*command).image : -1;
  if (image >= 0) {
    ImageList_Draw(painter_.Images(), image, di->hDC, x, y, ILD_TRANSPARENT);
  } else {
    // The system menu button: a small downward triangle.
    const int cx = (di->rcItem.left + di->rcItem.right) / 2 + offset;
    const int cy = (di->rcItem.top + di->rcItem.bottom) / 2 + offset;
    const int half = Scale(4);
    const int rise = Scale(2);
    const POINT tri[3] = {{cx - half, cy - rise}, {cx + half, cy - rise}, {cx, cy + rise}};
    const Pen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT)));
    SelectGuard b(di->hDC, ::GetSysColorBrush(COLOR_BTNTEXT));
    SelectGuard p(di->hDC, pen.Get());
    ::Polygon(di->hDC, tri, 3);
  }
  if (di->itemState & ODS_SELECTED) {
    RECT edge = di->rcItem;
    ::DrawEdge(di->hDC, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
}

}  // namespace lq::win
