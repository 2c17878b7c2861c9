// Living in the list with keyboard and mouse: adding, typing, completing, deleting, the two
// editors, view mode and back, and sizing the window by its corner.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "driver.h"
#include "mainwindow/automation.h"

namespace lq::e2e {
namespace {

using namespace automation;

TEST(Editing, AddOnAnEmptyListAndTypeJapaneseIntoIt) {
  Scratch s;
  Session w(s);
  EXPECT_EQ(w.Editors() & kListFocused, kListFocused);
  Chord({VK_CONTROL, 'A'});
  EXPECT_EQ(w.program.Cell(0, 0), "1/1");
  EXPECT_EQ(w.program.Cell(1, 1), "0");
  EXPECT_EQ(w.Editors() & (kTextEditorShown | kTextEditorFocused), kTextEditorShown | kTextEditorFocused);
  Type(L"牛乳を買う");
  EXPECT_EQ(w.program.Cell(2, 1), Sj("牛乳を買う"));
  Press(VK_RETURN);
  EXPECT_EQ(w.Editors() & (kTextEditorShown | kListFocused), kListFocused);
  w.CloseAndWait();
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  EXPECT_NE(saved.find(DueDate(0) + ","), std::string::npos);
  EXPECT_NE(saved.find(Sj("|||,牛乳を買う\r\n")), std::string::npos) << saved;
}

TEST(Editing, ATypedKeyOpensTheEditorAndTheTextStopsAtOneHundredCharacters) {
  Scratch s;
  s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, "")}));
  Session w(s);
  // The window starts with the editor open on the first task; Enter gives the list the focus.
  ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);
  Press(VK_RETURN);
  ASSERT_EQ(w.Editors() & (kTextEditorShown | kListFocused), kListFocused);
  Press('X');  // a key typed into the list opens the editor; the key itself is not inserted
  ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);
  EXPECT_EQ(w.program.Cell(2, 1), "");
  Type(std::wstring(100, L'あ') + L"い");
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "あ";
  EXPECT_EQ(w.program.Cell(2, 1), Sj(hundred));
  w.CloseAndWait();
}

// Leaving the text editor by a key sorts the list, keeping the row the key made current.
TEST(Editing, LeavingTheEditorByAKeySortsTheList) {
  Scratch s;
  s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, "aaa"), TaskLine(1, false, "bbb"),
                                    TaskLine(1, false, "ccc")}));
  Session w(s);
  const auto texts = [&] { return w.program.Cell(2, 1) + " " + w.program.Cell(2, 2) + " " + w.program.Cell(2, 3); };
  ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);  // on "aaa", its text selected
  Type(L"zzz");
  Press(VK_DOWN);
  EXPECT_EQ(texts(), "bbb ccc zzz");
  EXPECT_EQ(w.Current(), 1);
  Press('Y');  // opens the editor on "bbb", the caret at the start
  Type(L"yyy");
  Chord({VK_CONTROL, VK_TAB});
  EXPECT_EQ(texts(), "ccc yyybbb zzz");
  EXPECT_EQ(w.Current(), 2);
  EXPECT_EQ(w.Editors() & kDatePickerShown, kDatePickerShown);
  w.CloseAndWait();
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  EXPECT_LT(saved.find(",ccc\r\n"), saved.find(",yyybbb\r\n")) << saved;
  EXPECT_LT(saved.find(",yyybbb\r\n"), saved.find(",zzz\r\n")) << saved;
  EXPECT_NE(saved.find(",zzz\r\n"), std::string::npos) << saved;
}

