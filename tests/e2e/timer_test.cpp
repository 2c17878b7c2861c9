// The living window: the ticking clock, the change of day, alarms, and hiding under the cursor.
#include <gtest/gtest.h>

#include "driver.h"
#include "mainwindow/automation.h"

namespace lq::e2e {
namespace {

using namespace automation;

const std::string kHeader = "00000000000000,TARNWILLOW03.2.00";

std::string Task(int days, bool done, const std::string& text, const std::string& flags = "") {
  return DueDate(days) + ",20240101101010100," + (done ? Sj("済") : Sj("　")) + ",||" + flags + "|," + Sj(text);
}

std::string File(std::initializer_list<std::string> lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

// Milliseconds from now to today's hh:mm:ss.mmm on this machine.
long long OffsetTo(int hour, int minute, int second, int ms) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const long long now = ((st.wHour * 60LL + st.wMinute) * 60 + st.wSecond) * 1000 + st.wMilliseconds;
  const long long target = ((hour * 60LL + minute) * 60 + second) * 1000 + ms;
  return target - now;
}

std::filesystem::path FakeAlarm() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / L"lq_fake_alarm.exe";
}

HWND OtherWindow() {
  static HWND w = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LqE2eOther2";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"LqE2eOther2", L"other", WS_POPUP | WS_VISIBLE, 0, 700, 100, 80, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }();
  return w;
}

struct Session {
  explicit Session(const Scratch& s) : program(s) {
    EXPECT_TRUE(program.Start());
    window = program.WaitForWindow();
    EXPECT_NE(window, nullptr);
    Foreground(window);
  }
  void SetClock(long long offset) { program.Query(kSetClockOffset, 0, static_cast<LPARAM>(offset)); }
  void CloseAndWait() {
    program.Close();
    ASSERT_TRUE(program.WaitForExit().has_value());
  }
  Program program;
  HWND window = nullptr;
};

std::wstring LabelText(HWND main, const wchar_t* name) {
  const HWND label = FindWindowExW(main, nullptr, L"TLqLabel", name);
  wchar_t buf[64] = {};
  SendMessageW(label, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf));  // the caption, not the name
  return buf;
}

TEST(Timer, TheClockTicksInTheHeaderAndInTheViewModeLabels) {
  Scratch s;
  Session w(s);
  w.SetClock(OffsetTo(9, 41, 30, 0));
  Pump(std::chrono::milliseconds(400));
  const std::string header = w.program.Cell(2, 0);
  EXPECT_NE(header.find("09:41"), std::string::npos) << header;

  Foreground(OtherWindow());
  Pump(std::chrono::milliseconds(400));
  ASSERT_EQ(w.program.Query(kEditMode), 0);
  EXPECT_EQ(w.program.Cell(2, 0), "");  // the edit-mode clock is not in the picture
  const std::wstring seconds = LabelText(w.window, L"lblSecond");
  const std::wstring clock = LabelText(w.window, L"lblYMDHM");
  EXPECT_EQ(seconds.size(), 3u) << seconds;
  EXPECT_EQ(seconds[0], L':');
  EXPECT_NE(clock.find(L"09:41"), std::wstring::npos);
  Pump(std::chrono::milliseconds(1200));
  EXPECT_NE(LabelText(w.window, L"lblSecond"), seconds);  // it ticks
  w.CloseAndWait();
}

TEST(Timer, AtMidnightTheDaysLeftMoveOnAndTheListIsSortedAgain) {
  Scratch s;
  s.Write(L"Lindqvale.csv", File({kHeader, Task(1, false, "tomorrow"), Task(0, false, "today")}));
  Session w(s);
  ASSERT_EQ(w.program.Cell(1, 1), "0");
  ASSERT_EQ(w.program.Cell(1, 2), "1");
  w.SetClock(OffsetTo(23, 59, 59, 500));
  Pump(std::chrono::milliseconds(1200));
  EXPECT_EQ(w.program.Cell(1, 1), "-1");
  EXPECT_EQ(w.program.Cell(2, 1), "today");
  EXPECT_EQ(w.program.Cell(1, 2), "0");
  w.CloseAndWait();
}

