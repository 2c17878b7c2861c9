#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sjis.h"
#include "store/alarm.h"
#include "store/alarmcall.h"
#include "store/text.h"

namespace lq {
namespace {

using testing::Sj;

TEST(ParseAlarmTime, NormalisesTheLeadingTime) {
  struct Case {
    const char* text;  // UTF-8, turned into code page 932
    const char* result;
  } cases[] = {
      {"9:05会議", "09:05 会議"},
      {"0905 会議", "09:05 会議"},
      {"12:30", "12:30 "},
      {"12345", "12:34 5"},
      {"1234", "12:34 "},
      {"7:00 起床", "07:00 起床"},
      {"00:00", "00:00 "},
      {"23:59x", "23:59 x"},
      {"1:234", "01:23 4"},
      {"0:00表", "00:00 表"},
      {"12:30  two blanks", "12:30  two blanks"},
      {"12:30\ttab", "12:30 \ttab"},  // only the blank counts as one
      // Failures: too short, out of range, no digit where one must be, full-width digits.
      {"930", ""},   {"24:00", ""},  {"9:5", ""},    {"９:００", ""}, {"", ""},       {"9", ""},
      {"9:", ""},    {"12:3", ""},   {"12:60", ""},  {"99:00", ""},   {"123:45", ""}, {"a12:30", ""},
      {"9-05", ""},  {"1２:30", ""}, {"1:2３", ""},  {"12３4", ""},   {"：12:30", ""},
  };
  for (const auto& c : cases) {
    const std::string result = ParseAlarmTime(Sj(c.text));
    EXPECT_EQ(result, Sj(c.result)) << c.text;
    // A normalised text is already normal.
    if (!result.empty()) {
      EXPECT_EQ(ParseAlarmTime(result), result) << c.text;
    }
  }
  // A lead byte with nothing after it is no digit and is not read past.
  EXPECT_EQ(ParseAlarmTime("12:3\x95"), "");
  EXPECT_EQ(ParseAlarmTime("\x95"), "");
}

TaskRow Row(const char* days, const char* flags, const char* text) {
  return TaskRow{Sj("2024/03/15(金)"), Sj(days), Sj(text), "", "", flags};
}

TEST(AlarmRowsToRing, TodaysArmedTasksOfTheMinute) {
  struct Case {
    const char* name;
    std::vector<TaskRow> rows;  // without the header
    std::vector<int> ring;
  } cases[] = {
      {"only today's armed, open task of that minute",
       {Row("-1", "A", "07:00 a"), Row("0", "A", "07:00 b"), Row("0", "-", "07:00 c"), Row("0", "A", "07:01 d"),
        Row("済", "A", "07:00 e"), Row("1", "A", "07:00 f")},
       {2}},
      {"a done row inside the block does not end it",
       {Row("0", "A", "07:00 a"), Row("済", "A", "07:00 b"), Row("0", "A", "07:00 c")},
       {1, 3}},
      {"done rows among the overdue ones are passed over",
       {Row("-3", "A", "07:00 a"), Row("済", "A", "07:00 b"), Row("0", "A", "07:00 c")},
       {3}},
      {"the block ends at the first later day",
       {Row("0", "A", "07:00 a"), Row("2", "A", "07:00 b"), Row("0", "A", "07:00 c")},
       {1}},
      {"the flag is position 1 only; the text must begin with the minute",
       {Row("0", "-A", "07:00 a"), Row("0", "", "07:00 b"), Row("0", "A", "07:0"), Row("0", "AB", "07:00"),
        Row("0", "A", " 07:00 c"), Row("0", "A", "０7:00 d")},
       {4}},
      {"nothing due today", {Row("-2", "A", "07:00 a"), Row("-1", "A", "07:00 b")}, {}},
      {"the empty list", {TaskRow{}}, {}},
  };
  for (const auto& c : cases) {
    std::vector<TaskRow> rows{TaskRow{}};
    rows.insert(rows.end(), c.rows.begin(), c.rows.end());
    std::vector<int> ring{99};  // refilled, not appended to
    AlarmRowsToRing(TaskTable(rows), "07:00", ring);
    EXPECT_EQ(ring, c.ring) << c.name;
  }
}

// Code page 932 to UTF-16 as far as the splitting can tell: a lead byte with its second byte
// becomes one character that is no blank, quote or backslash (the real conversion is checked
// under Windows); Narrow turns it back.
std::u16string Widen(std::string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsLeadByte(b) && i + 1 < s.size() && IsTrailByte(static_cast<unsigned char>(s[i + 1]))) {
      out += static_cast<char16_t>(0x8000u | ((b & 0x7Fu) << 8) | static_cast<unsigned char>(s[++i]));
    } else {
      out += static_cast<char16_t>(b);
    }
  }
  return out;
}

