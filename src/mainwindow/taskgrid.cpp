#include "mainwindow/taskgrid.h"

#include <windowsx.h>

#include <algorithm>

#include "geometry/layout.h"
#include "platform/handles.h"

namespace lq::win {

TaskGrid::TaskGrid(TaskList& list, Callbacks callbacks) : list_(list), cb_(std::move(callbacks)) {}

TaskGrid::~TaskGrid() {
  if (accessible_) accessible_->Disconnect();  // a client may hold it longer than we live
}

HWND TaskGrid::Create(HWND parent, int id) {
  RegisterClass(kClassName, CS_DBLCLKS, nullptr, ::LoadCursorW(nullptr, IDC_ARROW));
  return ::CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                           0, 0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleW(nullptr), this);
}

void TaskGrid::SetRowHeight(int height) {
  rowHeight_ = height;
  Refresh();
}

void TaskGrid::SetColWidth(int col, int width) {
  if (widths_[static_cast<std::size_t>(col)] == width) return;
  widths_[static_cast<std::size_t>(col)] = width;
  if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TaskGrid::SetBackground(COLORREF colour) {
  background_ = colour;
  if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TaskGrid::SetScrollBarAllowed(bool allowed) {
  scrollBarAllowed_ = allowed;
  UpdateScrollBar();
}

void TaskGrid::Refresh() {
  if (!Handle()) return;
  UpdateScrollBar();
  ::InvalidateRect(Handle(), nullptr, FALSE);
  AnnounceCurrentRow();
}

IAccessible* TaskGrid::Accessible() {
  if (!accessible_) accessible_ = ComPtr<GridAccessible>(new GridAccessible(*this, list_));
  return accessible_.Get();
}

void TaskGrid::AnnounceCurrentRow() {
  // Only a move of the current row is news, or another task in its place after a delete or an
  // add: the text typed into its editor is read by the editor itself.
  const int row = list_.CurrentRow();
  const int count = list_.Table().RowCount();
  if (row == announcedRow_ && count == announcedCount_) return;
  announcedRow_ = row;
  announcedCount_ = count;
  if (!list_.Table().IsTask(row)) return;
  ::NotifyWinEvent(EVENT_OBJECT_SELECTION, Handle(), OBJID_CLIENT, row);
  if (::GetFocus() == Handle()) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, row);
}

LRESULT TaskGrid::OnGetObject(WPARAM wParam, LPARAM lParam) {
  // The id arrives as a DWORD; OBJID_CLIENT is negative.
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return Default(WM_GETOBJECT, wParam, lParam);
  accessibleHandedOut_ = true;
  return ReturnAccessibleObject(Accessible(), wParam, cb_.enterCom);
}

int TaskGrid::ClientWidth() const {
  RECT rc{};
  ::GetClientRect(Handle(), &rc);
  return rc.right;
}

int TaskGrid::ClientHeight() const {
  RECT rc{};
  ::GetClientRect(Handle(), &rc);
  return rc.bottom;
}

void TaskGrid::InvalidateCell(int col, int row) {
  const RECT rc = CellRect(col, row);
  if (rc.right > rc.left && Handle()) ::InvalidateRect(Handle(), &rc, FALSE);
}

GridMetrics TaskGrid::Metrics() const {
  GridMetrics g;
  g.rowHeight = rowHeight_;
  g.widths = widths_;
  g.topRow = list_.TopRow();
  g.rowCount = list_.Table().RowCount();
  g.clientHeight = ClientHeight();
  return g;
}

RECT TaskGrid::CellRect(int col, int row) const {
  const Rect r = CellBounds(col, row);
  return RECT{r.left, r.top, r.right, r.bottom};
}

bool TaskGrid::CellAt(int x, int y, int* col, int* row) const {
  const GridCell cell = lq::CellAt(Metrics(), x, y);
  *col = cell.col;
  *row = cell.row;
  return cell.Valid();
}

void TaskGrid::BeforeMove() {
  if (cb_.beforeMove) cb_.beforeMove();
}

void TaskGrid::MoveCurrentRow(int row) {
  if (row != list_.CurrentRow()) BeforeMove();
  const int oldTop = list_.TopRow();
  list_.SetCurrentRow(row);
  Refresh();
  if (list_.TopRow() != oldTop && cb_.topLeftChanged) cb_.topLeftChanged();
}

void TaskGrid::ScrollTo(int topRow) {
  const int oldTop = list_.TopRow();
  list_.SetTopRow(topRow);
  if (list_.TopRow() == oldTop) return;
  Refresh();
  if (cb_.topLeftChanged) cb_.topLeftChanged();
}

void TaskGrid::UpdateScrollBar() {
  if (!Handle()) return;
  const int rows = list_.Table().RowCount() - 1;
  const int visible = std::max(1, list_.VisibleRowCount());
  const bool show = scrollBarAllowed_ && rows > visible;
  if (show) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 1;
    si.nMax = rows;
    si.nPage = static_cast<UINT>(visible);
    si.nPos = list_.TopRow();
    ::SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
  }
  if (show != scrollBarShown_) {
    scrollBarShown_ = show;
    ::ShowScrollBar(Handle(), SB_VERT, show);
  }
}

