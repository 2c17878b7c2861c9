#include <gtest/gtest.h>

#include <climits>

#include "fakes.h"
#include "geometry/layout.h"
#include "settings/winposition.h"
#include "sjis.h"

namespace lq {
namespace {

using testing::Sj;

TEST(Layout, VisibleRowsAndTextColumn) {
  EXPECT_EQ(VisibleRowCount(207, 16), 11);  // (207 - 16 - 4) / 17
  EXPECT_EQ(VisibleRowCount(30, 16), 0);
  EXPECT_EQ(VisibleRowCount(100, -1), 0);   // never a division by zero
  EXPECT_EQ(TextColumnWidth(348, 98, 34), 213);
  // Hidden date and days columns (-1) give the text column the whole width with its line.
  EXPECT_EQ(TextColumnWidth(348, -1, -1), 347);
}

TEST(Layout, SnapHeightKeepsWholeRows) {
  for (int h : {12, 16, 24, 48}) {
    for (int height = 4 * h + 15; height < 900; height += 7) {
      const int snapped = SnapHeightToRows(height, h);
      ASSERT_EQ((snapped - h - 12) % (h + 1), 0) << h << " " << height;
      ASSERT_LE(snapped, height);
      ASSERT_GT(snapped, height - (h + 1));
    }
  }
  EXPECT_EQ(SnapHeightToRows(215, 16), 215);  // 16 + 12 + 11 * 17
  EXPECT_EQ(SnapHeightToRows(231, 16), 215);
  EXPECT_EQ(SnapHeightToRows(232, 16), 232);
}

TEST(Layout, HeaderButtonsAndMinimumSize) {
  EXPECT_EQ(HeaderButtonLefts(300), (std::array<int, 5>{206, 224, 246, 264, 286}));
  EXPECT_EQ(HeaderButtonTop(16), 6);
  EXPECT_EQ(MinimumTrackSize(130, 16), (Point{262, 79}));
}

TEST(Layout, ColumnsMeasureTheirSamples) {
  std::vector<std::pair<std::string, bool>> asked;
  const MeasureFn measure = [&](std::string_view text, bool withTitle) {
    asked.emplace_back(std::string(text), withTitle);
    return static_cast<int>(text.size()) * 7;
  };
  const ColumnWidths edit = EditModeColumns(measure);
  EXPECT_EQ(edit.date, 14 * 7 + 2);
  EXPECT_EQ(edit.days, 4 * 7 + 2);  // "日数" is wider than "999"
  EXPECT_EQ(asked[0], std::make_pair(Sj("9999/99/99(金)"), false));

  // In view mode the task counts set the date column once they are wider than the sample.
  EXPECT_EQ(ViewModeColumns(measure, 2, "120/345", 30, true, true).date, 7 * 7 + 2);
  EXPECT_EQ(ViewModeColumns(measure, 2, "1/2", 30, true, true).date, 5 * 7 + 2);
  EXPECT_EQ(ViewModeColumns(measure, 1, "1/2", 30, true, true).date, 9 * 7 + 2);
  const ColumnWidths hidden = ViewModeColumns(measure, 0, "1/2", 30, false, false);
  EXPECT_EQ(hidden.date, -1);
  EXPECT_EQ(hidden.days, -1);
  EXPECT_EQ(ViewModeColumns(measure, 0, "1/2", 30, true, true).days, 30);
}

TEST(Layout, ViewModeShortensTheDueDate) {
  const std::string d = Sj("2005/03/21(月)");
  EXPECT_EQ(ShortenDueDate(d, 0), d);
  EXPECT_EQ(ShortenDueDate(d, 1), Sj("03/21(月)"));
  EXPECT_EQ(ShortenDueDate(d, 2), "03/21");
  EXPECT_EQ(ShortenDueDate(d, 7), d);
  EXPECT_EQ(ShortenDueDate("", 1), "");
}

TEST(Layout, PlacementOnOneMonitorFollowsTheRulesExactly) {
  const Rect screen{0, 0, 1280, 800};
  const std::vector<Rect> one{screen};
  const int cx = (1280 - 360) / 2;
  const int cy = (800 - 215) / 2;
  struct Case {
    int x, y;
    Point expected;
  } cases[] = {
      {100, 50, {100, 50}},   {-1, 50, {cx, 50}},     {-100, 60, {-100, 60}}, {-400, 60, {cx, 60}},
      {-360, 60, {-360, 60}}, {-361, 60, {cx, 60}},   {1280, 70, {1280, 70}}, {1281, 70, {cx, 70}},
      {80, 768, {80, 768}},   {80, 769, {80, cy}},    {80, -1, {80, cy}},     {80, -2, {80, cy}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceMainWindow({c.x, c.y, 360, 215}, screen, one), c.expected) << c.x << "," << c.y;
  }
}

// Whatever [WinPosition] holds, the window opens with a size that fits the work area, and at
// least partly on the screen, where it can be reached and moved back.
TEST(Layout, EveryStoredPositionAndSizeGivesAReachableWindow) {
  const Rect screen{0, 0, 1280, 800};
  const Rect work{0, 0, 1280, 770};
  const std::string values[] = {"0", "-1", "-2147483648", "2147483647", std::string(10000, '7'), "300"};
  for (const auto& x : values) {
    for (const auto& y : values) {
      for (const auto& w : values) {
        for (const auto& h : values) {
          testing::FakeProfile profile;
          profile.values[{"WinPosition", "x"}] = x;
          profile.values[{"WinPosition", "y"}] = y;
          profile.values[{"WinPosition", "Width"}] = w;
          profile.values[{"WinPosition", "Height"}] = h;
          const WindowPosition stored = ReadWinPosition(profile);
          const Point size = FitWindowSize(stored.width, stored.height, work);
          const Point at = PlaceMainWindow({stored.x, stored.y, size.x, size.y}, screen, {screen});
          const std::string where =
              x.substr(0, 12) + "," + y.substr(0, 12) + " " + w.substr(0, 12) + "x" + h.substr(0, 12);
          ASSERT_GT(size.x, 0) << where;
          ASSERT_GT(size.y, 0) << where;
          ASSERT_LE(size.x, work.Width()) << where;
          ASSERT_LE(size.y, work.Height()) << where;
          ASSERT_GE(at.x + size.x, screen.left) << where;
          ASSERT_LE(at.x, screen.right) << where;
          ASSERT_GE(at.y, screen.top) << where;
          ASSERT_LE(at.y, screen.bottom - 32) << where;
        }
      }
    }
  }
  // Sizes that fit are kept; a size that is no size takes the default.
  EXPECT_EQ(FitWindowSize(400, 300, work), (Point{400, 300}));
  EXPECT_EQ(FitWindowSize(1280, 770, work), (Point{1280, 770}));
  EXPECT_EQ(FitWindowSize(0, -1, work), (Point{360, 215}));
  EXPECT_EQ(FitWindowSize(INT_MAX, INT_MIN, work), (Point{1280, 215}));
}

TEST(Layout, AWindowKeptOnASecondMonitorStaysThere) {
  const Rect primary{0, 0, 1920, 1080};
  const Rect left{-1280, 100, 0, 1124};
  const std::vector<Rect> both{primary, left};
  EXPECT_EQ(PlaceMainWindow({-900, 400, 360, 215}, primary, both), (Point{-900, 400}));
  // Off every monitor: the primary monitor's rules decide, axis by axis.
  EXPECT_EQ(PlaceMainWindow({-900, 50, 360, 215}, primary, both), (Point{(1920 - 360) / 2, 50}));
  EXPECT_EQ(PlaceMainWindow({-3000, 400, 360, 215}, primary, both), (Point{(1920 - 360) / 2, 400}));
  // Without the second monitor the same position is centred, as before.
  EXPECT_EQ(PlaceMainWindow({-900, 400, 360, 215}, primary, {primary}), (Point{(1920 - 360) / 2, 400}));
}

}  // namespace
}  // namespace lq
