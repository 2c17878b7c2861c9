#include "geometry/layout.h"

#include <algorithm>
#include <cstdint>

namespace lq {

int VisibleRowCount(int gridHeight, int rowHeight) {
  const int pitch = rowHeight + 1;
  if (pitch <= 0) return 0;
  return (gridHeight - rowHeight - 4) / pitch;
}

int TextColumnWidth(int gridClientWidth, int dateWidth, int daysWidth) {
  return gridClientWidth - dateWidth - daysWidth - 3;
}

std::array<int, 5> HeaderButtonLefts(int w) { return {w - 94, w - 76, w - 54, w - 36, w - 14}; }

int SnapHeightToRows(int windowHeight, int rowHeight) {
  const int pitch = rowHeight + 1;
  if (pitch <= 0) return windowHeight;
  const int k = (windowHeight - rowHeight - 12) / pitch;
  return rowHeight + 12 + k * pitch;
}

Point MinimumTrackSize(int dateAndDaysWidth, int rowHeight) {
  return Point{dateAndDaysWidth + 132, MinimumHeight(rowHeight)};
}

ColumnWidths EditModeColumns(const MeasureFn& measure) {
  ColumnWidths w;
  w.date = measure("9999/99/99(\x8B\xE0)", false) + 2;  // 金
  w.days = std::max(measure("999", true) + 2, measure("\x93\xFA\x90\x94", true) + 2);  // 日数
  return w;
}

ColumnWidths ViewModeColumns(const MeasureFn& measure, int dateFormat, std::string_view counts, int editDays,
                             bool showDate, bool showDays) {
  std::string_view sample = "9999/99/99(\x8B\xE0)";  // 金
  if (dateFormat == 1) sample = "99/99(\x8B\xE0)";
  if (dateFormat == 2) sample = "99/99";
  ColumnWidths w;
  w.date = std::max(measure(sample, false) + 2, measure(counts, true) + 2);
  w.days = editDays;
  if (!showDate) w.date = -1;
  if (!showDays) w.days = -1;
  return w;
}

std::string_view ShortenDueDate(std::string_view dueDate, int dateFormat) {
  if (dateFormat == 1) return dueDate.size() > 5 ? dueDate.substr(5, 9) : std::string_view{};
  if (dateFormat == 2) return dueDate.size() > 5 ? dueDate.substr(5, 5) : std::string_view{};
  return dueDate;
}

namespace {

bool HorizontallyOn(const StoredPosition& p, const Rect& m) {
  return !(std::int64_t{p.x} + p.width < m.left || p.x > m.right);
}
bool VerticallyOn(const StoredPosition& p, const Rect& m) {
  return !(p.y < m.top || std::int64_t{p.y} > std::int64_t{m.bottom} - 32);
}

int FitLength(int stored, int fallback, int available) {
  if (stored <= 0) stored = fallback;
  return std::max(1, std::min(stored, available));
}

}  // namespace

Point FitWindowSize(int width, int height, const Rect& workArea) {
  return Point{FitLength(width, kDefaultWindowSize.x, workArea.Width()),
               FitLength(height, kDefaultWindowSize.y, workArea.Height())};
}

Point PlaceMainWindow(const StoredPosition& stored, const Rect& primary, const std::vector<Rect>& monitors) {
  const auto centre = [](int start, int length, int size) {
    return static_cast<int>(start + (std::int64_t{length} - size) / 2);
  };
  const int centreX = centre(primary.left, primary.Width(), stored.width);
  const int centreY = centre(primary.top, primary.Height(), stored.height);
  if (stored.x != -1 && stored.y != -1) {
    for (const Rect& m : monitors) {
      if (m == primary) continue;
      // A window kept on another monitor stays where it was.
      if (HorizontallyOn(stored, m) && VerticallyOn(stored, m)) return Point{stored.x, stored.y};
    }
  }
  Point p;
  p.x = (stored.x == -1 || !HorizontallyOn(stored, primary)) ? centreX : stored.x;
  p.y = (stored.y == -1 || !VerticallyOn(stored, primary)) ? centreY : stored.y;
  return p;
}

}  // namespace lq
