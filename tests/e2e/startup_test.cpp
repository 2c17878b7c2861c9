// Start-up, the task file round trip, the window position rules, a second start and the close
// with a read-only task file, driven from outside like a user would.
#include <gtest/gtest.h>

#include <map>

#include "driver.h"
#include "mainwindow/automation.h"
#include "store/tasktable.h"

namespace lq::e2e {
namespace {

using Startup = App;

std::string Line32(const std::string& date, const std::string& stamp, bool done, const std::string& att,
                   const std::string& flags, const std::string& text) {
  return date + "," + stamp + "," + (done ? Sj("済") : Sj("　")) + ",|" + att + "|" + flags + "|," + text;
}

TEST_F(Startup, EachFileLayoutIsReadAndWrittenBackAsFormat32) {
  const std::string d0 = DueDate(0);
  const std::string d3 = DueDate(3);
  const std::string dm2 = DueDate(-2);
  struct Case {
    const char* name;
    std::string input;
    std::string expected;
  } cases[] = {
      {"format 3.2, shuffled, header between blanks",
       FileOf({Line32(d3, "20240101101010300", false, "https://example.com/", "A", Sj("  会議の資料  ")),
             "  " + kHeader32 + " ", Line32(d0, "20240101101010100", true, "", "", Sj("牛乳")),
             Line32(dm2, "20240101101010200", false, "C:\\memo.txt", "-", Sj("a, b |, c"))}),
       FileOf({kHeader32, Line32(dm2, "20240101101010200", false, "C:\\memo.txt", "-", Sj("a, b |, c")),
             Line32(d3, "20240101101010300", false, "https://example.com/", "A", Sj("会議の資料")),
             Line32(d0, "20240101101010100", true, "", "", Sj("牛乳"))})},
      {"format 2.1",
       FileOf({"00000000000000,TARNWILLOW02.1.00", d0 + ",20240101101010100," + Sj("　") + ",|C:\\memo.txt|," + Sj("メモ")}),
       FileOf({kHeader32, Line32(d0, "20240101101010100", false, "C:\\memo.txt", "", Sj("メモ"))})},
      {"format 1.1",
       FileOf({"00000000000000,TARNWILLOW01.1.00", d3 + ",20240101101010100," + Sj("済") + "," + Sj("古い|予定,x")}),
       FileOf({kHeader32, Line32(d3, "20240101101010100", true, "", "", Sj("古い|予定,x"))})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    s.Write(L"Lindqvale.csv", c.input);
    Start(false);
    Close();
    EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), c.expected);
  }
}

TEST_F(Startup, AHeaderlessFileGetsTheStartTimeAsStampAndMarksSyncAsNeverRun) {
  const std::string d1 = DueDate(1);
  s.Write(L"Lindqvale.csv", FileOf({d1 + "," + Sj("　") + "," + Sj("昔の予定")}));
  Start(false);
  Close();
  const std::string out = s.Read(L"Lindqvale.csv").value_or("");
  ASSERT_EQ(out.substr(0, kHeader32.size() + 2), kHeader32 + "\r\n");
  const std::string line = out.substr(kHeader32.size() + 2);
  EXPECT_EQ(line.substr(0, 14), d1);
  const std::string stamp = line.substr(15, 17);
  SYSTEMTIME st{};
  GetLocalTime(&st);
  char today[9];
  wsprintfA(today, "%04d%02d%02d", st.wYear, st.wMonth, st.wDay);
  EXPECT_EQ(stamp.substr(0, 8), today);
  EXPECT_EQ(line.substr(32), "," + Sj("　") + ",|||," + Sj("昔の予定") + "\r\n");
  EXPECT_NE(s.Read(L"Lindqvale.ini").value_or("").find("LastSync=00000000000000000"), std::string::npos);
}

// A format 3.2 file whose header was lost, hides behind a UTF-8 byte-order mark, or has a stray
// older header beside it: read as what its lines are, said so, and kept as it was.
TEST_F(Startup, AFormat32FileWithADamagedHeaderKeepsEveryTaskAndTheUserIsTold) {
  const std::string done = Line32(DueDate(-1), "20240101101010100", true, "C:\\memo.txt", "A", Sj("済んだ予定"));
  const std::string open = Line32(DueDate(2), "20240101101010200", false, "", "-", Sj("次の予定"));
  const struct {
    const char* name;
    std::string file;
    const wchar_t* said;
  } cases[] = {
      {"header lost", FileOf({done, open}), L"見出し"},
      {"byte-order mark", "\xEF\xBB\xBF" + FileOf({kHeader32, done, open}), L"BOM"},
      {"stray format 1.1 header", FileOf({"00000000000000,TARNWILLOW01.1.00", kHeader32, done, open}), L"見出し"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    s.Write(L"Lindqvale.csv", c.file);
    Session& r = Start(false);
    const auto box = r.program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"警告");
    EXPECT_NE(box->text.find(c.said), std::wstring::npos) << box->text.c_str();
    EXPECT_NE(box->text.find(s.TaskFile().wstring() + L".bak"), std::wstring::npos);
    Program::Answer(*box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !r.program.HasMessageBox(); }));
    EXPECT_EQ(r.program.Cell(2, 2), Sj("済んだ予定"));
    EXPECT_EQ(r.program.Cell(1, 2), Sj("済"));
    EXPECT_EQ(r.program.Cell(4, 2), "C:\\memo.txt");
    EXPECT_EQ(r.program.Cell(5, 2), "A");
    Close();
    EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, open, done}));
    EXPECT_EQ(s.Read(L"Lindqvale.csv.bak").value_or(""), c.file);
    EXPECT_EQ(s.Read(L"Lindqvale.ini").value_or("").find("LastSync"), std::string::npos);
  }
}

