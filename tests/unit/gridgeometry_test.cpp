#include <gtest/gtest.h>

#include "geometry/grid.h"

namespace lq {
namespace {

GridMetrics Grid() {
  GridMetrics g;
  g.rowHeight = 16;
  g.widths = {96, 32, 224, 1, 1, 1};
  g.topRow = 3;
  g.rowCount = 20;
  g.clientHeight = 120;  // the header and six rows, the seventh cut
  return g;
}

TEST(GridGeometry, CellsAndTheirEdges) {
  const GridMetrics g = Grid();
  EXPECT_EQ(CellRect(g, 0, 0), (Rect{0, 0, 96, 16}));
  EXPECT_EQ(CellRect(g, 1, 3), (Rect{97, 17, 129, 33}));  // the top row comes right under the header
  EXPECT_EQ(CellRect(g, 2, 4), (Rect{130, 34, 354, 50}));
  EXPECT_EQ(CellRect(g, 2, 2), Rect{});    // scrolled away above
  EXPECT_EQ(CellRect(g, 2, 10), Rect{});   // line 8 starts at 136, below the client area
  EXPECT_EQ(CellRect(g, 6, 1), Rect{});

  // The cell under a point, at the edges of the lines between cells.
  const struct {
    int x, y;
    GridCell cell;
  } points[] = {
      {0, 0, {0, 0}},      {96, 0, {0, 0}},    // a column's right-hand line belongs to it
      {97, 0, {1, 0}},     {0, 16, {0, 0}},    // so does the line under a row
      {0, 17, {0, 3}},     {130, 33, {2, 3}},  {130, 34, {2, 4}},
      {-1, 5, {}},         {5, -1, {}},
      {0, 17 * 18, {}},    // past the last row of the table
  };
  for (const auto& p : points) EXPECT_EQ(CellAt(g, p.x, p.y), p.cell) << p.x << "," << p.y;

  // A hidden column takes its line with it.
  GridMetrics view = g;
  view.widths[0] = -1;
  EXPECT_EQ(ColumnLeft(view, 2), 33);
  EXPECT_EQ(CellAt(view, 0, 20), (GridCell{1, 3}));
}

TEST(GridGeometry, MarksAndEditors) {
  const Rect text{130, 34, 354, 50};
  EXPECT_TRUE(InIconZone(149, text, 16));
  EXPECT_FALSE(InIconZone(150, text, 16));
  EXPECT_EQ(AttachmentMarkRect(text, 16), (Rect{132, 36, 148, 52}));
  EXPECT_EQ(AlarmMarkRect(text, 16, true), (Rect{150, 36, 166, 52}));
  EXPECT_EQ(AlarmMarkRect(text, 16, false), AttachmentMarkRect(text, 16));
  EXPECT_EQ(TextLeft(text, 16, true, true), 168);
  EXPECT_EQ(TextLeft(text, 16, false, false), 132);

  const Point origin{6, 6};
  EXPECT_EQ(TextEditorRect(text, origin, 16, false), (Rect{136, 40, 360, 56}));
  EXPECT_EQ(TextEditorRect(text, origin, 16, true), (Rect{156, 40, 360, 56}));  // beside the mark
  EXPECT_EQ(DatePickerRect(Rect{0, 34, 96, 50}, origin), (Rect{6, 40, 102, 58}));
}

}  // namespace
}  // namespace lq