std::string Narrow(std::u16string_view s) {
  std::string out;
  for (const char16_t c : s) {
    if (c >= 0x8100) out += static_cast<char>(((c >> 8) & 0x7F) | 0x80);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

// The arguments after the program's name, as the alarm program receives them.
std::vector<std::string> Arguments(std::string_view parameters) {
  const std::vector<std::u16string> all = SplitCommandLine(u"TarnwillowAlarm.exe " + Widen(parameters));
  std::vector<std::string> args;
  for (std::size_t i = 1; i < all.size(); ++i) args.push_back(Narrow(all[i]));
  return args;
}

TEST(AlarmParameters, CommandLinesSplitByTheWindowsRules) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {R"("a b c" d e)", {"a b c", "d", "e"}},
      {R"("ab\"c" "\\" d)", {"ab\"c", "\\", "d"}},
      {R"(a\\\b d"e f"g h)", {"a\\\\\\b", "de fg", "h"}},
      {R"(a\\\"b c d)", {"a\\\"b", "c", "d"}},
      {R"(a\\\\"b c" d e)", {"a\\\\b c", "d", "e"}},
      {R"("x" "")", {"x", ""}},
      {"a\tb  ", {"a", "b"}},
      {"", {}},
  };
  for (const auto& [line, args] : cases) EXPECT_EQ(Arguments(line), args) << line;
  // The program's name ends at its closing quote, backslashes and all.
  EXPECT_EQ(SplitCommandLine(u"\"C:\\Program Files\\\" x"),
            (std::vector<std::u16string>{u"C:\\Program Files\\", u"x"}));
  EXPECT_EQ(SplitCommandLine(u"a.exe"), (std::vector<std::u16string>{u"a.exe"}));
}

TEST(AlarmParameters, EveryTaskTextArrivesIntact) {
  const char* texts[] = {
      " 起床",   "",           " ",          "a\\",          "a\\\\",       "\\",         "C:\\dir\\",
      "a\\b\\c", "a\\\\b",     " with blanks ", "表",         "ソ",          "能",         "表\\",
      "表ソ能",  " 予定表 ",   "\\表",       "say \"hi\"",   "\"",          "a\\\"b\\",  "tab\tin",
  };
  for (const char* t : texts) {
    const std::string b = Sj(t);
    EXPECT_EQ(Arguments(AlarmParameters("07:00", b)), (std::vector<std::string>{"07:00", b})) << t;
  }
  // Texts without a backslash before the closing quote go out exactly as quoted.
  EXPECT_EQ(AlarmParameters("07:00", Sj(" 起床")), Sj("\"07:00\" \" 起床\""));
  EXPECT_EQ(AlarmParameters("07:00", Sj("予定表")), Sj("\"07:00\" \"予定表\""));
  EXPECT_EQ(AlarmParameters("07:00", "a\\"), "\"07:00\" \"a\\\\\"");

  // What no command line can carry: a NUL, which would end it, and a lead byte whose second
  // byte is missing or no second byte (the conversion could take the quote after it along).
  const std::pair<std::string, std::string> unsafe[] = {
      {std::string("a\0b", 3), "a b"},
      {"ends in a lead byte \x81", "ends in a lead byte ?"},
      {"\x81\"quote", "?\"quote"},
      {"\x81 blank\\", "? blank\\"},
  };
  for (const auto& [text, arrives] : unsafe) {
    EXPECT_EQ(CommandLineSafe(text), arrives);
    EXPECT_EQ(Arguments(AlarmParameters("07:00", text)), (std::vector<std::string>{"07:00", arrives})) << arrives;
  }
}