TEST_F(Startup, ADoneTaskWhoseDateDoesNotExistStaysInTheList) {
  const std::string bad = Sj("2026/02/30(火),20240101000000003,済,|||,bad date done");
  const std::string open = TaskLine(1, false, "open");
  Tasks({bad, open});
  Session& r = Start(false);
  EXPECT_EQ(Wide(r.program.Cell(0, 0)), L"1/2");
  EXPECT_EQ(r.program.Cell(2, 2), "bad date done");
  EXPECT_EQ(r.program.Cell(1, 2), Sj("済"));
  Close();
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, open, bad}));
  EXPECT_FALSE(s.Read(L"Lindqvale.csv.bak").has_value());
}

// Marked not done, a task whose date names no day keeps it and is still there at the next
// start; a task added beside it is due today, not that day.
TEST_F(Startup, NoTaskIsLostThroughADateThatDoesNotExist) {
  const std::string bad = Sj("2026/02/30(火),20240101000000003,済,|||,bad date");
  Tasks({TaskLine(1, false, "open"), bad});
  {
    Session& r = Start();
    Click(r.program.CellCentre(2, 2));  // the done task, last
    Chord({VK_CONTROL, 'E'});  // not done: the selection follows it
    ASSERT_TRUE(WaitUntil([&] { return r.program.Cell(0, 0) == "2/2"; }));
    Chord({VK_CONTROL, 'A'});
    Type(L"new");
    Press(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return r.program.Cell(0, 0) == "3/3"; }));
    Close();
  }
  Session& r = Start(false);
  EXPECT_EQ(r.program.Cell(0, 0), "3/3");
  std::map<std::string, std::string> dates;
  for (int row = 1; row <= 3; ++row) {
    dates[r.program.Cell(2, row)] = r.program.Cell(0, row) + " " + r.program.Cell(1, row);
  }
  EXPECT_EQ(dates["bad date"], Sj("2026/02/30(火) 0"));
  EXPECT_EQ(dates["new"], DueDate(0) + " 0");
  EXPECT_EQ(dates["open"], DueDate(1) + " 1");
}

