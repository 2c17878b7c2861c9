#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "geometry/cascade.h"
#include "store/alarmcall.h"
#include "store/snooze.h"

namespace lq {
namespace {

// gtest prints UTF-16 strings as numbers; UTF-8 shows what went wrong.
std::string U8(std::u16string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

TEST(AlarmCall, TimeArgument) {
  const struct {
    std::u16string arg;
    std::u16string expected;  // empty: not a time
  } cases[] = {
      {u"07:00", u"07:00"},   {u"7:05", u"07:05"},  {u" 23:59 ", u"23:59"}, {u"0:00", u"00:00"},
      {u"24:00", u""},        {u"12:60", u""},      {u"7:5", u""},          {u"0700", u""},
      {u"12:345", u""},       {u"1:23:45", u""},    {u"", u""},             {u"ab:cd", u""},
      {u"０７:００", u""},    {u"07:00x", u""},     {u":00", u""},          {u"123:00", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.arg));
    const auto time = ParseCallTime(c.arg);
    EXPECT_EQ(U8(time.value_or(u"")), U8(c.expected));
  }
}

TEST(AlarmCall, ArgumentsBecomeTimeTextAndCaption) {
  const struct {
    const char* name;
    std::vector<std::u16string> args;
    std::u16string time, text;
    bool timeGiven, textGiven;
  } cases[] = {
      {"as Lindqvale calls", {u"07:00", u" 起床"}, u"07:00", u"起床", true, true},
      {"no arguments", {}, u"--:--", u"（予定なし）", false, false},
      {"time only", {u"07:00"}, u"07:00", u"（予定なし）", true, false},
      {"empty text", {u"07:00", u""}, u"07:00", u"（予定なし）", true, false},
      {"blank text", {u"07:00", u"  \u3000 "}, u"07:00", u"（予定なし）", true, false},
      {"text without time", {u"会議"}, u"--:--", u"会議", false, true},
      {"impossible time stays in the text", {u"25:00", u" 会議"}, u"--:--", u"25:00 会議", false, true},
      {"empty time", {u"", u" 起床"}, u"--:--", u"起床", false, true},
      {"time and text in one argument", {u"07:00 起床"}, u"07:00", u"起床", true, true},
      {"time glued to the text", {u"7:00起床", u"する"}, u"07:00", u"起床 する", true, true},
      {"text split by lost quotes", {u"07:00", u"朝の", u"会議"}, u"07:00", u"朝の 会議", true, true},
      {"pieces that bring their own blanks", {u"07:00", u" 朝の ", u"会議"}, u"07:00", u"朝の 会議", true, true},
      {"line breaks and tabs", {u"07:00", u"一行目\r\n二行目\tおわり"}, u"07:00", u"一行目 二行目 おわり", true, true},
      {"backslashes and apostrophes intact", {u"07:00", u" C:\\メモ\\ 'a'"}, u"07:00", u"C:\\メモ\\ 'a'", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AlarmDisplay d = InterpretAlarmArguments(c.args);
    EXPECT_EQ(U8(d.time), U8(c.time));
    EXPECT_EQ(U8(d.text), U8(c.text));
    EXPECT_EQ(d.timeGiven, c.timeGiven);
    EXPECT_EQ(d.textGiven, c.textGiven);
    EXPECT_EQ(U8(d.caption), c.timeGiven ? U8(u"アラーム " + c.time) : U8(u"アラーム"));
  }
}

TEST(AlarmCall, LongTextIsCutWithAnEllipsis) {
  std::u16string huge;
  for (int i = 0; i < 100000 / 4; ++i) huge += u"予定あり";
  const AlarmDisplay d = InterpretAlarmArguments(std::vector<std::u16string>{u"09:15", huge});
  ASSERT_EQ(d.text.size(), kAlarmTextMaxUnits);
  EXPECT_EQ(d.text.back(), kEllipsis);
  EXPECT_EQ(d.text.substr(0, 8), u"予定あり予定あり");

  // The limit itself is kept whole; one unit more is cut.
  const std::u16string exact(kAlarmTextMaxUnits, u'a');
  EXPECT_EQ(CutWithEllipsis(exact, kAlarmTextMaxUnits), exact);
  const std::u16string cut = CutWithEllipsis(exact + u"b", kAlarmTextMaxUnits);
  EXPECT_EQ(cut.size(), kAlarmTextMaxUnits);
  EXPECT_EQ(cut.back(), kEllipsis);

  EXPECT_EQ(CutWithEllipsis(u"abc", 0), u"");
  EXPECT_EQ(CutWithEllipsis(u"abc", 1), u"…");
  EXPECT_EQ(CutWithEllipsis(u"abc", 3), u"abc");
}

TEST(AlarmCall, CuttingNeverSplitsASurrogatePair) {
  const std::u16string bells = u"🔔🔔🔔🔔🔔";  // two units each
  for (std::size_t max = 1; max < bells.size(); ++max) {
    SCOPED_TRACE(max);
    const std::u16string cut = CutWithEllipsis(bells, max);
    ASSERT_LE(cut.size(), max);
    ASSERT_EQ(cut.back(), kEllipsis);
    EXPECT_EQ((cut.size() - 1) % 2, 0u) << "a lone half of a pair was kept: " << U8(cut);
  }
}

TEST(AlarmCall, WaveFileHead) {
  using namespace std::string_view_literals;
  EXPECT_TRUE(LooksLikeWave("RIFF\x24\x00\x00\x00WAVEfmt "sv));
  EXPECT_TRUE(LooksLikeWave("RIFF\x00\x00\x00\x00WAVE"sv));
  EXPECT_FALSE(LooksLikeWave("RIFF\x24\x00\x00\x00" "AVI LIST"sv));
  EXPECT_FALSE(LooksLikeWave("ID3\x03\x00\x00\x00\x00\x00\x00\x00\x00"sv));  // an MP3
  EXPECT_FALSE(LooksLikeWave("RIFF\x24\x00\x00\x00WAV"sv));
  EXPECT_FALSE(LooksLikeWave(""));
}

bool Inside(const Point& p, int width, int height, const Rect& work) {
  return p.x >= work.left && p.y >= work.top && p.x + width <= work.right && p.y + height <= work.bottom;
}

TEST(AlarmPlacement, FirstWindowIsCentredAcrossAQuarterDown) {
  const Rect work{100, 40, 1380, 840};  // a second monitor's work area
  EXPECT_EQ(PlaceAlarmWindow(work, 366, 175, 24, {}), (Point{100 + (1280 - 366) / 2, 40 + 200}));
  // A window taller than three quarters of the room is pushed up to fit.
  EXPECT_EQ(PlaceAlarmWindow(work, 366, 700, 24, {}), (Point{100 + (1280 - 366) / 2, 40 + 100}));
}

TEST(AlarmPlacement, EachNewWindowStepsPastTheOpenOnesAndStaysInside) {
  for (const Rect work : {Rect{0, 0, 1280, 760}, Rect{0, 0, 640, 440}, Rect{-1024, 0, 0, 728}}) {
    SCOPED_TRACE(work.Width());
    const int w = 366, h = 175, step = 24;
    std::vector<Point> open;
    for (int n = 0; n < 60; ++n) {
      const Point p = PlaceAlarmWindow(work, w, h, step, open);
      ASSERT_TRUE(Inside(p, w, h, work)) << n << ": " << p.x << "," << p.y;
      for (const Point& q : open) {
        ASSERT_FALSE(std::abs(q.x - p.x) < step / 2 && std::abs(q.y - p.y) < step / 2)
            << n << " lands on an open window at " << q.x << "," << q.y;
      }
      if (n == 1) {
        EXPECT_EQ(p, (Point{open[0].x + step, open[0].y + step})) << "the second steps diagonally";
      }
      open.push_back(p);
    }
  }
}

TEST(AlarmPlacement, TallerWindowsShareTheCascadeAndClosedPlacesAreReused) {
  const Rect work{0, 0, 1280, 760};
  const Point first = PlaceAlarmWindow(work, 366, 175, 24, {});
  const std::vector<Point> one{first};
  EXPECT_EQ(PlaceAlarmWindow(work, 366, 330, 24, one), (Point{first.x + 24, first.y + 24}));

  std::vector<Point> open;
  for (int n = 0; n < 3; ++n) open.push_back(PlaceAlarmWindow(work, 366, 175, 24, open));
  const Point closed = open[1];
  open.erase(open.begin() + 1);
  EXPECT_EQ(PlaceAlarmWindow(work, 366, 175, 24, open), closed);
}

TEST(AlarmPlacement, OddSizesGiveAPlaceInsteadOfFailing) {
  const Rect work{0, 0, 800, 600};
  // Larger than the work area: its top-left corner, whatever is open.
  EXPECT_EQ(PlaceAlarmWindow(work, 900, 700, 24, {}), (Point{0, 0}));
  const std::vector<Point> corner{{0, 0}};
  EXPECT_EQ(PlaceAlarmWindow(work, 900, 700, 24, corner), (Point{0, 0}));
  // A step below one pixel still moves on.
  const Point p0 = PlaceAlarmWindow(work, 300, 200, 0, {});
  const std::vector<Point> first{p0};
  EXPECT_NE(PlaceAlarmWindow(work, 300, 200, 0, first), p0);
  // An empty work area (a monitor being removed) still yields a point.
  EXPECT_EQ(PlaceAlarmWindow(Rect{5, 5, 5, 5}, 300, 200, 24, {}), (Point{5, 5}));
}

}  // namespace
}  // namespace lq

namespace lq {
namespace {

TEST(AlarmCall, LateAndSeveralAlarms) {
  const struct {
    const char* name;
    std::vector<std::u16string> args;
    std::u16string time, text, note, caption;
    std::size_t alarms;
  } cases[] = {
      {"two arguments keep their meaning, whatever the text", {u"07:00", u"/late:5"}, u"07:00", u"/late:5", u"",
       u"アラーム 07:00", 1},
      {"late by minutes", {u"07:00", u" 起床", u"/late:32"}, u"07:00", u"起床", u"32分遅れのアラームです",
       u"アラーム 07:00（32分遅れ）", 1},
      {"late by hours", {u"07:00", u" 起床", u"/late:120"}, u"07:00", u"起床", u"2時間遅れのアラームです",
       u"アラーム 07:00（2時間遅れ）", 1},
      {"a split text before the mark", {u"07:00", u"朝の", u"会議", u"/late:62"}, u"07:00", u"朝の 会議",
       u"1時間2分遅れのアラームです", u"アラーム 07:00（1時間2分遅れ）", 1},
      {"late by nothing is on time", {u"07:00", u" 起床", u"/late:0"}, u"07:00", u"起床", u"", u"アラーム 07:00", 1},
      {"not a mark", {u"07:00", u" 起床", u"/late:x", u"/late:1234567"}, u"07:00", u"起床 /late:x /late:1234567", u"",
       u"アラーム 07:00", 1},
      {"blanks after the last alarm", {u"07:00", u" 起床", u"/late:5", u" ", u""}, u"07:00", u"起床",
       u"5分遅れのアラームです", u"アラーム 07:00（5分遅れ）", 1},
      {"several",
       {u"07:00", u" 起床", u"/late:90", u"07:30", u"", u"/late:60", u"08:29", u" 出発", u"/late:0"},
       u"3件のアラーム",
       u"07:00 起床（1時間30分遅れ）\r\n07:30 （予定なし）（1時間遅れ）\r\n08:29 出発",
       kAlarmSeveralNote.data(),
       u"アラーム 3件",
       3},
      {"several on time have no note", {u"07:00", u" a", u"/late:0", u"07:00", u" b"}, u"2件のアラーム",
       u"07:00 a\r\n07:00 b", u"", u"アラーム 2件", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AlarmDisplay d = InterpretAlarmArguments(c.args);
    EXPECT_EQ(U8(d.time), U8(c.time));
    EXPECT_EQ(U8(d.text), U8(c.text));
    EXPECT_EQ(U8(d.note), U8(c.note));
    EXPECT_EQ(U8(d.caption), U8(c.caption));
    EXPECT_EQ(d.alarms.size(), c.alarms);
  }

  // Beyond ten lines the rest is counted; long texts are cut in the list.
  std::vector<std::u16string> many;
  for (int i = 0; i < 12; ++i) {
    many.insert(many.end(), {u"07:00", u" " + std::u16string(60, u'長'), u"/late:5"});
  }
  const AlarmDisplay d = InterpretAlarmArguments(many);
  EXPECT_EQ(d.alarms.size(), 12u);
  EXPECT_EQ(U8(d.text.substr(d.text.size() - 6)), U8(u"\r\nほか2件"));
  EXPECT_NE(d.text.find(std::u16string(kAlarmListTextMaxUnits - 1, u'長') + u"…（5分遅れ）"), std::u16string::npos);
}

TEST(Snooze, OnlyATestRunShortensTheMinute) {
  const struct {
    std::u16string automation, minute;
    std::int64_t expected;
  } cases[] = {
      {u"1", u"300", 300},        {u"1", u"1", 1},          {u"1", u"60000", 60000},
      {u"", u"300", 60000},       {u"0", u"300", 60000},    {u"yes", u"300", 60000},
      {u"1 ", u"300", 60000},     {u"1", u"", 60000},       {u"1", u"0", 60000},
      {u"1", u"60001", 60000},    {u"1", u"99999999999999999999", 60000},
      {u"1", u"-5", 60000},       {u"1", u"3e2", 60000},    {u"1", u" 300", 60000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.automation) + "/" + U8(c.minute));
    EXPECT_EQ(SnoozeMinuteMilliseconds(c.automation, c.minute), c.expected);
  }
  // A drop-down without a selection (CB_ERR) snoozes by the first choice.
  EXPECT_EQ(SnoozeMinutes(kSnoozeChoices, -1), kSnoozeChoices[0].minutes);
}

TEST(Snooze, DueAtItsTimeLateByWholeMinutesAfterASleep) {
  const std::int64_t due = 10'000'000;
  const struct {
    const char* name;
    std::int64_t now, minute;
    bool due;
    long late;
    std::int64_t wait;
  } cases[] = {
      {"an hour ahead: the next look within a second", due - 3'600'000, 60000, false, 0, 1000},
      {"300 ms ahead", due - 300, 60000, false, 0, 300},
      {"1 ms ahead", due - 1, 60000, false, 0, 1},
      {"at its time", due, 60000, true, 0, 0},
      {"59.999 s after is still on time", due + 59'999, 60000, true, 0, 0},
      {"a minute after", due + 60'000, 60000, true, 1, 0},
      {"a sleep of 32 minutes", due + 32 * 60'000 + 5'000, 60000, true, 32, 0},
      {"a test minute of 300 ms", due + 3 * 300 + 299, 300, true, 3, 0},
      {"asleep for ever", due + 9'000'000'000'000'000, 1, true, 0x7FFFFFFF, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SnoozeCheck check = CheckSnooze(c.now, due, c.minute);
    EXPECT_EQ(check.due, c.due);
    EXPECT_EQ(check.lateMinutes, c.late);
    EXPECT_EQ(check.waitMs, c.wait);
  }
}

TEST(Snooze, TheTimeItRingsAgainIsTheMinuteOfTheLocalClock) {
  const Date day{2024, 2, 29};
  const struct {
    DateTime now;
    std::int64_t remaining;
    const char* expected;
  } cases[] = {
      {{day, 7, 30, 40, 500}, 5 * 60'000, "07:35に再通知"},
      {{day, 7, 30, 59, 999}, 1, "07:31に再通知"},
      {{day, 23, 58, 0, 0}, 5 * 60'000, "00:03に再通知"},
      {{day, 23, 30, 0, 0}, 60 * 60'000, "00:30に再通知"},
      {{day, 9, 0, 0, 0}, -5, "09:00に再通知"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(U8(SnoozeUntilText(c.now, c.remaining)), c.expected);
  }
}

TEST(Snooze, TheTipNamesTheAlarmAndWhenItRingsAgainWithinTheTipsRoom) {
  std::u16string huge;
  for (int i = 0; i < 100; ++i) huge += u"長い予定";
  const struct {
    const char* name;
    std::vector<std::u16string> args;
    const char* expected;
  } cases[] = {
      {"one alarm", {u"07:00", u" 起床"}, "07:00 起床\n07:35に再通知"},
      {"a late one", {u"07:00", u" 起床", u"/late:32"}, "07:00 起床\n07:35に再通知"},
      {"no text", {u"07:00"}, "07:00 （予定なし）\n07:35に再通知"},
      {"no time", {u"会議"}, "会議\n07:35に再通知"},
      {"several", {u"07:00", u" 起床", u"/late:9", u"07:01", u" 朝食", u"/late:8"}, "2件のアラーム\n07:35に再通知"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(U8(SnoozeTip(InterpretAlarmArguments(c.args), u"07:35に再通知")), c.expected);
  }

  const std::u16string tip = SnoozeTip(InterpretAlarmArguments(std::vector<std::u16string>{u"07:00", huge}),
                                       u"07:35に再通知");
  EXPECT_EQ(tip.size(), kSnoozeTipMaxUnits);
  EXPECT_EQ(U8(tip.substr(tip.size() - 11)), "…\n07:35に再通知");
  EXPECT_EQ(U8(SnoozeTip(InterpretAlarmArguments(std::vector<std::u16string>{u"07:00"}), u"07:35に再通知", 9)),
            "07:35に再通知");
}

TEST(Snooze, ItRingsAgainWithTheSameTextsAndALateRingSaysHowLate) {
  const struct {
    const char* name;
    std::vector<std::u16string> args;
    long late;
    const char* note;
  } cases[] = {
      {"on time", {u"07:00", u" 起床"}, 0, ""},
      {"a late alarm on time keeps its note", {u"07:00", u" 起床", u"/late:32"}, 0, "32分遅れのアラームです"},
      {"after a sleep", {u"07:00", u" 起床"}, 62, "1時間2分遅れのアラームです"},
      {"a late alarm after a sleep", {u"07:00", u" 起床", u"/late:32"}, 5, "5分遅れのアラームです"},
      {"several after a sleep", {u"07:00", u" 起床", u"/late:9", u"07:01", u" 朝食", u"/late:8"}, 40,
       "40分遅れのアラームです"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AlarmDisplay original = InterpretAlarmArguments(c.args);
    const AlarmDisplay again = SnoozedDisplay(original, c.late);
    EXPECT_EQ(U8(again.note), c.note);
    EXPECT_EQ(again.time, original.time);
    EXPECT_EQ(again.text, original.text);
    EXPECT_EQ(again.caption, original.caption);
    EXPECT_EQ(again.alarms.size(), original.alarms.size());
  }
}

}  // namespace
}  // namespace lq