void TaskGrid::OnVScroll(int code) {
  if (code == SB_ENDSCROLL) return;
  BeforeMove();  // first: closing an editor may sort the list
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ::GetScrollInfo(Handle(), SB_VERT, &si);
  const int page = std::max(1, list_.VisibleRowCount());
  int top = list_.TopRow();
  switch (code) {
    case SB_LINEUP: top -= 1; break;
    case SB_LINEDOWN: top += 1; break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = si.nTrackPos; break;
    case SB_TOP: top = 1; break;
    case SB_BOTTOM: top = list_.MaxTopRow(); break;
    default: return;
  }
  ScrollTo(top);
}

void TaskGrid::OnKeyDown(WPARAM key) {
  if (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT && key != VK_HOME && key != VK_END) return;
  BeforeMove();
  const int current = list_.CurrentRow();
  const int last = list_.Table().RowCount() - 1;
  const int page = std::max(1, list_.VisibleRowCount());
  switch (key) {
    case VK_UP: MoveCurrentRow(std::max(1, current - 1)); break;
    case VK_DOWN: MoveCurrentRow(std::min(last, current + 1)); break;
    case VK_PRIOR: {
      // A page up moves the list and the selection together, as list controls do.
      const int oldTop = list_.TopRow();
      list_.SetTopRow(oldTop - page);
      list_.SetCurrentRow(std::max(1, current - page));
      Refresh();
      if (list_.TopRow() != oldTop && cb_.topLeftChanged) cb_.topLeftChanged();
      break;
    }
    case VK_NEXT: {
      const int oldTop = list_.TopRow();
      list_.SetTopRow(oldTop + page);
      list_.SetCurrentRow(std::min(last, current + page));
      Refresh();
      if (list_.TopRow() != oldTop && cb_.topLeftChanged) cb_.topLeftChanged();
      break;
    }
    case VK_HOME: MoveCurrentRow(1); break;
    case VK_END: MoveCurrentRow(last); break;
    default: break;
  }
}

void TaskGrid::PaintTo(HDC dc) {
  const int width = ClientWidth();
  const int height = ClientHeight();
  RECT all{0, 0, width, height};
  ::SetDCBrushColor(dc, background_);
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));

  const int rows = list_.Table().RowCount();
  int bottom = 0;
  for (int line = 0;; ++line) {
    const int row = line == 0 ? 0 : list_.TopRow() + line - 1;
    const int y = line * (rowHeight_ + 1);
    if (row >= rows || y >= height) break;
    for (int c = 0; c < kColumnCount; ++c) {
      if (widths_[static_cast<std::size_t>(c)] < 0) continue;
      const RECT cell = CellRect(c, row);
      if (cell.left >= width) break;
      const int saved = ::SaveDC(dc);
      ::IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
      if (cb_.drawCell) cb_.drawCell(dc, c, row, cell);
      ::RestoreDC(dc, saved);
    }
    bottom = y + rowHeight_ + 1;
  }

  // The 1-pixel lines between rows and between columns.
  const GridMetrics g = Metrics();
  {
    const Pen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE)));
    SelectGuard penGuard(dc, pen.Get());
    for (int y = rowHeight_; y < bottom && y < height; y += rowHeight_ + 1) {
      ::MoveToEx(dc, 0, y, nullptr);
      ::LineTo(dc, width, y);
    }
    for (int c = 0; c < kColumnCount; ++c) {
      const int w = widths_[static_cast<std::size_t>(c)];
      if (w < 0) continue;
      const int x = ColumnLeft(g, c) + w;
      if (x >= width) break;
      ::MoveToEx(dc, x, 0, nullptr);
      ::LineTo(dc, x, std::min(bottom, height));
    }
  }
}