TEST(Editing, ATextLongerThanOneHundredCharactersIsNeverCutByTheEditor) {
  // 150 characters open the editor with the window; 5,000 (a hand-made file) just after the
  // first frame. Either way it opens on the whole text, selected, and keeps it whole.
  for (const int length : {150, 5000}) {
    SCOPED_TRACE(length);
    std::string longText;
    for (int i = 0; i < length; ++i) longText += i % 10 == 9 ? "|" : "長";
    const std::string shortened = Sj(longText.substr(0, longText.size() - 1));  // the last one is "|"
    Scratch s;
    s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, longText), TaskLine(2, false, "next")}));
    Session w(s);
    ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorFocused) == kTextEditorFocused; }));
    Chord({VK_CONTROL, 'C'});
    EXPECT_EQ(ClipboardText(), Wide(Sj(longText)));
    Press(VK_END);
    Type(L"x");  // the text may not grow, nor be cut
    Press(VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return w.program.Cell(2, 1) == shortened; })) << Wide(w.program.Cell(2, 1)).size();
    Press(VK_RETURN);
    w.CloseAndWait();
    EXPECT_NE(s.Read(L"Lindqvale.csv").value_or("").find("|||," + shortened + "\r\n"), std::string::npos);
  }
}

TEST(Editing, TheEditorReopensAtTheStartOfItsTextWhetherOrNotItLaysItOutAgain) {
  // Reopened on the text it holds, the editor keeps it rather than laying it out again, but
  // opens as a fresh load would: the caret at the start, the start in view. 20,000 characters
  // are wider than the 32,767 pixels a control scrolls by.
  for (const std::size_t length : {std::size_t{5}, std::size_t{20000}}) {
    SCOPED_TRACE(length);
    Scratch s;
    s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, std::string(length, 'w')), TaskLine(2, false, "b")}));
    Session w(s);
    ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorFocused) == kTextEditorFocused; }));
    Press(VK_LEFT);  // the caret one back from the end; the long text scrolled along
    Foreground(ForeignWindow());
    ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 0; }));
    DoubleClick(w.program.CellCentre(2, 2));
    ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 1; }));
    Click(w.program.CellCentre(2, 1));
    ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorFocused) == kTextEditorFocused; }));
    GUITHREADINFO gui{sizeof gui};
    GetGUIThreadInfo(GetWindowThreadProcessId(w.program.Window(), nullptr), &gui);
    EXPECT_EQ(SendMessageW(gui.hwndFocus, EM_GETSEL, 0, 0), 0);                // caret at 0, nothing selected
    EXPECT_EQ(SendMessageW(gui.hwndFocus, EM_GETFIRSTVISIBLELINE, 0, 0), 0);  // the first character shows
    EXPECT_EQ(w.program.Cell(2, 1), std::string(length, 'w'));
    w.CloseAndWait();
  }
}

TEST(Editing, CtrlETogglesDoneAndDoneDownDecidesWhereItGoes) {
  for (const bool doneDown : {true, false}) {
    SCOPED_TRACE(doneDown ? "DoneDown on" : "DoneDown off");
    Scratch s;
    s.Write(L"Lindqvale.ini", std::string("[Settings]\r\nDoneDown=") + (doneDown ? "1" : "0") +
                                  "\r\nFinishedDayChange=0\r\n");
    s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, "first"), TaskLine(2, false, "second"), TaskLine(3, false, "third")}));
    Session w(s);
    ASSERT_EQ(w.Current(), 1);
    Chord({VK_CONTROL, 'E'});
    EXPECT_EQ(w.program.Cell(0, 0), "2/3");
    if (doneDown) {
      EXPECT_EQ(w.program.Cell(2, 3), "first");  // moved to the bottom
      EXPECT_EQ(w.program.Cell(1, 3), Sj("済"));
      EXPECT_EQ(w.Current(), 1);                 // the selection stays on its line
      EXPECT_EQ(w.program.Cell(2, 1), "second");
    } else {
      EXPECT_EQ(w.program.Cell(2, 1), "first");  // stays among the others by date
      EXPECT_EQ(w.program.Cell(1, 1), Sj("済"));
    }
    // And back: with DoneDown the selection follows the task to its place among the open ones.
    if (doneDown) {
      Press(VK_END);
      ASSERT_EQ(w.Current(), 3);
    }
    Chord({VK_CONTROL, 'E'});
    EXPECT_EQ(w.program.Cell(0, 0), "3/3");
    EXPECT_EQ(w.program.Cell(2, 1), "first");
    EXPECT_EQ(w.program.Cell(1, 1), "1");
    EXPECT_EQ(w.Current(), 1);
    w.CloseAndWait();
  }
}

