// WindowLayout: the children placed, FormResize, the two modes' column layouts and the smallest
// size.
#include <algorithm>
#include <utility>

#include "geometry/dpi.h"
#include "mainwindow/gridpainter.h"
#include "mainwindow/taskediting.h"
#include "mainwindow/taskgrid.h"
#include "mainwindow/viewmode.h"
#include "mainwindow/windowlayout.h"

namespace lq::win {

WindowLayout::WindowLayout(TaskList& list, const Settings& settings, GridPainter& painter, ViewMode& view,
                           TaskEditing& editing, Callbacks callbacks)
    : list_(list), settings_(settings), painter_(painter), view_(view), editing_(editing), cb_(std::move(callbacks)) {}

void WindowLayout::Attach(HWND window, HWND panel, TaskGrid& grid, std::span<const HWND> headerButtons) {
  window_ = window;
  panel_ = panel;
  grid_ = &grid;
  headerButtons_ = headerButtons;
}

int WindowLayout::Scale(int pixels) const { return ScaleToDpi(pixels, cb_.dpi()); }

void WindowLayout::LayoutChildren() {
  if (!window_) return;  // a size change while the children are being made
  RECT rc{};
  ::GetClientRect(window_, &rc);
  ::MoveWindow(panel_, 0, 0, rc.right, rc.bottom, TRUE);
  if (view_.Image().Handle()) ::MoveWindow(view_.Image().Handle(), 0, 0, rc.right, rc.bottom, TRUE);
  // The grid sits 4 pixels in from every edge: the panel's bevel and border.
  ::MoveWindow(grid_->Handle(), Scale(4), Scale(4), std::max(0, static_cast<int>(rc.right) - Scale(8)),
               std::max(0, static_cast<int>(rc.bottom) - Scale(8)), TRUE);
}

Point WindowLayout::GridOrigin() const { return Point{Scale(4) + 2, Scale(4) + 2}; }

void WindowLayout::FormResize() {
  if (!grid_) return;
  TaskGrid& grid = *grid_;
  const int dpi = cb_.dpi();
  const int w = grid.ClientWidth();
  grid.SetColWidth(colText, TextColumnWidth(w, grid.ColWidth(colDueDate), grid.ColWidth(colDaysLeft)));
  // The text editor follows the text column's width (its left and height are set on opening).
  RECT er{};
  ::GetWindowRect(editing_.Editors().TextHandle(), &er);
  ::MapWindowPoints(nullptr, panel_, reinterpret_cast<POINT*>(&er), 2);
  ::SetWindowPos(editing_.Editors().TextHandle(), nullptr, 0, 0, grid.ColWidth(colText), er.bottom - er.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const auto lefts = HeaderButtonLefts(w, dpi);
  for (std::size_t i = 0; i < headerButtons_.size(); ++i) {
    ::SetWindowPos(headerButtons_[i], HWND_TOP, lefts[i], HeaderButtonTop(rowHeight_, dpi), Scale(kHeaderButtonWidth),
                   Scale(kHeaderButtonHeight), SWP_NOACTIVATE);
  }

  RECT gridRect{};
  ::GetWindowRect(grid.Handle(), &gridRect);
  list_.SetVisibleRowCount(VisibleRowCount(gridRect.bottom - gridRect.top, rowHeight_));
  const int lastVisible = list_.TopRow() + list_.VisibleRowCount() - 1;
  if (lastVisible < list_.CurrentRow()) list_.SetCurrentRow(std::max(1, lastVisible));
  grid.Refresh();
}

void WindowLayout::EditModeColumnLayout() {
  const int dpi = cb_.dpi();
  const ColumnWidths cols = EditModeColumns(
      [this, dpi](std::string_view text, bool withTitle) { return painter_.MeasureTextWidth(window_, text, withTitle, dpi); },
      dpi);
  grid_->SetColWidth(colDueDate, cols.date);
  grid_->SetColWidth(colDaysLeft, cols.days);
  minimumWidthBase_ = cols.date + cols.days;
  RECT rc{};
  ::GetWindowRect(window_, &rc);
  const Point min = MinimumTrackSize(minimumWidthBase_, rowHeight_, dpi);
  if (rc.right - rc.left < min.x) {
    ::SetWindowPos(window_, nullptr, 0, 0, min.x, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void WindowLayout::ViewModeColumnLayout() {
  const int dpi = cb_.dpi();
  const ColumnWidths cols = ViewModeColumns(
      [this, dpi](std::string_view text, bool withTitle) { return painter_.MeasureTextWidth(window_, text, withTitle, dpi); },
      settings_.DateFormat, list_.Table().Cell(colDueDate, 0), grid_->ColWidth(colDaysLeft), settings_.ShowDateRow,
      settings_.ShowCountRow, dpi);
  grid_->SetColWidth(colDueDate, cols.date);
  grid_->SetColWidth(colDaysLeft, cols.days);
}

void WindowLayout::OnGetMinMaxInfo(MINMAXINFO* info) const {
  const Point min = MinimumTrackSize(minimumWidthBase_, rowHeight_, cb_.dpi());
  info->ptMinTrackSize.x = min.x;
  info->ptMinTrackSize.y = min.y;
}

}  // namespace lq::win
