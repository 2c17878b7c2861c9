// What the window shows and how it follows its settings: colours by urgency class, the counts
// in the header, transparency and the top-most band, the load report, the end of the session.
#include <gtest/gtest.h>

#include "driver.h"
#include "mainwindow/automation.h"

namespace lq::e2e {
namespace {

using Window = App;

COLORREF Mix(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1, (GetBValue(a) + GetBValue(b)) >> 1);
}

TEST_F(Window, RowsAreDrawnInTheColoursOfTheirUrgencyClass) {
  Tasks({TaskLine(9, false, "later"), TaskLine(-1, false, "overdue"), TaskLine(2, false, "soon"),
         TaskLine(0, false, "today"), TaskLine(5, false, "this week"), TaskLine(1, true, "done")});
  Session& r = Start(false);
  ASSERT_NE(r.window, nullptr);
  EXPECT_EQ(PixelWhenDrawn(r.program.CellInside(0, 1), GetSysColor(COLOR_HIGHLIGHT)), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(r.program.Cell(0, 0), "5/6");
  struct Row {
    int row;
    const char* what;
    COLORREF colour;
  } rows[] = {
      {1, "current row (overdue)", GetSysColor(COLOR_HIGHLIGHT)},
      {2, "due today", RGB(255, 187, 102)},
      {3, "in 1 to 3 days", RGB(255, 187, 102)},
      {4, "in 4 to 7 days", RGB(255, 255, 170)},
      {5, "later", RGB(236, 236, 255)},
      {6, "done", RGB(236, 236, 255)},
  };
  for (const Row& row : rows) {
    for (int col = 0; col < 3; ++col) {
      EXPECT_EQ(ScreenPixel(r.program.CellInside(col, row.row)), row.colour) << row.what << ", column " << col;
    }
  }
  EXPECT_EQ(ScreenPixel(r.program.CellInside(0, 0)),
            Mix(GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_GRADIENTACTIVECAPTION)))
      << "header";
  EXPECT_EQ(r.program.Cell(2, 1), "overdue");
  EXPECT_EQ(r.program.Cell(1, 6), Sj("済"));
}

TEST_F(Window, AnOverdueRowShowsItsOwnColoursOnceAnotherRowIsCurrent) {
  // A custom overdue colour makes the class easy to tell from the highlight.
  Settings("[Font]\r\nPreviewExpirationBGColor=0x00FF00\r\nPreviewDoneFGColor=grey\r\n");
  Tasks({TaskLine(-3, false, "a"), TaskLine(-2, false, "b")});
  Session& r = Start(false);
  EXPECT_EQ(PixelWhenDrawn(r.program.CellInside(1, 2), RGB(0, 255, 0)), RGB(0, 255, 0));
}

TEST_F(Window, TransparencyAndTheTopMostBandFollowTheSettings) {
  Settings("[Transparent]\r\nEditMode=50\r\n[View]\r\nTopMost=0\r\n");
  Session& r = Start(false);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetWindowLongPtrW(r.window, GWL_EXSTYLE) & WS_EX_LAYERED);
  ASSERT_TRUE(GetLayeredWindowAttributes(r.window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 127);  // (100 - 50) * 255 / 100
  EXPECT_TRUE(flags & LWA_ALPHA);
  EXPECT_FALSE(GetWindowLongPtrW(r.window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  NextCase();
  EXPECT_FALSE(GetWindowLongPtrW(Start(false).window, GWL_EXSTYLE) & WS_EX_LAYERED);  // 0 % never blends
}

TEST_F(Window, HandEditedSettingsBeyondTheDialogsRangesLeaveAUsableWindow) {
  Settings("[Transparent]\r\nEditMode=100\r\nViewMode=150\r\n[View]\r\nRowHeight=0\r\n");
  Session& r = Start(false);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(r.window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 25);  // 90 %, the most the dialog offers
  EXPECT_EQ(r.program.Query(automation::kMetrics), 12);
}

TEST_F(Window, UnreadableLinesAreReportedOnceAndKeptInABackup) {
  const std::string original = FileOf({kHeader32, TaskLine(1, false, "keep"), "this line is no task"});
  s.Write(L"Lindqvale.csv", original);
  Session& r = Start(false);
  const auto box = r.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"警告");
  EXPECT_NE(box->text.find(s.TaskFile().wstring()), std::wstring::npos);
  EXPECT_NE(box->text.find(L"1行"), std::wstring::npos);
  EXPECT_NE(box->text.find(s.TaskFile().wstring() + L".bak"), std::wstring::npos);
  ASSERT_TRUE(r.program.AnswerAndWait(*box, IDOK));
  EXPECT_FALSE(r.program.HasMessageBox());
  Close();
  EXPECT_EQ(s.Read(L"Lindqvale.csv.bak").value_or(""), original);
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, TaskLine(1, false, "keep")}));
}

TEST_F(Window, EscapeAnswersTheQuitQuestionWithNo) {
  Tasks({TaskLine(1, false, "x")});
  SetFileAttributesW(s.TaskFile().c_str(), FILE_ATTRIBUTE_READONLY);
  Session& r = Start(false);
  r.program.Close();
  auto error = r.program.WaitForMessageBox();
  ASSERT_TRUE(error.has_value());
  ASSERT_TRUE(r.program.AnswerAndWait(*error, IDOK));
  auto question = r.program.WaitForMessageBox();
  ASSERT_TRUE(question.has_value());
  PostMessageW(GetDlgItem(question->hwnd, IDYES), WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(GetDlgItem(question->hwnd, IDYES), WM_KEYUP, VK_ESCAPE, 0);
  WaitUntil([&] { return !IsWindowVisible(question->hwnd); });
  EXPECT_TRUE(r.program.Handled());
  EXPECT_FALSE(r.program.HasMessageBox());
  EXPECT_TRUE(r.program.Running());
  EXPECT_EQ(r.program.Query(automation::kReady), 1);
  SetFileAttributesW(s.TaskFile().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Window, TheEndOfTheSessionClosesThroughTheSavingPath) {
  Tasks({TaskLine(1, false, "  trimmed on save  ")});
  Session& r = Start(false);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(r.window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  ASSERT_TRUE(r.program.WaitForExit().has_value());
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, TaskLine(1, false, "trimmed on save")}));
  EXPECT_NE(s.Read(L"Lindqvale.ini").value_or("").find("[WinPosition]"), std::string::npos);
}

TEST_F(Window, AltF4ClosesThroughTheSavingPath) {
  Tasks({TaskLine(1, false, "  trimmed on save  ")});
  Session& w = Start();
  Chord({VK_MENU, VK_F4});
  ASSERT_TRUE(w.program.WaitForExit(std::chrono::seconds(10)).has_value());
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, TaskLine(1, false, "trimmed on save")}));
}

}  // namespace
}  // namespace lq::e2e
