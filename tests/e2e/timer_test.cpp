// The living window: the ticking clock, the change of day, alarms, and hiding under the cursor.
#include <gtest/gtest.h>

#include "driver.h"
#include "mainwindow/automation.h"
#include "store/tasktable.h"

namespace lq::e2e {
namespace {

using namespace automation;

class Timer : public App {
 protected:
  void WithFakeAlarm() const { std::filesystem::copy_file(FakeAlarm(), s.Folder() / L"TarnwillowAlarm.exe"); }
};

std::wstring LabelText(HWND main, const wchar_t* name) {
  const HWND label = FindWindowExW(main, nullptr, L"TLqLabel", name);
  wchar_t buf[64] = {};
  SendMessageW(label, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf));  // the caption, not the name
  return buf;
}

TEST_F(Timer, TheClockTicksInTheHeaderAndInTheViewModeLabels) {
  Session& w = Start();
  w.SetClockTo(9, 41, 30, 0);
  WaitUntil([&] { return w.program.Cell(2, 0).find("09:41") != std::string::npos; });
  const std::string header = w.program.Cell(2, 0);
  EXPECT_NE(header.find("09:41"), std::string::npos) << header;

  ASSERT_TRUE(w.ToViewMode());
  WaitUntil([&] { return LabelText(w.window, L"lblSecond").size() == 3; });
  EXPECT_EQ(w.program.Cell(2, 0), "");  // the edit-mode clock is not in the picture
  const std::wstring seconds = LabelText(w.window, L"lblSecond");
  const std::wstring clock = LabelText(w.window, L"lblYMDHM");
  EXPECT_EQ(seconds.size(), 3u) << seconds;
  EXPECT_EQ(seconds[0], L':');
  EXPECT_NE(clock.find(L"09:41"), std::wstring::npos);
  EXPECT_TRUE(WaitUntil([&] { return LabelText(w.window, L"lblSecond") != seconds; }));  // it ticks
}

TEST_F(Timer, AtMidnightTheDaysLeftMoveOnAndTheListIsSortedAgain) {
  Tasks({TaskLine(1, false, "tomorrow"), TaskLine(0, false, "today")});
  Session& w = Start();
  ASSERT_EQ(w.program.Cell(1, 1), "0");
  ASSERT_EQ(w.program.Cell(1, 2), "1");
  w.SetClockTo(23, 59, 59, 500);
  WaitUntil([&] { return w.program.Cell(1, 1) == "-1"; });
  EXPECT_EQ(w.program.Cell(1, 1), "-1");
  EXPECT_EQ(w.program.Cell(2, 1), "today");
  EXPECT_EQ(w.program.Cell(1, 2), "0");
}

TEST_F(Timer, AnArmedTaskDueTodayStartsTheAlarmProgramAtItsMinute) {
  WithFakeAlarm();
  Tasks({TaskLine(0, false, "07:00 起床 \"早め\"", "", "A"), TaskLine(0, false, "07:00 not armed"),
         TaskLine(1, false, "07:00 tomorrow", "", "A"), TaskLine(0, true, "07:00 done", "", "A"),
         TaskLine(0, false, "07:00 ends in \\", "", "A")});
  Session& w = Start();
  w.SetClockTo(6, 59, 59, 300);
  std::string args;
  // Each alarm starts its own program; wait until both have written.
  WaitUntil([&] {
    args = s.Read(L"alarm-args.txt").value_or("");
    return args.find("ends in") != std::string::npos && args.find("'") != std::string::npos;
  }, std::chrono::seconds(6));
  EXPECT_NE(args.find("[07:00]\n[ 起床 '早め']\n"), std::string::npos) << args;
  EXPECT_NE(args.find("[07:00]\n[ ends in \\]\n"), std::string::npos) << args;  // the backslash arrives intact
  EXPECT_EQ(args.find("not armed"), std::string::npos);
  EXPECT_EQ(args.find("tomorrow"), std::string::npos);
  EXPECT_EQ(args.find("done"), std::string::npos);
}

// ポ ends in the bar byte, 表 in the backslash byte: neither splits the attachment field.
TEST_F(Timer, ATaskWhoseAttachmentHoldsPoLoadsRingsAndIsSavedUnchanged) {
  WithFakeAlarm();
  const std::string file = FileOf({kHeader32, TaskLine(0, false, "07:00 plain attach", Sj("C:\\ポ,x"), "A"),
                                   TaskLine(1, false, "second", Sj("C:\\レポート\\表.txt"))});
  s.Write(L"Lindqvale.csv", file);
  Session& w = Start();
  EXPECT_EQ(w.program.Cell(colAttachment, 1), Sj("C:\\ポ,x"));
  EXPECT_EQ(w.program.Cell(colText, 1), "07:00 plain attach");
  EXPECT_EQ(w.program.Cell(colFlags, 1), "A");
  EXPECT_EQ(w.program.Cell(colAttachment, 2), Sj("C:\\レポート\\表.txt"));
  w.SetClockTo(6, 59, 59, 300);
  EXPECT_TRUE(WaitUntil([&] { return s.Read(L"alarm-args.txt").value_or("").find("attach]") != std::string::npos; },
                        std::chrono::seconds(10)));
  EXPECT_EQ(s.Read(L"alarm-args.txt").value_or(""), "[07:00]\n[ plain attach]\n");
  Close();
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), file);
}