TEST(Editing, DeleteAsksFirstAndNoKeepsTheTask) {
  Scratch s;
  s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, "keep"), TaskLine(2, false, "remove")}));
  Session w(s);
  Press(VK_DOWN);
  ASSERT_EQ(w.Current(), 2);
  Press(VK_DELETE);
  auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"確認");
  EXPECT_EQ(box->text, Wide(DueDate(2)) + L" “remove”を削除します。\r\nよろしいですか？");
  Program::Answer(*box, IDNO);
  Pump(std::chrono::milliseconds(300));
  EXPECT_EQ(w.program.Cell(0, 0), "2/2");

  Chord({VK_CONTROL, 'D'});
  box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  Program::Answer(*box, IDYES);
  Pump(std::chrono::milliseconds(300));
  EXPECT_EQ(w.program.Cell(0, 0), "1/1");
  EXPECT_EQ(w.program.Cell(2, 1), "keep");
  EXPECT_EQ(w.Current(), 1);  // the new last task
  w.CloseAndWait();
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, TaskLine(1, false, "keep")}));
}

TEST(Editing, CtrlTabSwitchesEditorsAndUpInThePickerGoesToThePast) {
  Scratch s;
  s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(5, false, "task")}));
  Session w(s);
  ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);
  Chord({VK_CONTROL, VK_TAB});
  EXPECT_EQ(w.Editors() & (kTextEditorShown | kDatePickerShown | kDatePickerFocused),
            kDatePickerShown | kDatePickerFocused);
  // DateCursorTurn is on by default: Up moves the date into the past (whichever field is
  // selected), Down into the future.
  Press(VK_RIGHT);
  Press(VK_UP);
  EXPECT_LT(std::stoi(w.program.Cell(1, 1)), 5);
  EXPECT_LT(w.program.Cell(0, 1), DueDate(5));
  Press(VK_DOWN);
  EXPECT_EQ(w.program.Cell(0, 1), DueDate(5));
  EXPECT_EQ(w.Editors() & kDatePickerFocused, kDatePickerFocused);  // it stays with the task
  Chord({VK_CONTROL, VK_TAB});
  EXPECT_EQ(w.Editors() & (kTextEditorShown | kDatePickerShown | kTextEditorFocused),
            kTextEditorShown | kTextEditorFocused);
  w.CloseAndWait();
}

TEST(Editing, LosingTheActivationShowsTheStillImageAndADoubleClickComesBack) {
  Scratch s;
  s.Write(L"Lindqvale.ini", "[View]\r\nDateFormat=2\r\n[Transparent]\r\nViewMode=0\r\n");
  s.Write(L"Lindqvale.csv",
          FileOf({kHeader32, TaskLine(10, false, "a"), TaskLine(11, false, "b"), TaskLine(12, false, "c"), TaskLine(13, false, "d")}));
  Session w(s);
  const int editDateWidth = static_cast<int>(w.program.Query(kMetrics, 0, 1));
  const POINT firstRow = w.program.CellInside(1, 1);
  EXPECT_EQ(ScreenPixel(firstRow), GetSysColor(COLOR_HIGHLIGHT));

  Foreground(ForeignWindow());
  ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 0; }));
  Pump(std::chrono::milliseconds(200));
  // No highlighted row in the picture, and the dates shortened to month/day.
  EXPECT_EQ(ScreenPixel(firstRow), RGB(236, 236, 255));
  EXPECT_LT(static_cast<int>(w.program.Query(kMetrics, 0, 1)), editDateWidth);

  DoubleClick(w.program.CellCentre(2, 3));
  EXPECT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 1; }));
  Pump(std::chrono::milliseconds(200));
  EXPECT_EQ(w.Current(), 3);
  EXPECT_EQ(w.Editors() & kListFocused, kListFocused);
  w.CloseAndWait();
}

// The release that ends a double-click on the still image, landing on a header button, is no
// release of the list: the editor a typed key opens afterwards is not swallowed in its place.
TEST(Editing, ADoubleClickEndingOnAHeaderButtonSwallowsNoLaterEditor) {
  Scratch s;
  s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, "a")}));
  Session w(s);
  const RECT rc = ChildRect(w.window, L"Button", L"予定の追加");  // btnAdd, named by its hint
  ASSERT_GT(rc.right, rc.left);
  Foreground(ForeignWindow());
  ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 0; }));
  DoubleClick(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
  ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 1; }));
  ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kListFocused) != 0; }));
  Press('X');
  EXPECT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorShown) != 0; }));
  w.CloseAndWait();
}