TEST_F(Startup, FirstStartWithoutSettingsIsCentredTopMostAndInEditMode) {
  Session& r = Start(false);
  const RECT rc = r.program.WindowRect();
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(rc.right - rc.left, 360);
  EXPECT_EQ(rc.bottom - rc.top, 215);
  EXPECT_EQ(rc.left, (sw - 360) / 2);
  EXPECT_EQ(rc.top, (sh - 215) / 2);
  EXPECT_TRUE(GetWindowLongPtrW(r.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(r.program.Query(automation::kEditMode), 1);
  EXPECT_EQ(Wide(r.program.Cell(0, 0)), L"0/0");
  Close();
  const std::string ini = s.Read(L"Lindqvale.ini").value_or("");
  EXPECT_NE(ini.find("Width=360"), std::string::npos) << ini;
  EXPECT_NE(ini.find("x=" + std::to_string((sw - 360) / 2)), std::string::npos) << ini;
}

TEST_F(Startup, StoredPositionsFollowThePlacementRules) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  const int cx = (sw - 360) / 2;
  const int cy = (sh - 215) / 2;
  struct Case {
    std::string x, y;
    int left, top;
  } cases[] = {
      {"100", "50", 100, 50},
      {"-1", "50", cx, 50},                                  // -1 always centres
      {"-100", "60", -100, 60},                              // partly off the left edge is allowed
      {"-400", "60", cx, 60},                                // wholly off is not
      {std::to_string(sw), "70", sw, 70},                    // just beyond the right edge is allowed
      {std::to_string(sw + 1), "70", cx, 70},
      {"80", std::to_string(sh - 32), 80, sh - 32},
      {"80", std::to_string(sh - 31), 80, cy},
      {"80", "-5", 80, cy},
      {"abc", "90", 0, 90},                                  // not a number: 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("x=" + c.x + " y=" + c.y);
    NextCase();
    Settings("[WinPosition]\r\nx=" + c.x + "\r\ny=" + c.y + "\r\n");
    Session& r = Start(false);
    const RECT rc = r.program.WindowRect();
    EXPECT_EQ(rc.left, c.left);
    EXPECT_EQ(rc.top, c.top);
    Close();
  }
}

TEST_F(Startup, StoredSizeAndItsFallbacks) {
  struct Case {
    const char* ini;
    int width, height;
  } cases[] = {
      {"[WinPosition]\r\nWidth=400\r\nHeight=300\r\n", 400, 300},
      {"[WinPosition]\r\nWidth=abc\r\nHeight=\r\n", 465, 408},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    NextCase();
    Settings(c.ini);
    Session& r = Start(false);
    const RECT rc = r.program.WindowRect();
    EXPECT_EQ(rc.right - rc.left, c.width);
    // The first showing snaps the height to whole rows (16-pixel rows by default).
    const int snapped = 16 + 12 + (c.height - 16 - 12) / 17 * 17;
    EXPECT_EQ(rc.bottom - rc.top, snapped);
    Close();
  }
}

TEST_F(Startup, ExtremeStoredPositionsAndSizesOpenAWindowWithinReach) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  for (const char* v : {"2147483647", "-2147483648"}) {
    SCOPED_TRACE(v);
    NextCase();
    const std::string value(v);
    Settings("[WinPosition]\r\nx=" + value + "\r\ny=" + value + "\r\nWidth=" + value + "\r\nHeight=" + value +
             "\r\n");
    Session& r = Start(false);
    const RECT rc = r.program.WindowRect();
    EXPECT_GT(rc.right - rc.left, 0);
    EXPECT_LE(rc.right - rc.left, work.right - work.left);
    EXPECT_LE(rc.bottom - rc.top, work.bottom - work.top);
    EXPECT_GE(rc.right, 0);
    EXPECT_LE(rc.left, sw);
    EXPECT_GE(rc.top, 0);
    EXPECT_LE(rc.top, sh - 32);
    Close();
    const std::string ini = s.Read(L"Lindqvale.ini").value_or("");
    EXPECT_NE(ini.find("Width=" + std::to_string(rc.right - rc.left) + "\r\n"), std::string::npos) << ini;
  }
}

