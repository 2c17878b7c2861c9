#pragma once
// The task grid: our own control showing the task table. Row 0 is the fixed header; rows are
// one height with 1-pixel lines between rows and columns; whole rows are selected; there is a
// vertical scroll bar only. The owner draws every cell and hears the mouse and the keys.

#include <windows.h>

#include <array>
#include <functional>

#include "geometry/grid.h"
#include "mainwindow/gridaccessible.h"
#include "platform/com.h"
#include "platform/window.h"
#include "store/tasklist.h"

namespace lq::win {

class TaskGrid final : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TLqTaskGrid";

  enum class Button { Left, Right, Middle };
  struct Callbacks {
    std::function<void(HDC dc, int col, int row, const RECT& cell)> drawCell;
    std::function<void(Button button, UINT keys, int x, int y)> mouseDown;
    std::function<void(Button button, UINT keys, int x, int y)> mouseUp;
    std::function<void(UINT keys, int x, int y)> mouseMove;
    std::function<void(wchar_t ch)> keyPress;      // a character typed while the grid has focus
    std::function<void()> beforeMove;              // the current row or the list is about to move
    std::function<void()> topLeftChanged;          // the grid scrolled
    std::function<void()> exit;                    // the grid lost the focus
    std::function<void()> clientResized;           // the scroll bar came or went
    std::function<bool()> enterCom;                // before the first accessible object leaves
  };

  TaskGrid(TaskList& list, Callbacks callbacks);
  ~TaskGrid() override;
  HWND Create(HWND parent, int id);

  int RowHeight() const { return rowHeight_; }
  void SetRowHeight(int height);
  int ColWidth(int col) const { return widths_[static_cast<std::size_t>(col)]; }
  void SetColWidth(int col, int width);
  void SetBackground(COLORREF colour);

  void SetScrollBarAllowed(bool allowed);  // edit mode has one, view mode none
  // Call after the table or the position changed.
  void Refresh();

  void InvalidateCell(int col, int row);
  // Where rows and columns are now, for the portable geometry (geometry/grid.h).
  GridMetrics Metrics() const;
  Rect CellBounds(int col, int row) const { return lq::CellRect(Metrics(), col, row); }
  RECT CellRect(int col, int row) const;    // in client coordinates; empty when not shown
  bool CellAt(int x, int y, int* col, int* row) const;  // -1 outside the cells
  int ClientWidth() const;
  int ClientHeight() const;

  // Paints the whole client area into a DC (used for the view image).
  void PaintTo(HDC dc);
  // QueryPerformanceCounter value at the first painted frame; 0 before.
  long long FirstPaintCounter() const { return firstPaint_; }
  long long LastPaintCounter() const { return lastPaint_; }

  // Moves the current row the way the keys and the wheel do (the row is scrolled into view).
  // Like every move of the current row or scroll of the list, it tells the owner first, so
  // that an open editor closes before the row it writes to changes.
  void MoveCurrentRow(int row);

  // The list as screen readers see it (made when first asked); WM_GETOBJECT hands it out.
  IAccessible* Accessible();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void UpdateScrollBar();
  void OnVScroll(int code);
  void OnKeyDown(WPARAM key);
  void BeforeMove();
  void ScrollTo(int topRow);
  // Tells screen readers that another task became the current one.
  void AnnounceCurrentRow();
  LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

  TaskList& list_;
  Callbacks cb_;
  int rowHeight_ = 16;
  std::array<int, kColumnCount> widths_ = kInitialColumnWidths;
  COLORREF background_ = RGB(236, 236, 255);
  bool scrollBarAllowed_ = true;
  bool scrollBarShown_ = false;
  int wheelRemainder_ = 0;
  long long firstPaint_ = 0;
  long long lastPaint_ = 0;
  ComPtr<GridAccessible> accessible_;
  bool accessibleHandedOut_ = false;
  int announcedRow_ = 0;
  int announcedCount_ = 0;
};

}  // namespace lq::win
