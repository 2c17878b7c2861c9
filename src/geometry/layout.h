#pragma once
// Pixel rules of the main window as pure functions: visible rows, column widths, header
// buttons, height snapping, window placement.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/dpi.h"

namespace lq {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Whole task rows that fit below the header of a grid of the given outer height (the grid
// has a 2-pixel edge all round and 1-pixel lines between rows).
int VisibleRowCount(int gridHeight, int rowHeight);

// Width of the text column: the rest of the grid's client width after the date and days
// columns and the three grid lines. A hidden column (width -1) takes its line with it.
int TextColumnWidth(int gridClientWidth, int dateWidth, int daysWidth);

// The pixel constants below are 96-DPI values; `dpi` scales them (the row height passed in is
// already in pixels at that DPI).

// Left edges of btnAdd, btnDel, btnPopAttach, btnPopEdit and btnMenu for a grid client width.
std::array<int, 5> HeaderButtonLefts(int gridClientWidth, int dpi = kBaseDpi);
inline constexpr int kHeaderButtonWidth = 18;
inline constexpr int kHeaderButtonHeight = 16;
// The buttons' top in the panel: centred on the header row below the panel's border and the
// grid's 2-pixel edge (which stays 2 pixels at every DPI).
inline int HeaderButtonTop(int rowHeight, int dpi = kBaseDpi) {
  return ScaleToDpi(4, dpi) + 2 + rowHeight / 2 - ScaleToDpi(kHeaderButtonHeight / 2, dpi);
}
// The room the header buttons take at the right of the text column's header.
inline int HeaderButtonsRoom(int dpi = kBaseDpi) { return ScaleToDpi(100, dpi); }

// What the window adds around the rows: the panel's 4-pixel border and the grid's edge on both
// sides; 12 at 96 DPI.
inline int WindowFrameHeight(int dpi = kBaseDpi) { return 2 * ScaleToDpi(4, dpi) + 4; }

// The window height of a whole number of rows: h + 12 + k * (h + 1).
int SnapHeightToRows(int windowHeight, int rowHeight, int dpi = kBaseDpi);
// The window height showing `rows` task rows below the header.
int HeightForRows(int rows, int rowHeight, int dpi = kBaseDpi);

// Smallest window size: the date and days columns plus 132 wide, four rows plus 15 high.
Point MinimumTrackSize(int dateAndDaysWidth, int rowHeight, int dpi = kBaseDpi);
inline int MinimumHeight(int rowHeight, int dpi = kBaseDpi) { return rowHeight * 4 + 3 + WindowFrameHeight(dpi); }

// Measures a text in the bold fonts of the urgency classes (and of the header when asked) and
// returns the largest width.
using MeasureFn = std::function<int(std::string_view text, bool withTitle)>;

struct ColumnWidths {
  int date = 0;  // -1 when hidden
  int days = 0;
};
// The columns add a 2-pixel text inset, scaled to `dpi`, to what `measure` gives.
ColumnWidths EditModeColumns(const MeasureFn& measure, int dpi = kBaseDpi);
// `counts` is the header text of the date column; `editDays` the days width of edit mode.
ColumnWidths ViewModeColumns(const MeasureFn& measure, int dateFormat, std::string_view counts, int editDays,
                             bool showDate, bool showDays, int dpi = kBaseDpi);

// The due date as view mode shows it: 1 keeps bytes 6-14 ("03/21(月)"), 2 bytes 6-10 ("03/21"),
// anything else the whole text.
std::string_view ShortenDueDate(std::string_view dueDate, int dateFormat);

// Where the main window opens. A stored position of -1 centres on its axis; a position off
// every monitor is centred on the primary one. With one monitor: x + width < 0 or x > screen
// width centres horizontally, y < 0 or y > screen height - 32 vertically. Any int may come
// from the settings file; the rules are worked out without overflow.
struct StoredPosition {
  int x = -1;
  int y = -1;
  int width = 360;
  int height = 215;
  int dpi = kBaseDpi;  // of the primary monitor, for the strip that must stay on it
};
inline constexpr Point kDefaultWindowSize{360, 215};

// The stored size made usable: a width or height of 0 or less takes the default (scaled to
// `dpi`), and neither may exceed the work area, so that the whole window can be brought onto
// the screen.
Point FitWindowSize(int width, int height, const Rect& workArea, int dpi = kBaseDpi);

Point PlaceMainWindow(const StoredPosition& stored, const Rect& primary, const std::vector<Rect>& monitors);

// After the monitors changed: where a window at `window` goes. A window still on some monitor
// stays; one on none is placed by the start-up rule, its size fitted to the work area.
Rect RescueWindow(const Rect& window, const Rect& primary, const Rect& workArea, const std::vector<Rect>& monitors,
                  int dpi = kBaseDpi);

}  // namespace lq