// Saving goes through a temporary file of its own: whatever lies beside the task file under
// the old temporary name cannot block the save or leave its marks on the task file.
TEST_F(Startup, WhatLiesBesideTheTaskFileDoesNotBlockTheSave) {
  for (const bool folder : {true, false}) {
    SCOPED_TRACE(folder ? "a folder named Lindqvale.csv.tmp" : "a read-only Lindqvale.csv.tmp");
    NextCase();
    s.Write(L"Lindqvale.csv", FileOf({"00000000000000,TARNWILLOW02.1.00",
                                      DueDate(1) + ",20240101101010100," + Sj("　") + ",|C:\\memo.txt|," + Sj("メモ")}));
    const auto stray = s.Folder() / L"Lindqvale.csv.tmp";
    if (folder) {
      ASSERT_TRUE(CreateDirectoryW(stray.c_str(), nullptr));
    } else {
      s.Write(L"Lindqvale.csv.tmp", "left over");
      SetFileAttributesW(stray.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    Session& r = Start(false);
    r.program.Close();
    ASSERT_TRUE(WaitUntil([&] { return !r.program.Running() || r.program.HasMessageBox(); }, std::chrono::seconds(20)));
    if (const auto box = r.program.HasMessageBox() ? r.program.WaitForMessageBox() : std::nullopt) {
      ADD_FAILURE() << "the save failed";
      r.program.AnswerAndWait(*box, IDOK);
      if (const auto question = r.program.WaitForMessageBox()) Program::Answer(*question, IDYES);
    }
    ASSERT_TRUE(r.program.WaitForExit().has_value());
    EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""),
              FileOf({kHeader32, Line32(DueDate(1), "20240101101010100", false, "C:\\memo.txt", "", Sj("メモ"))}));
    EXPECT_FALSE(GetFileAttributesW(s.TaskFile().c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(stray.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(Startup, ATaskFileThatIsAFolderIsReportedAsItIs) {
  ASSERT_TRUE(CreateDirectoryW(s.TaskFile().c_str(), nullptr));
  Session& r = Start(false);
  const auto box = r.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"警告");
  EXPECT_NE(box->text.find(L"フォルダー"), std::wstring::npos) << box->text.c_str();
  EXPECT_EQ(box->text.find(L".bak"), std::wstring::npos);  // no backup can be written there
  Program::Answer(*box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !r.program.HasMessageBox(); }));
  r.program.Close();
  const auto error = r.program.WaitForMessageBox();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->text, s.TaskFile().wstring() + L" の保存が出来ませんでした。");
  ASSERT_TRUE(r.program.AnswerAndWait(*error, IDOK));
  const auto question = r.program.WaitForMessageBox();
  ASSERT_TRUE(question.has_value());
  Program::Answer(*question, IDYES);
  ASSERT_TRUE(r.program.WaitForExit().has_value());
}

TEST_F(Startup, ASecondStartBringsTheFirstForwardAndEndsSilently) {
  Session& first = Start(false);
  Program second(s);
  ASSERT_TRUE(second.Start());
  const auto code = second.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  int windows = 0;
  EnumWindows(
      [](HWND h, LPARAM l) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        if (lstrcmpW(cls, L"TfrmToDo") == 0) ++*reinterpret_cast<int*>(l);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(GetForegroundWindow(), first.window);
}

TEST_F(Startup, AReadOnlyTaskFileAtCloseAsksAndNoKeepsItRunning) {
  Tasks({Line32(DueDate(1), "20240101101010100", false, "", "", Sj("予定"))});
  SetFileAttributesW(s.TaskFile().c_str(), FILE_ATTRIBUTE_READONLY);
  Session& r = Start(false);

  r.program.Close();
  auto error = r.program.WaitForMessageBox();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->caption, L"エラー");
  EXPECT_EQ(error->text, s.TaskFile().wstring() + L" の保存が出来ませんでした。");
  ASSERT_TRUE(r.program.AnswerAndWait(*error, IDOK));
  auto question = r.program.WaitForMessageBox();
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->caption, L"警告");
  EXPECT_EQ(question->text, L"保存時にエラーが発生しました。\r\n終了してもよろしいですか？");
  wchar_t yes[32] = {};
  wchar_t no[32] = {};
  GetWindowTextW(GetDlgItem(question->hwnd, IDYES), yes, 32);
  GetWindowTextW(GetDlgItem(question->hwnd, IDNO), no, 32);
  EXPECT_STREQ(yes, L"はい(&Y)");
  EXPECT_STREQ(no, L"いいえ(&N)");
  ASSERT_TRUE(r.program.AnswerAndWait(*question, IDNO));
  EXPECT_TRUE(r.program.Running());
  EXPECT_TRUE(IsWindow(r.window));
  EXPECT_EQ(r.program.Query(automation::kReady), 1);

  // Closing again asks again; はい ends the program, the position having been written.
  r.program.Close();
  error = r.program.WaitForMessageBox();
  ASSERT_TRUE(error.has_value());
  ASSERT_TRUE(r.program.AnswerAndWait(*error, IDOK));
  question = r.program.WaitForMessageBox();
  ASSERT_TRUE(question.has_value());
  Program::Answer(*question, IDYES);
  ASSERT_TRUE(r.program.WaitForExit().has_value());
  EXPECT_NE(s.Read(L"Lindqvale.ini").value_or("").find("[WinPosition]"), std::string::npos);
  EXPECT_NE(s.Read(L"Lindqvale.csv").value_or("").find(Sj("予定")), std::string::npos);  // untouched
}

}  // namespace
}  // namespace lq::e2e

