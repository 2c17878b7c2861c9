#include <gtest/gtest.h>

#include "geometry/clock.h"
#include "geometry/zones.h"
#include "sjis.h"

namespace lq {
namespace {

using testing::Sj;

TEST(Clock, PatternsFormatLikeTheHeaderShowsThem) {
  const DateTime t{Date{2005, 3, 21}, 9, 5, 7, 0};
  EXPECT_EQ(FormatClock(kClockFull, t), Sj("2005/03/21(月) 09:05"));
  EXPECT_EQ(FormatClock(":ss", t), ":07");
  EXPECT_EQ(FormatClock("mm\"/\"dd hh:nn", t), "03/21 09:05");
  EXPECT_EQ(FormatClock(" ", t), " ");
  EXPECT_EQ(FormatClock("\"unterminated", t), "unterminated");
}

// Parts 40 (year) 36 (month/day) 22 (weekday) 4 (space) 30 (hh:nn) 18 (:ss): 150 in all.
const ClockParts kParts{40, 36, 22, 4, 30, 18, 14};

std::vector<std::string> Narrowing(int lblCalendar) {
  std::vector<std::string> seen;
  for (int room = 200; room >= 0; --room) {
    const ClockLayout c = FitClock(lblCalendar, room, kParts, Point{0, 0}, 16);
    const std::string step = c.format + (c.seconds ? "+s" : "");
    if (seen.empty() || seen.back() != step) seen.push_back(step);
  }
  return seen;
}

TEST(Clock, TimeFirstDropsYearWeekdayDateSecondsThenAll) {
  EXPECT_EQ(Narrowing(2), (std::vector<std::string>{"yyyy\"/\"mm\"/\"dd(aaa) hh:nn+s", "mm\"/\"dd(aaa) hh:nn+s",
                                                    "mm\"/\"dd hh:nn+s", "hh:nn+s", "hh:nn", " "}));
}

TEST(Clock, DateFirstDropsSecondsTimeYearWeekdayThenAll) {
  EXPECT_EQ(Narrowing(1), (std::vector<std::string>{"yyyy\"/\"mm\"/\"dd(aaa) hh:nn+s", "yyyy\"/\"mm\"/\"dd(aaa) hh:nn",
                                                    "yyyy\"/\"mm\"/\"dd(aaa)", "mm\"/\"dd(aaa)", "mm\"/\"dd", " "}));
}

TEST(Clock, LabelsAreCentredWithTheSecondsAtTheirEnd) {
  const ClockLayout c = FitClock(2, 200, kParts, Point{140, 6}, 16);
  EXPECT_EQ(c.main, (Rect{140 + 25, 6 + 1, 140 + 25 + 150, 6 + 1 + 14}));
  EXPECT_EQ(c.secondsLabel, (Rect{140 + 25 + 150 - 18, 7, 140 + 25 + 150, 21}));
  // A width only fits when it is below the room; the same width does not.
  EXPECT_TRUE(FitClock(2, 151, kParts, Point{}, 16).seconds);
  EXPECT_EQ(FitClock(2, 150, kParts, Point{}, 16).format, "mm\"/\"dd(aaa) hh:nn");
  // Taller text than the header is cut to the header's height.
  EXPECT_EQ(FitClock(2, 200, ClockParts{40, 36, 22, 4, 30, 18, 30}, Point{}, 16).main.Height(), 16);
  const ClockLayout none = FitClock(2, 10, kParts, Point{}, 16);
  EXPECT_EQ(none.main.Width(), 0);
  EXPECT_EQ(none.main.Height(), 0);
  EXPECT_EQ(none.secondsLabel.Width() + none.secondsLabel.Height(), 0);
  EXPECT_FALSE(FitClock(0, 500, kParts, Point{}, 16).shown);
}

TEST(Zones, TwelvePixelEdgesStartTheRightCommand) {
  struct Case {
    int x, y;
    Zone zone;
    unsigned command;
  } cases[] = {
      {11, 100, Zone::Left, 0xF001},        {12, 100, Zone::None, 0xF012},  {200, 100, Zone::None, 0xF012},
      {349, 100, Zone::Right, 0xF002},      {348, 100, Zone::None, 0xF012}, {100, 5, Zone::Top, 0xF003},
      {100, 204, Zone::Bottom, 0xF006},     {3, 3, Zone::TopLeft, 0xF004},  {355, 3, Zone::TopRight, 0xF005},
      {3, 210, Zone::BottomLeft, 0xF007},   {355, 210, Zone::BottomRight, 0xF008},
  };
  for (const auto& c : cases) {
    const Zone z = EdgeZone(c.x, c.y, 360, 215);
    EXPECT_EQ(z, c.zone) << c.x << "," << c.y;
    EXPECT_EQ(SizeMoveCommand(z), c.command) << c.x << "," << c.y;
  }
  EXPECT_TRUE(StartsAtTop(Zone::TopRight));
  EXPECT_FALSE(StartsAtTop(Zone::Left));
  EXPECT_EQ(CursorOf(Zone::TopRight), ZoneCursor::SizeNESW);
  EXPECT_EQ(CursorOf(Zone::BottomRight), ZoneCursor::SizeNWSE);
  EXPECT_EQ(CursorOf(Zone::Bottom), ZoneCursor::SizeNS);
}

TEST(Zones, ViewModeCursorsFollowHoverHiding) {
  // (editMode, hideWhenOnMouse, hideWhenOnEdge, shift) -> shown
  EXPECT_TRUE(ZoneCursorShown(true, true, false, false));
  EXPECT_TRUE(ZoneCursorShown(false, false, true, false));
  EXPECT_FALSE(ZoneCursorShown(false, false, true, true));
  EXPECT_TRUE(ZoneCursorShown(false, true, true, false));
  EXPECT_TRUE(ZoneCursorShown(false, true, true, true));
  EXPECT_FALSE(ZoneCursorShown(false, true, false, false));
  EXPECT_TRUE(ZoneCursorShown(false, true, false, true));
}

}  // namespace
}  // namespace lq