// With SaveOnLostFocus every loss of the activation saves, in view mode too.
TEST(Editing, EveryLossOfTheActivationSavesWithSaveOnLostFocus) {
  Scratch s;
  s.Write(L"Lindqvale.ini", "[Settings]\r\nSaveOnLostFocus=1\r\n");
  s.Write(L"Lindqvale.csv", FileOf({kHeader32, TaskLine(1, false, "a")}));
  Session w(s);
  std::filesystem::remove(s.TaskFile());
  Foreground(ForeignWindow());
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(s.TaskFile()); }));  // from edit mode
  std::filesystem::remove(s.TaskFile());
  Foreground(w.window);  // active again, still in view mode
  ASSERT_EQ(w.program.Query(kEditMode), 0);
  Foreground(ForeignWindow());
  EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(s.TaskFile()); }));
  w.CloseAndWait();
}

TEST(Editing, SizingFromTheBottomRightCornerSnapsTheHeightToWholeRows) {
  Scratch s;
  s.Write(L"Lindqvale.ini", "[WinPosition]\r\nx=100\r\ny=100\r\nWidth=360\r\nHeight=215\r\n");
  Session w(s);
  const RECT before = w.program.WindowRect();
  // The panel's border around the grid is the handle in edit mode.
  Drag(POINT{before.right - 2, before.bottom - 2}, POINT{before.right + 40, before.bottom + 23});
  Pump(std::chrono::milliseconds(300));
  const RECT after = w.program.WindowRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_GT(after.right - after.left, 360);
  const int h = after.bottom - after.top;
  EXPECT_EQ((h - 16 - 12) % 17, 0) << h;
  EXPECT_GT(h, 215);
  w.CloseAndWait();
}

TEST(Editing, SizingFromTheTopEdgeKeepsTheBottomEdge) {
  Scratch s;
  s.Write(L"Lindqvale.ini", "[WinPosition]\r\nx=100\r\ny=200\r\nWidth=360\r\nHeight=215\r\n");
  Session w(s);
  const RECT before = w.program.WindowRect();
  Drag(POINT{(before.left + before.right) / 2, before.top + 2}, POINT{(before.left + before.right) / 2, before.top - 30});
  Pump(std::chrono::milliseconds(300));
  const RECT after = w.program.WindowRect();
  const int h = after.bottom - after.top;
  EXPECT_EQ((h - 16 - 12) % 17, 0) << h;
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_LT(after.top, before.top);
  w.CloseAndWait();
}

TEST(Editing, ADisabledMenuItemSwallowsItsShortcutUntilTheNextRightClick) {
  Scratch s;
  Session w(s);
  // A right-click on the blank row of the empty list disables delete.
  Click(w.program.CellCentre(2, 1), true);
  Pump(std::chrono::milliseconds(300));
  Press(VK_ESCAPE);
  Chord({VK_CONTROL, 'A'});
  ASSERT_EQ(w.program.Cell(0, 0), "1/1");
  Press(VK_RETURN);  // the list takes the focus
  ASSERT_EQ(w.Editors() & kListFocused, kListFocused);
  Chord({VK_CONTROL, 'D'});
  Pump(std::chrono::milliseconds(300));
  EXPECT_FALSE(w.program.HasMessageBox());
  // A right-click on the task enables it again.
  Click(w.program.CellCentre(2, 1), true);
  Pump(std::chrono::milliseconds(300));
  Press(VK_ESCAPE);
  Chord({VK_CONTROL, 'D'});
  const auto box = w.program.WaitForMessageBox(std::chrono::seconds(3));
  ASSERT_TRUE(box.has_value());
  Program::Answer(*box, IDNO);
  Pump(std::chrono::milliseconds(200));
  w.CloseAndWait();
}

}  // namespace
}  // namespace lq::e2e