namespace lq::e2e {
namespace {

// The hooks a test driver uses to change what the program does (its clock, a drop) answer only
// when it was started with LQ_AUTOMATION=1; a user's start ignores them, and the queries answer
// either way.
TEST_F(Startup, TheTestHooksThatChangeStateAnswerOnlyARunStartedForAutomation) {
  for (const bool automation : {true, false}) {
    SCOPED_TRACE(automation ? "LQ_AUTOMATION=1" : "a user's start");
    NextCase();
    Tasks({TaskLine(1, false, "task")});
    s.Write(L"dropped.txt", "x");
    Session& r = Start(false, automation);
    ASSERT_NE(r.window, nullptr);
    ASSERT_EQ(r.program.Cell(colText, 1), "task");

    // Five hours on; a change of the system time makes the program look at its clock at once.
    SYSTEMTIME st{};
    GetLocalTime(&st);
    const int hour = (st.wHour + 5) % 24;
    r.SetClockTo(hour, st.wMinute, 0, 0);
    SendMessageW(r.window, WM_TIMECHANGE, 0, 0);
    wchar_t shifted[8];
    swprintf(shifted, 8, L"%02d:%02d", hour, st.wMinute);
    // The clock of edit mode is in the header, that of view mode in its label.
    const std::wstring clocks =
        Wide(r.program.Cell(colText, 0)) + L" " + TextOf(FindWindowExW(r.window, nullptr, L"TLqLabel", L"lblYMDHM"));
    EXPECT_EQ(clocks.find(shifted) != std::wstring::npos, automation) << clocks;

    EXPECT_EQ(SendDropFiles(r.program, r.program.CellCentre(colText, 1), {(s.Folder() / L"dropped.txt").wstring()}),
              automation);
    Close();  // after the drop the program posted itself, if it took it
    EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or("").find("dropped.txt") != std::string::npos, automation);
  }
}

}  // namespace
}  // namespace lq::e2e
