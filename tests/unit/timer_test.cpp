#include <gtest/gtest.h>

#include <string>

#include "geometry/hover.h"
#include "geometry/tick.h"
#include "sjis.h"

namespace lq {
namespace {

using testing::Sj;

DateTime At(int day, int h, int n, int s, int ms = 0) { return DateTime{Date{2024, 3, day}, h, n, s, ms}; }

TEST(Tick, AlarmsAreExaminedAtTheFirstTickOfEachMinuteAndTheDayOnce) {
  TimerState state;
  state.LastDate = Date{2024, 3, 15};
  std::string header;
  struct Step {
    DateTime now;
    bool checkAlarms;
    const char* minute;
    bool dayChanged;
  } steps[] = {
      {At(15, 12, 30, 40), true, "12:30", false},  // started within the minute: examined at once
      {At(15, 12, 30, 40, 100), false, "12:30", false},
      {At(15, 12, 30, 59, 900), false, "12:30", false},
      {At(15, 12, 31, 0), true, "12:31", false},
      {At(15, 23, 59, 59, 900), true, "23:59", false},
      {At(16, 0, 0, 0), true, "00:00", true},
      {At(16, 0, 0, 0, 100), false, "00:00", false},
  };
  for (const Step& s : steps) {
    const TickOutcome out = TickBookkeeping(TickInput{s.now, true, 0, kClockFull, true}, state, header);
    EXPECT_EQ(out.checkAlarms, s.checkAlarms) << s.now.hour << ":" << s.now.minute << ":" << s.now.second;
    EXPECT_EQ(out.minute.View(), s.minute);
    EXPECT_EQ(state.LastAlarmMinute.View(), s.minute);
    EXPECT_EQ(out.dayChanged, s.dayChanged) << s.now.date.day << " " << s.now.hour;
    EXPECT_EQ(state.LastDate, s.now.date);
  }
  EXPECT_EQ(header, "");  // LblCalendar 0 never writes the clock
}

TEST(Tick, EditModeWritesTheHeaderCellOnlyWhenItsTextChanges) {
  TimerState state;
  state.LastDate = Date{2024, 3, 15};
  std::string header = "old";
  auto tick = [&](DateTime now, std::string_view format, bool seconds) {
    return TickBookkeeping(TickInput{now, true, 2, format, seconds}, state, header).headerChanged;
  };
  EXPECT_TRUE(tick(At(15, 9, 5, 7), kClockFull, true));
  EXPECT_EQ(header, Sj("2024/03/15(金) 09:05:07"));
  EXPECT_FALSE(tick(At(15, 9, 5, 7, 500), kClockFull, true));
  EXPECT_TRUE(tick(At(15, 9, 5, 7, 600), kClockFull, false));  // the seconds no longer fit
  EXPECT_EQ(header, Sj("2024/03/15(金) 09:05"));
  EXPECT_FALSE(tick(At(15, 9, 5, 8), kClockFull, false));
  EXPECT_TRUE(tick(At(15, 9, 5, 8), " ", false));  // nothing fits
  EXPECT_EQ(header, " ");
}

TEST(Tick, ViewModeRewritesTheLabelsWhenTheSecondsChange) {
  TimerState state;
  state.LastDate = Date{2024, 3, 15};
  std::string header = "kept";
  auto tick = [&](DateTime now, std::string_view format, int lblCalendar = 2) {
    return TickBookkeeping(TickInput{now, false, lblCalendar, format, true}, state, header).labelsChanged;
  };
  EXPECT_FALSE(tick(At(15, 9, 5, 7), kClockFull, 0));
  EXPECT_TRUE(state.lblSecond.Empty());
  EXPECT_TRUE(tick(At(15, 9, 5, 7), kClockFull));
  EXPECT_EQ(state.lblSecond.View(), ":07");
  EXPECT_EQ(state.lblYMDHM.View(), Sj("2024/03/15(金) 09:05"));
  EXPECT_FALSE(tick(At(15, 9, 5, 7, 900), kClockFull));
  // A new format alone waits for the next second, unless the labels were marked stale.
  EXPECT_FALSE(tick(At(15, 9, 5, 7, 950), "hh:nn"));
  EXPECT_EQ(state.lblYMDHM.View(), Sj("2024/03/15(金) 09:05"));
  MarkClockLabelsStale(state);
  EXPECT_TRUE(tick(At(15, 9, 5, 7, 960), "hh:nn"));
  EXPECT_EQ(state.lblYMDHM.View(), "09:05");
  EXPECT_TRUE(tick(At(15, 9, 5, 8), "hh:nn"));
  EXPECT_EQ(state.lblSecond.View(), ":08");
  EXPECT_EQ(header, "kept");
}

TEST(Clock, FixedBufferFormatsLikeTheStringForm) {
  const DateTime t{Date{2005, 3, 21}, 9, 5, 7, 0};
  for (const std::string_view p : {kClockFull, std::string_view("mm\"/\"dd(aaa) hh:nn:ss"), std::string_view(" ")}) {
    ClockText text;
    AppendClock(text, p, t);
    EXPECT_EQ(text.View(), FormatClock(p, t)) << p;
  }
  // A double-byte character in a pattern is copied whole: its second byte 0x64 is no "dd".
  EXPECT_EQ(FormatClock("\x8E\x64", t), "\x8E\x64");  // 司
  FixedText<3> small;
  small.Append("ab");
  small.Append("\x93\xFA");  // 日 does not fit whole and is left out
  EXPECT_EQ(small.View(), "ab");
}

// View mode over a window at Left 100, Top 100, 300 wide, 200 high.
struct HoverCase {
  const char* name;
  int x, y;
  bool hidden, onMouse, onEdge, shift, left, right;
  bool visible, nowHidden;
};

HoverInput ViewMode(const HoverCase& c) {
  HoverInput in;
  in.editMode = false;
  in.HoverHidden = c.hidden;
  in.cursor = Point{c.x, c.y};
  in.window = Rect{100, 100, 400, 300};
  in.HideWhenOnMouse = c.onMouse;
  in.HideWhenOnEdge = c.onEdge;
  in.shiftDown = c.shift;
  in.leftDown = c.left;
  in.rightDown = c.right;
  return in;
}

TEST(Hover, HidesUnderTheCursorAndComesBack) {
  const HoverCase cases[] = {
      // name                                   x    y    hid    mouse  edge   shift  left   right  vis    hid
      {"3 px inside the edge, with margin",     103, 200, false, true,  true,  false, false, false, true,  false},
      {"5 px inside the edge, with margin",     105, 200, false, true,  true,  false, false, false, false, true},
      {"5 px inside the right edge",            395, 295, false, true,  true,  false, false, false, false, true},
      {"4 px inside the bottom edge",           200, 296, false, true,  true,  false, false, false, true,  false},
      {"on the edge, no margin",                100, 100, false, true,  false, false, false, false, false, true},
      {"Left + Width counts as over",           400, 300, false, true,  false, false, false, false, false, true},
      {"one pixel beyond",                      401, 200, false, true,  false, false, false, false, true,  false},
      {"dragging with the left button",         200, 200, false, true,  false, false, true,  false, true,  false},
      {"dragging with the right button",        200, 200, false, true,  false, false, false, true,  true,  false},
      {"Shift keeps it when hiding on mouse",   200, 200, false, true,  false, true,  false, false, true,  false},
      {"without hiding on mouse: Shift hides",  200, 200, false, false, false, true,  false, false, false, true},
      {"without hiding on mouse: no Shift",     200, 200, false, false, false, false, false, false, true,  false},
      {"Shift-only hiding keeps the margin",    103, 200, false, false, true,  true,  false, false, true,  false},
      {"hidden, still over",                    200, 200, true,  true,  false, false, false, false, false, true},
      {"hidden, Shift pressed over it",         200, 200, true,  true,  false, true,  false, false, true,  false},
      {"hidden, buttons are not consulted",     200, 200, true,  true,  false, false, true,  true,  false, true},
      {"hidden by Shift, Shift released",       200, 200, true,  false, false, false, false, false, true,  false},
      {"hidden by Shift, Shift held",           200, 200, true,  false, false, true,  false, false, false, true},
      {"hidden, left the window",               401, 200, true,  true,  true,  false, false, false, true,  false},
      {"hidden, on the edge: no margin here",   100, 300, true,  true,  true,  false, false, false, false, true},
      {"hidden, in the margin",                 102, 200, true,  true,  true,  false, false, false, false, true},
  };
  for (const HoverCase& c : cases) {
    const HoverDecision d = DecideHover(ViewMode(c));
    EXPECT_EQ(d.visible, c.visible) << c.name;
    EXPECT_EQ(d.HoverHidden, c.nowHidden) << c.name;
  }
}

TEST(Hover, HiddenByTheUserEditModeAndDialogsLeaveHoverHiddenAlone) {
  for (const bool hidden : {false, true}) {
    for (const int x : {200, 900}) {  // over the window, away from it
      const HoverCase c{"", x, 200, hidden, true, false, false, false, false, false, false};
      HoverInput in = ViewMode(c);
      in.UserHidden = true;
      EXPECT_EQ(DecideHover(in).visible, false);
      EXPECT_EQ(DecideHover(in).HoverHidden, hidden);
      for (const int which : {0, 1, 2}) {
        in = ViewMode(c);
        (which == 0 ? in.editMode : which == 1 ? in.settingsShowing : in.syncShowing) = true;
        EXPECT_EQ(DecideHover(in).visible, !hidden) << which << " " << x;
        EXPECT_EQ(DecideHover(in).HoverHidden, hidden) << which << " " << x;
      }
    }
  }
}

TEST(Hover, AnUnreadCursorCountsAsTheScreenOrigin) {
  HoverInput in = ViewMode(HoverCase{"", 0, 0, true, true, false, false, false, false, false, false});
  in.cursor.reset();
  EXPECT_TRUE(DecideHover(in).visible);  // (0, 0) lies outside
  in.HoverHidden = false;
  in.window = Rect{-10, -10, 200, 200};
  EXPECT_FALSE(DecideHover(in).visible);  // now it lies inside
}

}  // namespace
}  // namespace lq