TEST_F(Timer, AMissingAlarmProgramIsReportedWithCode2) {
  Tasks({TaskLine(0, false, "07:00 起床", "", "A")});
  Session& w = Start();
  w.SetClockTo(6, 59, 59, 500);
  const auto box = w.program.WaitForMessageBox(std::chrono::seconds(5));
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"警告");
  EXPECT_EQ(box->text, L"07:00  起床\r\nのアラーム鳴動時にエラーが発生しました。\r\n"
                       L"コード2：ERROR_FILE_NOT_FOUND(指定されたファイルが見つかりませんでした)");
  EXPECT_TRUE(w.program.AnswerAndWait(*box, IDOK));
}

TEST_F(Timer, CtrlBArmsANormalisedTimeAndRefusesATextWithoutOne) {
  Tasks({TaskLine(1, false, "9:05会議"), TaskLine(2, false, "no time")});
  Session& w = Start();
  Chord({VK_CONTROL, 'B'});
  EXPECT_EQ(w.program.Cell(2, 1), Sj("09:05 会議"));
  EXPECT_EQ(w.program.Cell(5, 1), "A");
  Chord({VK_CONTROL, 'B'});
  EXPECT_EQ(w.program.Cell(5, 1), "-");
  EXPECT_EQ(w.program.Cell(2, 1), Sj("09:05 会議"));
  Press(VK_DOWN);
  Chord({VK_CONTROL, 'B'});
  const auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"情報");
  EXPECT_EQ(box->text, L"時刻として有効な文字列が見つかりません。\r\n(全角文字は不可)");
  ASSERT_TRUE(w.program.AnswerAndWait(*box, IDOK));
  EXPECT_EQ(w.program.Cell(5, 2), "");
}

// An hour of today at least five hours away from this machine's clock, so that the program's
// first tick, which runs at the real time, never examines it.
int HourAwayFromNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wHour < 12 ? 18 : 6;
}

std::string TwoDigits(int n) { return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

// Shifts the clock and waits for the alarm check of the minute it shows.
void ShiftClockAndWaitForTheCheck(const Session& w, int hour, int minute, int second) {
  const LRESULT before = w.program.Query(kAlarmCounts, 0);
  w.SetClockTo(hour, minute, second, 0);
  ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kAlarmCounts, 0) > before; })) << hour << ":" << minute;
}

TEST_F(Timer, AnAlarmTheClockJumpedOverRingsOnceMarkedLate) {
  const int h = HourAwayFromNow();
  const std::string at = TwoDigits(h) + ":00";
  WithFakeAlarm();
  Tasks({TaskLine(0, false, at + " 起床", "", "A")});
  Session& w = Start();
  ShiftClockAndWaitForTheCheck(w, h - 1, 50, 0);
  ShiftClockAndWaitForTheCheck(w, h, 5, 30);  // as after a sleep: 15 minutes in one step
  const std::string expected = "[" + at + "]\n[ 起床]\n[/late:5]\n";
  EXPECT_TRUE(WaitUntil([&] { return s.Read(L"alarm-args.txt").has_value(); }, std::chrono::seconds(10)));
  EXPECT_EQ(w.program.Query(kAlarmCounts, 1), 1);

  // Neither the next minute nor the clock set back over the alarm rings it again.
  ShiftClockAndWaitForTheCheck(w, h, 6, 30);
  ShiftClockAndWaitForTheCheck(w, h - 1, 59, 50);
  ShiftClockAndWaitForTheCheck(w, h, 0, 30);
  EXPECT_EQ(w.program.Query(kAlarmCounts, 1), 1);
  EXPECT_EQ(s.Read(L"alarm-args.txt").value_or(""), expected);
}

TEST_F(Timer, AlarmsOfAJumpOfMoreThanTwelveHoursAreListedNotRung) {
  const int h = HourAwayFromNow();
  const std::string at = TwoDigits(h) + ":00";
  WithFakeAlarm();
  Tasks({TaskLine(0, false, at + " 起床", "", "A")});
  Session& w = Start();
  ShiftClockAndWaitForTheCheck(w, h - 5, 0, 0);
  w.SetClockTo(h + 8, 30, 0, 0);  // thirteen and a half hours on, past midnight after 18:00
  const auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"情報");
  EXPECT_EQ(box->text, L"次のアラームは時刻を過ぎていたため鳴らしていません。\r\n"
                       L"(12時間を超えて時計が進んだか、前日以前の予定です)\r\n\r\n" +
                           Wide(DueDate(0) + " " + Sj(at + " 起床")));
  Program::Answer(*box, IDOK);
  EXPECT_EQ(w.program.Query(kAlarmCounts, 1), 0);
  EXPECT_FALSE(s.Read(L"alarm-args.txt").has_value());
}

TEST_F(Timer, InViewModeTheWindowHidesUnderTheCursorAndComesBack) {
  Settings("[View]\r\nHideWhenOnMouse=1\r\nHideWhenOnEdge=1\r\n");
  Session& w = Start();
  MoveMouse(POINT{5, 5});
  ASSERT_TRUE(w.ToViewMode());
  const RECT rc = w.program.WindowRect();
  EXPECT_TRUE(IsWindowVisible(w.window));
  const POINT margin{rc.left + 3, (rc.top + rc.bottom) / 2};  // within the 5-pixel margin: stays
  MoveMouse(margin);
  ASSERT_TRUE(WaitUntil([&] {
    POINT p{};
    return GetCursorPos(&p) && p.x == margin.x && p.y == margin.y;
  }));
  SendMessageW(w.window, WM_TIMECHANGE, 0, 0);  // its tick at once, the cursor there
  EXPECT_TRUE(IsWindowVisible(w.window));
  MoveMouse(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(w.window); }));
  MoveMouse(POINT{rc.right + 20, rc.bottom + 20});
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(w.window) != FALSE; }));
}

}  // namespace
}  // namespace lq::e2e
