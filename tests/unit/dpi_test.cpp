#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

#include "fakes.h"
#include "geometry/dpi.h"
#include "geometry/grid.h"
#include "geometry/layout.h"
#include "geometry/zones.h"
#include "res/artwork.h"
#include "settings/keys.h"
#include "settings/winposition.h"

namespace lq {
namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

TEST(Dpi, ScalingRoundsHalvesAwayFromZero) {
  struct Case {
    int pixels, dpi, expected;
  };
  const Case cases[] = {{215, 144, 323}, {18, 120, 23}, {16, 120, 20}, {-5, 144, -8}, {7, 96, 7},
                        {7, 0, 7},       {INT_MAX, 192, INT_MAX},     {INT_MIN, 192, INT_MIN}};
  for (const Case& c : cases) EXPECT_EQ(ScaleToDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
}

// The layout rules at each scale keep the relations the window relies on: what lines up at
// 96 DPI must still line up when every constant is rounded on its own.
TEST(Dpi, LayoutRulesHoldTogetherAtEveryScale) {
  for (const int dpi : kDpis) {
    SCOPED_TRACE(dpi);
    const auto s = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
    const int row = s(16);

    // Whole rows: a snapped height shows exactly the rows it was made for, and the minimum
    // height three of them.
    const int gridInset = 2 * s(4);  // the grid sits this much less high than the window
    for (int rows = 0; rows < 40; ++rows) {
      const int height = HeightForRows(rows, row, dpi);
      ASSERT_EQ(SnapHeightToRows(height, row, dpi), height) << rows;
      ASSERT_EQ(SnapHeightToRows(height + row, row, dpi), height) << rows;
      ASSERT_EQ(VisibleRowCount(height - gridInset, row), rows) << rows;
    }
    EXPECT_EQ(VisibleRowCount(MinimumHeight(row, dpi) - gridInset, row), 3);
    EXPECT_EQ(MinimumTrackSize(100, row, dpi).x, 100 + s(132));

    // Header buttons: side by side without overlapping, all within the room the header text
    // leaves them, centred on the header row.
    const int w = 400;
    const auto lefts = HeaderButtonLefts(w, dpi);
    for (std::size_t i = 1; i < lefts.size(); ++i) EXPECT_GE(lefts[i] - lefts[i - 1], s(kHeaderButtonWidth));
    EXPECT_LE(w - lefts[0], HeaderButtonsRoom(dpi));
    const int buttonMiddle = HeaderButtonTop(row, dpi) + s(kHeaderButtonHeight) / 2;
    EXPECT_LE(std::abs(buttonMiddle - (s(4) + 2 + row / 2)), 1);

    // The default window, and the edge zones.
    EXPECT_EQ(FitWindowSize(0, 0, Rect{0, 0, 4000, 3000}, dpi), (Point{s(360), s(215)}));
    EXPECT_EQ(EdgeZone(s(12) - 1, 100, 500, 300, dpi), Zone::Left);
    EXPECT_EQ(EdgeZone(s(12), 100, 500, 300, dpi), Zone::None);

    // The marks of a text cell: scaled, inside the icon zone, and the text and the editor
    // begin after them.
    const Rect cell{100, 3 * (row + 1), 400, 3 * (row + 1) + row};
    const Rect mark = AttachmentMarkRect(cell, row, dpi);
    EXPECT_EQ(mark.Width(), s(16));
    EXPECT_TRUE(InIconZone(mark.right - 1, cell, row, dpi));
    const Rect alarm = AlarmMarkRect(cell, row, true, dpi);
    EXPECT_GE(alarm.left, mark.right);
    EXPECT_GE(TextLeft(cell, row, true, true, dpi), alarm.right);
    const Rect editor = TextEditorRect(cell, Point{6, 6}, row, true, dpi);
    EXPECT_GE(editor.left, 6 + mark.right);
    EXPECT_EQ(editor.right, 6 + cell.right);
  }
}

// The program's own sizes scale; a size the file holds is pixels as Windows gave them.
TEST(Dpi, OnlyTheDefaultWindowSizesScale) {
  const auto read = [](const char* width, const char* height) {
    testing::FakeProfile profile;
    const auto put = [&profile](const SettingKey& key, const char* text) {
      if (text) profile.values[{std::string(key.section), std::string(key.name)}] = text;
    };
    put(keys::WinWidth, width);
    put(keys::WinHeight, height);
    const WindowPosition p = ReadWinPosition(profile, 144);
    return Point{p.width, p.height};
  };
  EXPECT_EQ(read(nullptr, nullptr), (Point{540, 323}));  // missing
  EXPECT_EQ(read("360", "215"), (Point{360, 215}));      // stored, even when it is the default
  EXPECT_EQ(read("abc", ""), (Point{698, 612}));         // the fallbacks 465 x 408
  EXPECT_EQ(read("-3", "0"), (Point{-3, 0}));            // as stored; placing fits them later
}

TEST(Dpi, AWindowOffEveryMonitorIsBroughtBack) {
  const Rect primary{0, 0, 1920, 1080};
  const Rect work{0, 0, 1920, 1040};
  const Rect right{1920, 0, 3840, 1080};
  const Rect leftNow{-2560, 0, 0, 1440};
  struct Case {
    const char* what;
    Rect window;
    std::vector<Rect> monitors;
    Rect expected;
  };
  const Case cases[] = {
      {"on the primary: stays", {100, 100, 460, 315}, {primary, right}, {100, 100, 460, 315}},
      {"on the second monitor: stays", {2000, 100, 2360, 315}, {primary, right}, {2000, 100, 2360, 315}},
      {"second monitor removed", {2000, 100, 2360, 315}, {primary}, {780, 100, 1140, 315}},
      {"second monitor moved to the left", {2000, 100, 2360, 315}, {primary, leftNow}, {780, 100, 1140, 315}},
      {"on the monitor now at the left: stays", {-900, 100, -540, 315}, {primary, leftNow}, {-900, 100, -540, 315}},
      {"below a screen made smaller", {100, 1200, 460, 1415}, {primary}, {100, 432, 460, 647}},
      {"larger than the work area left", {3000, 0, 5000, 1300}, {primary}, {0, 0, 1920, 1040}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RescueWindow(c.window, primary, work, c.monitors), c.expected) << c.what;
  }
  // The strip that must stay on the screen is scaled: 40 pixels above the bottom is on at
  // 96 DPI, and off at 144 (48).
  EXPECT_EQ(RescueWindow({100, 1040, 460, 1255}, primary, work, {primary}).top, 1040);
  EXPECT_NE(RescueWindow({100, 1040, 460, 1378}, primary, work, {primary}, 144).top, 1040);
}

TEST(Dpi, PixelArtScalesWithoutNewColours) {
  const Art art = ImageListArt(kImageAttachmentMark);
  const std::vector<Argb> pixels = DecodeArt(art);
  const std::set<Argb> source(pixels.begin(), pixels.end());
  for (const int dpi : kDpis) {
    const int size = ScaleToDpi(art.Width(), dpi);
    const std::vector<Argb> scaled = ResizeNearest(pixels, art.Width(), art.Height(), size, size);
    ASSERT_EQ(scaled.size(), static_cast<std::size_t>(size) * size) << dpi;
    EXPECT_EQ(std::set<Argb>(scaled.begin(), scaled.end()), source) << dpi;  // none blended, none lost
  }
  const std::vector<Argb> doubled = ResizeNearest({1, 2, 3, 4}, 2, 2, 4, 4);
  EXPECT_EQ(doubled, (std::vector<Argb>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
  EXPECT_TRUE(ResizeNearest({1, 2, 3}, 2, 2, 4, 4).empty());  // too few pixels for the size given
}

}  // namespace
}  // namespace lq