TEST(Timer, AnArmedTaskDueTodayStartsTheAlarmProgramAtItsMinute) {
  Scratch s;
  std::filesystem::copy_file(FakeAlarm(), s.Folder() / L"TarnwillowAlarm.exe");
  s.Write(L"Lindqvale.csv", File({kHeader, Task(0, false, "07:00 起床 \"早め\"", "A"),
                                   Task(0, false, "07:00 not armed"), Task(1, false, "07:00 tomorrow", "A"),
                                   Task(0, true, "07:00 done", "A"), Task(0, false, "07:00 ends in \\", "A")}));
  Session w(s);
  w.SetClock(OffsetTo(6, 59, 59, 300));
  std::string args;
  // Each alarm starts its own program; wait until both have written.
  for (int i = 0; i < 60 && (args.find("ends in") == std::string::npos || args.find("'") == std::string::npos); ++i) {
    Pump(std::chrono::milliseconds(100));
    args = s.Read(L"alarm-args.txt").value_or("");
  }
  EXPECT_NE(args.find("[07:00]\n[ 起床 '早め']\n"), std::string::npos) << args;
  EXPECT_NE(args.find("[07:00]\n[ ends in \\]\n"), std::string::npos) << args;  // the backslash arrives intact
  EXPECT_EQ(args.find("not armed"), std::string::npos);
  EXPECT_EQ(args.find("tomorrow"), std::string::npos);
  EXPECT_EQ(args.find("done"), std::string::npos);
  w.CloseAndWait();
}

TEST(Timer, AMissingAlarmProgramIsReportedWithCode2) {
  Scratch s;
  s.Write(L"Lindqvale.csv", File({kHeader, Task(0, false, "07:00 起床", "A")}));
  Session w(s);
  w.SetClock(OffsetTo(6, 59, 59, 500));
  const auto box = w.program.WaitForMessageBox(std::chrono::seconds(5));
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"警告");
  EXPECT_EQ(box->text, L"07:00  起床\r\nのアラーム鳴動時にエラーが発生しました。\r\n"
                       L"コード2：ERROR_FILE_NOT_FOUND(指定されたファイルが見つかりませんでした)");
  Program::Answer(*box, IDOK);
  Pump(std::chrono::milliseconds(300));
  w.CloseAndWait();
}

TEST(Timer, CtrlBArmsANormalisedTimeAndRefusesATextWithoutOne) {
  Scratch s;
  s.Write(L"Lindqvale.csv", File({kHeader, Task(1, false, "9:05会議"), Task(2, false, "no time")}));
  Session w(s);
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
  Program::Answer(*box, IDOK);
  Pump(std::chrono::milliseconds(300));
  EXPECT_EQ(w.program.Cell(5, 2), "");
  w.CloseAndWait();
}

TEST(Timer, InViewModeTheWindowHidesUnderTheCursorAndComesBack) {
  Scratch s;
  s.Write(L"Lindqvale.ini", "[View]\r\nHideWhenOnMouse=1\r\nHideWhenOnEdge=1\r\n");
  Session w(s);
  MoveMouse(POINT{5, 5});
  Foreground(OtherWindow());
  Pump(std::chrono::milliseconds(300));
  ASSERT_EQ(w.program.Query(kEditMode), 0);
  const RECT rc = w.program.WindowRect();
  EXPECT_TRUE(IsWindowVisible(w.window));
  MoveMouse(POINT{rc.left + 3, (rc.top + rc.bottom) / 2});  // within the 5-pixel margin: stays
  Pump(std::chrono::milliseconds(300));
  EXPECT_TRUE(IsWindowVisible(w.window));
  MoveMouse(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
  Pump(std::chrono::milliseconds(300));
  EXPECT_FALSE(IsWindowVisible(w.window));
  MoveMouse(POINT{rc.right + 20, rc.bottom + 20});
  Pump(std::chrono::milliseconds(300));
  EXPECT_TRUE(IsWindowVisible(w.window));
  w.CloseAndWait();
}

}  // namespace
}  // namespace lq::e2e
