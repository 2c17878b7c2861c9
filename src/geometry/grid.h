#pragma once
// Where things are in the task grid: one row height with 1-pixel lines between rows and
// columns, row 0 the fixed header, the task rows from the top row down. Drawing, hit-testing,
// the editors, dropped files and the attachment hint all measure with these.

#include <array>

#include "geometry/dpi.h"
#include "geometry/layout.h"

namespace lq {

inline constexpr int kGridColumns = 6;

struct GridMetrics {
  int rowHeight = 16;
  std::array<int, kGridColumns> widths{};  // -1: hidden, and its line with it
  int topRow = 1;                          // the first task row shown
  int rowCount = 2;                        // table rows, the header included
  int clientHeight = 0;
};

struct GridCell {
  int col = -1;
  int row = -1;
  bool Valid() const { return col >= 0 && row >= 0; }
  friend bool operator==(const GridCell&, const GridCell&) = default;
};

// Left edge of a column in client coordinates.
int ColumnLeft(const GridMetrics& g, int col);
// A cell's rectangle in client coordinates; empty (all zero) when it is not on the screen.
Rect CellRect(const GridMetrics& g, int col, int row);
// The cell under a client point; invalid outside the cells. A column's right-hand line
// belongs to it.
GridCell CellAt(const GridMetrics& g, int x, int y);

// The row height passed in is in pixels at `dpi`; the insets and the 16 x 16 marks are 96-DPI
// values scaled to it.

// The part of a text cell left of where its text begins, where the attachment mark sits.
bool InIconZone(int x, const Rect& textCell, int rowHeight, int dpi = kBaseDpi);
// The 16 x 16 attachment (or web) mark of a text cell, and the alarm mark after it.
Rect AttachmentMarkRect(const Rect& textCell, int rowHeight, int dpi = kBaseDpi);
Rect AlarmMarkRect(const Rect& textCell, int rowHeight, bool attachment, int dpi = kBaseDpi);
// Left edge of the text in a text cell after its marks.
int TextLeft(const Rect& textCell, int rowHeight, bool attachment, bool alarm, int dpi = kBaseDpi);
// The text editor over a text cell, in the coordinates of the grid's parent (origin: where the
// grid's client area starts there). With an attachment it starts beside the mark.
Rect TextEditorRect(const Rect& textCell, Point origin, int rowHeight, bool attachment, int dpi = kBaseDpi);
// The date picker over a due-date cell, two pixels taller so its frame fits.
Rect DatePickerRect(const Rect& dateCell, Point origin);

// The task row a file dropped at a grid client point goes to: a row shown on the screen
// (below the header, within the visible rows), or 0 for none.
int DropTargetRow(const GridMetrics& g, int visibleRows, int x, int y);

}  // namespace lq
