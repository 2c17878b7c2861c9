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

std::array<int, 5> HeaderButtonLefts(int w, int dpi) {
  const auto s = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
  return {w - s(94), w - s(76), w - s(54), w - s(36), w - s(14)};
}

int SnapHeightToRows(int windowHeight, int rowHeight, int dpi) {
  const int pitch = rowHeight + 1;
  if (pitch <= 0) return windowHeight;
  const int frame = WindowFrameHeight(dpi);
  const int k = (windowHeight - rowHeight - frame) / pitch;
  return rowHeight + frame + k * pitch;
}

int HeightForRows(int rows, int rowHeight, int dpi) {
  return rowHeight + WindowFrameHeight(dpi) + std::max(0, rows) * (rowHeight + 1);
}

Point MinimumTrackSize(int dateAndDaysWidth, int rowHeight, int dpi) {
  return Point{dateAndDaysWidth + ScaleToDpi(132, dpi), MinimumHeight(rowHeight, dpi)};
}

ColumnWidths EditModeColumns(const MeasureFn& measure, int dpi) {
  const int inset = ScaleToDpi(2, dpi);
  ColumnWidths w;
  w.date = measure("9999/99/99(\x8B\xE0)", false) + inset;  // 金
  w.days = std::max(measure("999", true) + inset, measure("\x93\xFA\x90\x94", true) + inset);  // 日数
  return w;
}

ColumnWidths ViewModeColumns(const MeasureFn& measure, int dateFormat, std::string_view counts, int editDays,
                             bool showDate, bool showDays, int dpi) {
  const int inset = ScaleToDpi(2, dpi);
  std::string_view sample = "9999/99/99(\x8B\xE0)";  // 金
  if (dateFormat == 1) sample = "99/99(\x8B\xE0)";
  if (dateFormat == 2) sample = "99/99";
  ColumnWidths w;
  w.date = std::max(measure(sample, false) + inset, measure(counts, true) + inset);
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
  return !(p.y < m.top || std::int64_t{p.y} > std::int64_t{m.bottom} - ScaleToDpi(32, p.dpi));
}

int FitLength(int stored, int fallback, int available) {
  if (stored <= 0) stored = fallback;
  return std::max(1, std::min(stored, available));
}

}  // namespace

Point FitWindowSize(int width, int height, const Rect& workArea, int dpi) {
  return Point{FitLength(width, ScaleToDpi(kDefaultWindowSize.x, dpi), workArea.Width()),
               FitLength(height, ScaleToDpi(kDefaultWindowSize.y, dpi), workArea.Height())};
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

Rect RescueWindow(const Rect& window, const Rect& primary, const Rect& workArea, const std::vector<Rect>& monitors,
                  int dpi) {
  StoredPosition at{window.left, window.top, window.Width(), window.Height(), dpi};
  for (const Rect& m : monitors) {
    if (HorizontallyOn(at, m) && VerticallyOn(at, m)) return window;
  }
  const Point size = FitWindowSize(at.width, at.height, workArea, dpi);
  at.width = size.x;
  at.height = size.y;
  // -1 would mean "centre" to the start-up rule; a window that is off every monitor is
  // centred on the axis it is off anyway.
  if (at.x == -1) at.x = -2;
  if (at.y == -1) at.y = -2;
  const Point p = PlaceMainWindow(at, primary, {});
  return Rect{p.x, p.y, p.x + size.x, p.y + size.y};
}

}  // namespace lq
