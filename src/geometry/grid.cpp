#include "geometry/grid.h"

namespace lq {
namespace {

constexpr int kMarkSize = 16;

int Width(const GridMetrics& g, int col) { return g.widths[static_cast<std::size_t>(col)]; }

}  // namespace

int ColumnLeft(const GridMetrics& g, int col) {
  int x = 0;
  for (int c = 0; c < col && c < kGridColumns; ++c) {
    if (Width(g, c) >= 0) x += Width(g, c) + 1;
  }
  return x;
}

Rect CellRect(const GridMetrics& g, int col, int row) {
  if (col < 0 || col >= kGridColumns || Width(g, col) < 0 || row < 0) return {};
  int line = 0;  // 0 the header, then the visible rows from the top row
  if (row > 0) {
    if (row < g.topRow) return {};
    line = row - g.topRow + 1;
  }
  const long long y = static_cast<long long>(line) * (g.rowHeight + 1);
  if (y >= g.clientHeight) return {};
  const int left = ColumnLeft(g, col);
  return Rect{left, static_cast<int>(y), left + Width(g, col), static_cast<int>(y) + g.rowHeight};
}

GridCell CellAt(const GridMetrics& g, int x, int y) {
  if (x < 0 || y < 0 || g.rowHeight + 1 <= 0) return {};
  const int line = y / (g.rowHeight + 1);
  const int row = line == 0 ? 0 : g.topRow + line - 1;
  if (row >= g.rowCount) return {};
  for (int c = 0; c < kGridColumns; ++c) {
    if (Width(g, c) < 0) continue;
    const int left = ColumnLeft(g, c);
    if (x >= left && x <= left + Width(g, c)) return GridCell{c, row};
  }
  return {};
}

bool InIconZone(int x, const Rect& textCell, int rowHeight, int dpi) {
  return x < textCell.left + rowHeight + ScaleToDpi(4, dpi);
}

Rect AttachmentMarkRect(const Rect& textCell, int rowHeight, int dpi) {
  const auto s = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
  const int left = textCell.left + s(2) - s(kMarkSize / 2) + rowHeight / 2;
  const int top = (textCell.top + textCell.bottom - s(12)) / 2;
  return Rect{left, top, left + s(kMarkSize), top + s(kMarkSize)};
}

Rect AlarmMarkRect(const Rect& textCell, int rowHeight, bool attachment, int dpi) {
  Rect r = AttachmentMarkRect(textCell, rowHeight, dpi);
  if (attachment) {
    r.left += rowHeight + ScaleToDpi(2, dpi);
    r.right += rowHeight + ScaleToDpi(2, dpi);
  }
  return r;
}

int TextLeft(const Rect& textCell, int rowHeight, bool attachment, bool alarm, int dpi) {
  const int gap = ScaleToDpi(2, dpi);
  int left = textCell.left + gap;
  if (attachment) left += rowHeight + gap;
  if (alarm) left += rowHeight + gap;
  return left;
}

Rect TextEditorRect(const Rect& textCell, Point origin, int rowHeight, bool attachment, int dpi) {
  const int w = textCell.Width();
  const int h = textCell.Height();
  if (attachment) {
    const int beside = rowHeight + ScaleToDpi(4, dpi);  // the mark and its gaps
    const int left = origin.x + textCell.left + beside;
    return Rect{left, origin.y + textCell.top, left + w - beside, origin.y + textCell.top + h};
  }
  return Rect{origin.x + textCell.left, origin.y + textCell.top, origin.x + textCell.right,
              origin.y + textCell.bottom};
}

Rect DatePickerRect(const Rect& dateCell, Point origin) {
  return Rect{origin.x + dateCell.left, origin.y + dateCell.top, origin.x + dateCell.right,
              origin.y + dateCell.bottom + 2};
}

int DropTargetRow(const GridMetrics& g, int visibleRows, int x, int y) {
  const GridCell cell = CellAt(g, x, y);
  if (!cell.Valid() || cell.row < 1 || cell.row >= g.topRow + visibleRows) return 0;
  return cell.row;
}

}  // namespace lq