void TaskGrid::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = ::BeginPaint(Handle(), &ps);
  const int width = ClientWidth();
  const int height = ClientHeight();
  if (width > 0 && height > 0) {
    MemoryCanvas canvas(dc, width, height);
    PaintTo(canvas.Dc());
    ::BitBlt(dc, 0, 0, width, height, canvas.Dc(), 0, 0, SRCCOPY);
  }
  ::EndPaint(Handle(), &ps);
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  lastPaint_ = now.QuadPart;
  if (firstPaint_ == 0) firstPaint_ = lastPaint_;
}

LRESULT TaskGrid::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBar();
      ::InvalidateRect(Handle(), nullptr, FALSE);
      if (cb_.clientResized) cb_.clientResized();
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_CHAR:
      if (cb_.keyPress) cb_.keyPress(static_cast<wchar_t>(wParam));
      return 0;
    case WM_MOUSEWHEEL: {
      // Each notch moves the current row by one.
      BeforeMove();
      wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
      while (wheelRemainder_ >= WHEEL_DELTA) {
        wheelRemainder_ -= WHEEL_DELTA;
        if (list_.CurrentRow() > 1) MoveCurrentRow(list_.CurrentRow() - 1);
      }
      while (wheelRemainder_ <= -WHEEL_DELTA) {
        wheelRemainder_ += WHEEL_DELTA;
        if (list_.CurrentRow() < list_.Table().RowCount() - 1) MoveCurrentRow(list_.CurrentRow() + 1);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int x = GET_X_LPARAM(lParam);
      const int y = GET_Y_LPARAM(lParam);
      BeforeMove();  // an editor closing may sort: the row under the mouse is the one after it
      int col = -1;
      int row = -1;
      if (CellAt(x, y, &col, &row) && row > 0) MoveCurrentRow(row);
      if (::GetFocus() != Handle()) ::SetFocus(Handle());
      ::SetCapture(Handle());
      if (cb_.mouseDown) cb_.mouseDown(Button::Left, static_cast<UINT>(wParam), x, y);
      return 0;
    }
    case WM_RBUTTONDOWN:
      if (::GetFocus() != Handle()) ::SetFocus(Handle());  // as any list does
      if (cb_.mouseDown) cb_.mouseDown(Button::Right, static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (::GetCapture() == Handle()) ::ReleaseCapture();
      if (cb_.mouseUp) cb_.mouseUp(Button::Left, static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_RBUTTONUP:
      if (cb_.mouseUp) cb_.mouseUp(Button::Right, static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MBUTTONUP:
      if (cb_.mouseUp) {
        cb_.mouseUp(Button::Middle, static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      return 0;
    case WM_MOUSEMOVE:
      if (cb_.mouseMove) cb_.mouseMove(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_KILLFOCUS:
      ::InvalidateRect(Handle(), nullptr, FALSE);
      if (cb_.exit) cb_.exit();
      return 0;
    case WM_SETFOCUS:
      ::InvalidateRect(Handle(), nullptr, FALSE);
      // The system said the list has the focus; say which task.
      if (list_.Table().IsTask(list_.CurrentRow())) {
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, list_.CurrentRow());
      }
      return 0;
    case WM_GETOBJECT:
      return OnGetObject(wParam, lParam);
    case WM_DESTROY:
      if (accessible_) {
        accessible_->Disconnect();
        if (accessibleHandedOut_) ::CoDisconnectObject(accessible_.Get(), 0);
      }
      return Default(msg, wParam, lParam);
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lq::win