TEST(AlarmTaskText, IsTheTextAfterTheTimeWithQuotesAsApostrophes) {
  EXPECT_EQ(AlarmTaskText(Sj("07:00 起床")), Sj(" 起床"));
  EXPECT_EQ(AlarmTaskText("07:00 say \"hi\" \"\""), " say 'hi' ''");
  EXPECT_EQ(AlarmTaskText("07:00"), "");
  EXPECT_EQ(AlarmTaskText(Sj("07:00表\"")), Sj("表'"));
}

TEST(AlarmError, ListedCodesAreExplainedOthersIgnored) {
  const std::pair<int, const char*> listed[] = {
      {0, "0(システムに､ メモリまたはリソースが足りません)"},
      {2, "ERROR_FILE_NOT_FOUND(指定されたファイルが見つかりませんでした)"},
      {3, "ERROR_PATH_NOT_FOUND(指定されたパスが見つかりませんでした)"},
      {11, "ERROR_BAD_FORMAT(.EXEファイルが無効です (Win32 .EXEではないか､ .EXEイメージ内のエラーです))"},
      {26, "SE_ERR_SHARE(共有違反が発生しました)"},
      {27, "SE_ERR_ASSOCINCOMPLETE(ファイル名の関連付けが不完全､ または無効です)"},
      {28, "SE_ERR_DDETIMEOUT(要求タイムアウトのためにDDEトランザクションを完了できませんでした)"},
      {29, "SE_ERR_DDEFAIL(DDEトランザクションが失敗しました)"},
      {30, "SE_ERR_DDEBUSY(ほかのDDEトランザクションが処理されているために､ DDEトランザクションを完了できませんでした)"},
      {31, "SE_ERR_NOASSOC(指定されたファイル名拡張子には､ アプリケーションが関連付けられていません)"},
  };
  for (const auto& [code, text] : listed) EXPECT_EQ(AlarmErrorExplanation(code), Sj(text)) << code;
  for (const int code : {-1, 1, 4, 5, 10, 12, 25, 32, 33, 42}) {
    EXPECT_EQ(AlarmErrorExplanation(code), "") << code;
    EXPECT_EQ(AlarmErrorMessage("07:00", " x", code), "") << code;
  }
  EXPECT_EQ(AlarmErrorMessage("07:00", Sj(" 起床"), 2),
            Sj("07:00  起床\r\nのアラーム鳴動時にエラーが発生しました。\r\n"
               "コード2：ERROR_FILE_NOT_FOUND(指定されたファイルが見つかりませんでした)"));
}

}  // namespace
}  // namespace lq

namespace lq {
namespace {

// --- Minutes the clock skipped.

MinuteNumber Min(int day, int h, int m) { return MinuteNumberOf(Date{2024, 3, day}, h, m); }

TEST(AlarmPass, TheClockJumpingRingsSkippedAlarmsLateOnceAndNeverTwice) {
  using D = AlarmDue;
  struct Step {
    MinuteNumber now;
    std::vector<std::pair<MinuteNumber, AlarmDue>> alarms;  // an alarm's minute, and how it is due
  };
  const struct {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"the first check examines only its own minute", {{Min(15, 7, 5), {{Min(15, 7, 5), D::OnTime}, {Min(15, 7, 4), D::No}}}}},
      {"no gap",
       {{Min(15, 7, 0), {}},
        {Min(15, 7, 1), {{Min(15, 7, 1), D::OnTime}, {Min(15, 7, 0), D::No}, {Min(15, 7, 2), D::No}}}}},
      {"one missed minute",
       {{Min(15, 7, 0), {}}, {Min(15, 7, 2), {{Min(15, 7, 1), D::Late}, {Min(15, 7, 2), D::OnTime}, {Min(15, 7, 0), D::No}}}}},
      {"several",
       {{Min(15, 6, 0), {}},
        {Min(15, 7, 30),
         {{Min(15, 6, 0), D::No}, {Min(15, 6, 1), D::Late}, {Min(15, 7, 29), D::Late}, {Min(15, 7, 30), D::OnTime},
          {Min(15, 7, 31), D::No}}}}},
      {"across midnight: yesterday's are listed, today's ring late",
       {{Min(14, 23, 50), {}},
        {Min(15, 0, 10),
         {{Min(14, 23, 50), D::No}, {Min(14, 23, 55), D::Missed}, {Min(15, 0, 0), D::Late}, {Min(15, 0, 10), D::OnTime}}}}},
      {"set backwards: nothing rings again until the clock passes where it was",
       {{Min(15, 7, 0), {}},
        {Min(15, 7, 2), {{Min(15, 7, 1), D::Late}}},
        {Min(15, 6, 58), {{Min(15, 6, 58), D::OnTime}}},  // before the first check: never examined
        {Min(15, 6, 59), {{Min(15, 6, 59), D::OnTime}, {Min(15, 6, 58), D::No}}},
        {Min(15, 7, 0), {{Min(15, 7, 0), D::No}}},
        {Min(15, 7, 1), {{Min(15, 7, 1), D::No}}},
        {Min(15, 7, 2), {{Min(15, 7, 2), D::No}}},
        {Min(15, 7, 3), {{Min(15, 7, 3), D::OnTime}}}}},
      {"set back by a summer-time hour",
       {{Min(15, 2, 0), {}}, {Min(15, 3, 0), {}}, {Min(15, 2, 0), {{Min(15, 2, 0), D::No}}},
        {Min(15, 2, 30), {{Min(15, 2, 30), D::No}, {Min(15, 2, 10), D::No}}}, {Min(15, 3, 1), {{Min(15, 3, 1), D::OnTime}}}}},
      {"exactly 12 hours still rings late",
       {{Min(15, 6, 0), {}}, {Min(15, 18, 0), {{Min(15, 6, 1), D::Late}, {Min(15, 17, 59), D::Late}}}}},
      {"more than 12 hours: listed, not rung",
       {{Min(14, 18, 0), {}},
        {Min(15, 6, 30),
         {{Min(14, 20, 0), D::Missed}, {Min(15, 6, 0), D::Missed}, {Min(15, 6, 30), D::OnTime}, {Min(14, 18, 0), D::No}}}}},
      {"what a long jump only listed rings when the clock is set back over it",
       {{Min(15, 7, 0), {}},
        {Min(16, 7, 0), {{Min(15, 7, 10), D::Missed}, {Min(16, 7, 0), D::OnTime}}},
        {Min(15, 7, 10), {{Min(15, 7, 10), D::OnTime}}},
        {Min(15, 7, 11), {{Min(15, 7, 11), D::OnTime}}},
        {Min(16, 7, 0), {{Min(16, 7, 0), D::No}}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<MinuteNumber> last;
    ExaminedMinutes examined;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const AlarmPass pass = NextAlarmPass(last, examined, c.steps[i].now);
      for (const auto& [minute, due] : c.steps[i].alarms) {
        EXPECT_EQ(WhenAlarmRings(pass, minute), due) << "step " << i << ", alarm at minute " << minute % 1440;
      }
    }
  }
}

TEST(AlarmPass, OfManySeparateSpansOnlyTheEarliestAreForgotten) {
  std::optional<MinuteNumber> last;
  ExaminedMinutes examined;
  // Six days examined 07:00 to 07:05 each, the day in between slept through: six spans.
  for (int day = 10; day < 16; ++day) {
    for (int m = 0; m <= 5; ++m) NextAlarmPass(last, examined, Min(day, 7, m));
  }
  for (int day = 12; day < 16; ++day) {
    EXPECT_TRUE(examined.Contains(Min(day, 7, 3))) << day;
    EXPECT_FALSE(examined.Contains(Min(day, 7, 6))) << day;
  }
  EXPECT_FALSE(examined.Contains(Min(10, 7, 3)));
}

TaskRow Due(int day, const char* flags, const char* text, const char* daysLeft = "0") {
  return TaskRow{FormatDueDate(Date{2024, 3, day}), Sj(daysLeft), Sj(text), "", "", flags};
}

TEST(AlarmsOfPass, EveryArmedOpenTaskOfTheSkippedMinutesEarliestFirst) {
  const TaskTable table({TaskRow{},
                         Due(14, "A", "23:30 yesterday", "-1"),
                         Due(15, "A", "08:00 later"),
                         Due(15, "A", "07:10 earlier"),
                         Due(15, "-", "07:20 not armed"),
                         Due(15, "A", "07:20 done", "済"),
                         Due(15, "A", "7:20 not normalised"),
                         Due(15, "A", "07:05 before the gap"),
                         Due(15, "A", "08:30 now"),
                         Due(16, "A", "07:30 tomorrow", "1"),
                         TaskRow{"not a date", "0", "07:30 no date", "", "", "A"}});
  std::optional<MinuteNumber> last;
  ExaminedMinutes examined;
  NextAlarmPass(last, examined, Min(14, 23, 0));
  const AlarmPass pass = NextAlarmPass(last, examined, Min(15, 8, 30));
  std::vector<DueAlarm> due{DueAlarm{}};
  AlarmsOfPass(table, pass, due);
  std::vector<std::pair<int, AlarmDue>> got;
  for (const DueAlarm& a : due) got.emplace_back(a.row, a.due);
  EXPECT_EQ(got, (std::vector<std::pair<int, AlarmDue>>{
                     {1, AlarmDue::Missed}, {7, AlarmDue::Late}, {3, AlarmDue::Late}, {2, AlarmDue::Late}, {8, AlarmDue::OnTime}}));
}

TEST(AlarmParameters, LateAndSeveralAlarmsArriveAsTriples) {
  const AlarmCall late{1, "07:00", Sj(" 起床 \\"), 62};
  EXPECT_EQ(Arguments(AlarmParameters(std::span<const AlarmCall>(&late, 1))),
            (std::vector<std::string>{"07:00", Sj(" 起床 \\"), "/late:62"}));
  const AlarmCall onTime{1, "07:00", Sj(" 起床"), 0};
  EXPECT_EQ(AlarmParameters(std::span<const AlarmCall>(&onTime, 1)), AlarmParameters("07:00", Sj(" 起床")));
  const std::vector<AlarmCall> several{{1, "07:00", Sj(" 起床"), 90}, {2, "08:00", "", 30}, {3, "08:30", Sj(" 表"), 0}};
  EXPECT_EQ(Arguments(AlarmParameters(several)),
            (std::vector<std::string>{"07:00", Sj(" 起床"), "/late:90", "08:00", "", "/late:30", "08:30", Sj(" 表"),
                                      "/late:0"}));
}

TEST(AlarmParameters, AFewLateAlarmsRingAloneMoreTogetherTenAtMost) {
  const std::pair<std::size_t, std::vector<std::size_t>> cases[] = {
      {0, {}}, {1, {1}}, {3, {1, 1, 1}}, {4, {4}}, {10, {10}}, {23, {10, 10, 3}}};
  for (const auto& [count, sizes] : cases) {
    std::vector<AlarmCall> late;
    for (std::size_t i = 0; i < count; ++i) late.push_back(AlarmCall{static_cast<int>(i + 1), "07:00", "", 5});
    const auto groups = GroupLateAlarms(late);
    std::vector<std::size_t> got;
    int expectedRow = 1;
    for (const auto& g : groups) {
      got.push_back(g.size());
      for (const AlarmCall& a : g) EXPECT_EQ(a.row, expectedRow++) << "in their order";
    }
    EXPECT_EQ(got, sizes) << count;
  }
}

TEST(AlarmError, SkippedAlarmsThatDoNotRingAreListed) {
  std::vector<TaskRow> rows{TaskRow{}, Due(14, "A", "23:30 寝る", "-1"), Due(15, "A", "07:00 起床")};
  for (int i = 0; i < 21; ++i) rows.push_back(Due(15, "A", "07:30 x"));
  const TaskTable table(rows);
  const std::vector<DueAlarm> two{{1, 0, AlarmDue::Missed}, {2, 0, AlarmDue::Missed}};
  EXPECT_EQ(MissedAlarmsMessage(table, two),
            Sj("次のアラームは時刻を過ぎていたため鳴らしていません。\r\n"
               "(12時間を超えて時計が進んだか、前日以前の予定です)\r\n"
               "\r\n2024/03/14(木) 23:30 寝る\r\n2024/03/15(金) 07:00 起床"));
  std::vector<DueAlarm> many;
  for (int r = 1; r < table.RowCount(); ++r) many.push_back(DueAlarm{r, 0, AlarmDue::Missed});
  const std::string m = MissedAlarmsMessage(table, many);
  EXPECT_EQ(m.substr(m.size() - Sj("x\r\nほか3件").size()), Sj("x\r\nほか3件"));
  EXPECT_EQ(MissedAlarmsMessage(table, {}), "");

  const std::vector<AlarmCall> group{{1, "07:00", Sj(" 起床"), 5}, {2, "07:30", " x", 1}};
  EXPECT_EQ(AlarmErrorMessage(group, 2),
            Sj("07:00  起床\r\n07:30  x\r\nのアラーム鳴動時にエラーが発生しました。\r\n"
               "コード2：ERROR_FILE_NOT_FOUND(指定されたファイルが見つかりませんでした)"));
}

}  // namespace
}  // namespace lq

namespace lq {
namespace {

TEST(PlanAlarmCheck, WhatRingsAloneTogetherOrIsOnlyListed) {
  const auto due = [](int day, const char* text, const char* daysLeft = "0") {
    return TaskRow{FormatDueDate(Date{2024, 3, day}), Sj(daysLeft), Sj(text), "", "", "A"};
  };
  const TaskTable table({TaskRow{}, due(14, "23:30 昨日", "-1"), due(15, "06:10 a"), due(15, "06:20 b"),
                         due(15, "06:30 c"), due(15, "06:40 d"), due(15, "07:00 起床"), due(15, "07:00 \"朝\""),
                         TaskRow{FormatDueDate(Date{2024, 3, 15}), "0", "07:00 off", "", "", "-"}});
  const MinuteNumber seven = MinuteNumberOf(Date{2024, 3, 15}, 7, 0);
  using Start = std::pair<std::vector<int>, MinuteNumber>;  // the rows, and how late the first rings
  const struct {
    const char* name;
    std::vector<MinuteNumber> before;  // the checks before this one
    std::vector<Start> starts;
    std::vector<int> missed;
  } cases[] = {
      {"the program's first check: the minute's own alarms, each alone", {}, {{{6}, 0}, {{7}, 0}}, {}},
      {"the next minute", {seven - 1}, {{{6}, 0}, {{7}, 0}}, {}},
      {"a minute examined before rings nothing", {seven - 1, seven, seven + 1}, {}, {}},
      {"a jump of 35 minutes: two late alarms ring alone", {seven - 35}, {{{6}, 0}, {{7}, 0}, {{4}, 30}, {{5}, 20}}, {}},
      {"a jump of an hour: four late ring together", {seven - 60}, {{{6}, 0}, {{7}, 0}, {{2, 3, 4, 5}, 50}}, {}},
      {"a jump from yesterday: its alarm is listed", {seven - 10 * 60}, {{{6}, 0}, {{7}, 0}, {{2, 3, 4, 5}, 50}}, {1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<MinuteNumber> last;
    ExaminedMinutes examined;
    for (const MinuteNumber m : c.before) NextAlarmPass(last, examined, m);
    const AlarmPass pass = NextAlarmPass(last, examined, seven);
    std::vector<int> rows;
    std::vector<DueAlarm> dueAlarms;
    const AlarmPlan plan = PlanAlarmCheck(table, "07:00", pass, rows, dueAlarms);
    std::vector<Start> starts;
    for (const auto& group : plan.starts) {
      Start s{{}, group.front().lateMinutes};
      for (const AlarmCall& call : group) {
        s.first.push_back(call.row);
        EXPECT_EQ(call.minute, std::string(TakeChars(table.Cell(colText, call.row), 5)));
        EXPECT_EQ(call.taskText, AlarmTaskText(table.Cell(colText, call.row)));
      }
      starts.push_back(s);
    }
    EXPECT_EQ(starts, c.starts);
    std::vector<int> missed;
    for (const DueAlarm& a : plan.missed) missed.push_back(a.row);
    EXPECT_EQ(missed, c.missed);
  }
}

}  // namespace
}  // namespace lq
