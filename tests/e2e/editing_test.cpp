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

using Editing = App;

using namespace automation;

TEST_F(Editing, AddOnAnEmptyListAndTypeJapaneseIntoIt) {
  Session& w = Start();
  EXPECT_EQ(w.Editors() & kListFocused, kListFocused);
  Chord({VK_CONTROL, 'A'});
  EXPECT_EQ(w.program.Cell(0, 0), "1/1");
  EXPECT_EQ(w.program.Cell(1, 1), "0");
  EXPECT_EQ(w.Editors() & (kTextEditorShown | kTextEditorFocused), kTextEditorShown | kTextEditorFocused);
  Type(L"牛乳を買う");
  EXPECT_EQ(w.program.Cell(2, 1), Sj("牛乳を買う"));
  Press(VK_RETURN);
  EXPECT_EQ(w.Editors() & (kTextEditorShown | kListFocused), kListFocused);
  Close();
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  EXPECT_NE(saved.find(DueDate(0) + ","), std::string::npos);
  EXPECT_NE(saved.find(Sj("|||,牛乳を買う\r\n")), std::string::npos) << saved;
}

TEST_F(Editing, ATypedKeyOpensTheEditorAndTheTextStopsAtOneHundredCharacters) {
  Tasks({TaskLine(1, false, "")});
  Session& w = Start();
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
}

// Leaving the text editor by a key sorts the list, keeping the row the key made current.
TEST_F(Editing, LeavingTheEditorByAKeySortsTheList) {
  Tasks({TaskLine(1, false, "aaa"), TaskLine(1, false, "bbb"), TaskLine(1, false, "ccc")});
  Session& w = Start();
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
  Close();
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  EXPECT_LT(saved.find(",ccc\r\n"), saved.find(",yyybbb\r\n")) << saved;
  EXPECT_LT(saved.find(",yyybbb\r\n"), saved.find(",zzz\r\n")) << saved;
  EXPECT_NE(saved.find(",zzz\r\n"), std::string::npos) << saved;
}

TEST_F(Editing, ATextLongerThanOneHundredCharactersIsNeverCutByTheEditor) {
  // 150 characters open the editor with the window; 5,000 (a hand-made file) just after the
  // first frame. Either way it opens on the whole text, selected, and keeps it whole.
  for (const int length : {150, 5000}) {
    SCOPED_TRACE(length);
    std::string longText;
    for (int i = 0; i < length; ++i) longText += i % 10 == 9 ? "|" : "長";
    const std::string shortened = Sj(longText.substr(0, longText.size() - 1));  // the last one is "|"
    NextCase();
    Tasks({TaskLine(1, false, longText), TaskLine(2, false, "next")});
    Session& w = Start();
    ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorFocused) == kTextEditorFocused; }));
    Chord({VK_CONTROL, 'C'});
    EXPECT_EQ(ClipboardText(), Wide(Sj(longText)));
    Press(VK_END);
    Type(L"x");  // the text may not grow, nor be cut
    Press(VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return w.program.Cell(2, 1) == shortened; })) << Wide(w.program.Cell(2, 1)).size();
    Press(VK_RETURN);
    Close();
    EXPECT_NE(s.Read(L"Lindqvale.csv").value_or("").find("|||," + shortened + "\r\n"), std::string::npos);
  }
}

TEST_F(Editing, TheEditorReopensAtTheStartOfItsTextWhetherOrNotItLaysItOutAgain) {
  // Reopened on the text it holds, the editor keeps it rather than laying it out again, but
  // opens as a fresh load would: the caret at the start, the start in view. 20,000 characters
  // are wider than the 32,767 pixels a control scrolls by.
  for (const std::size_t length : {std::size_t{5}, std::size_t{20000}}) {
    SCOPED_TRACE(length);
    NextCase();
    Tasks({TaskLine(1, false, std::string(length, 'w')), TaskLine(2, false, "b")});
    Session& w = Start();
    ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorFocused) == kTextEditorFocused; }));
    Press(VK_LEFT);  // the caret one back from the end; the long text scrolled along
    ASSERT_TRUE(w.ToViewMode());
    DoubleClick(w.program.CellCentre(2, 2));
    ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 1; }));
    Click(w.program.CellCentre(2, 1));
    ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorFocused) == kTextEditorFocused; }));
    GUITHREADINFO gui{sizeof gui};
    GetGUIThreadInfo(GetWindowThreadProcessId(w.program.Window(), nullptr), &gui);
    EXPECT_EQ(SendMessageW(gui.hwndFocus, EM_GETSEL, 0, 0), 0);                // caret at 0, nothing selected
    EXPECT_EQ(SendMessageW(gui.hwndFocus, EM_GETFIRSTVISIBLELINE, 0, 0), 0);  // the first character shows
    EXPECT_EQ(w.program.Cell(2, 1), std::string(length, 'w'));
    Close();
  }
}

TEST_F(Editing, CtrlETogglesDoneAndDoneDownDecidesWhereItGoes) {
  for (const bool doneDown : {true, false}) {
    SCOPED_TRACE(doneDown ? "DoneDown on" : "DoneDown off");
    NextCase();
    Settings(std::string("[Settings]\r\nDoneDown=") + (doneDown ? "1" : "0") + "\r\nFinishedDayChange=0\r\n");
    Tasks({TaskLine(1, false, "first"), TaskLine(2, false, "second"), TaskLine(3, false, "third")});
    Session& w = Start();
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
    Close();
  }
}

// 繰り返し ▸ 毎週 from the list's menu on a task due yesterday; marked done, it is followed by
// the next week's task, which a restart finds again.
TEST_F(Editing, AWeeklyTaskMarkedDoneGivesNextWeeksTaskThatSurvivesARestart) {
  Tasks({TaskLine(-1, false, "週報"), TaskLine(3, false, "other")});
  {
    Session& w = Start();
    Press(VK_RETURN);  // the list takes the focus from the text editor, whose own menu it is not
    ASSERT_EQ(w.Editors() & (kTextEditorShown | kListFocused), kListFocused);
    Click(w.program.CellCentre(2, 1), true);
    ASSERT_TRUE(WaitUntil([&] { return MenusNow(w.program).size() == 1; }));
    for (int i = 0; i < 6; ++i) Press(VK_DOWN);  // 済にする 追加 削除 添付ファイル アラーム 繰り返し
    Press(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return MenusNow(w.program).size() == 2; })) << "the submenu did not open";
    for (int i = 0; i < 3; ++i) Press(VK_DOWN);  // なし 毎日 平日 毎週
    Snapshot(WindowAndMenus(w.program), L"repeat-menu");
    Press(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return MenusNow(w.program).empty(); }));
    ASSERT_EQ(w.program.Cell(5, 1), "-W");
    Snapshot(w.program.WindowRect(), L"repeat-mark");

    Chord({VK_CONTROL, 'E'});
    EXPECT_EQ(w.program.Cell(0, 0), "2/3");
    Close();
  }
  // After a restart: the next task due a week after the date the task had, not after the day
  // it was done, and the record of the done one.
  Session& again = Start();
  EXPECT_EQ(again.program.Cell(0, 0), "2/3");
  EXPECT_EQ(again.program.Cell(2, 1), "other");
  EXPECT_EQ(again.program.Cell(0, 2), DueDate(6));
  EXPECT_EQ(again.program.Cell(2, 2), Sj("週報"));
  EXPECT_EQ(again.program.Cell(5, 2), "-W");
  EXPECT_EQ(again.program.Cell(0, 3), DueDate(0));
  EXPECT_EQ(again.program.Cell(1, 3), Sj("済"));
  EXPECT_EQ(again.program.Cell(5, 3), "-W");
  Close();
  const std::string saved = s.Read(L"Lindqvale.csv").value_or("");
  EXPECT_NE(saved.find(DueDate(6) + ","), std::string::npos) << saved;
  EXPECT_NE(saved.find(Sj("|-W|,週報\r\n")), std::string::npos) << saved;
}

TEST_F(Editing, DeleteAsksFirstAndNoKeepsTheTask) {
  Tasks({TaskLine(1, false, "keep"), TaskLine(2, false, "remove")});
  Session& w = Start();
  Press(VK_DOWN);
  ASSERT_EQ(w.Current(), 2);
  Press(VK_DELETE);
  auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"確認");
  EXPECT_EQ(box->text, Wide(DueDate(2)) + L" “remove”を削除します。\r\nよろしいですか？");
  ASSERT_TRUE(w.program.AnswerAndWait(*box, IDNO));
  EXPECT_EQ(w.program.Cell(0, 0), "2/2");

  Chord({VK_CONTROL, 'D'});
  box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(w.program.AnswerAndWait(*box, IDYES));
  EXPECT_EQ(w.program.Cell(0, 0), "1/1");
  EXPECT_EQ(w.program.Cell(2, 1), "keep");
  EXPECT_EQ(w.Current(), 1);  // the new last task
  Close();
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, TaskLine(1, false, "keep")}));
}

TEST_F(Editing, CtrlTabSwitchesEditorsAndUpInThePickerGoesToThePast) {
  Tasks({TaskLine(5, false, "task")});
  Session& w = Start();
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
}

TEST_F(Editing, LosingTheActivationShowsTheStillImageAndADoubleClickComesBack) {
  Settings("[View]\r\nDateFormat=2\r\n[Transparent]\r\nViewMode=0\r\n");
  Tasks({TaskLine(10, false, "a"), TaskLine(11, false, "b"), TaskLine(12, false, "c"), TaskLine(13, false, "d")});
  Session& w = Start();
  const int editDateWidth = static_cast<int>(w.program.Query(kMetrics, 0, 1));
  const POINT firstRow = w.program.CellInside(1, 1);
  EXPECT_EQ(ScreenPixel(firstRow), GetSysColor(COLOR_HIGHLIGHT));

  ASSERT_TRUE(w.ToViewMode());
  // No highlighted row in the picture, and the dates shortened to month/day.
  EXPECT_EQ(PixelWhenDrawn(firstRow, RGB(236, 236, 255)), RGB(236, 236, 255));
  EXPECT_LT(static_cast<int>(w.program.Query(kMetrics, 0, 1)), editDateWidth);

  DoubleClick(w.program.CellCentre(2, 3));
  EXPECT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 1; }));
  EXPECT_TRUE(w.program.Handled());
  EXPECT_EQ(w.Current(), 3);
  EXPECT_EQ(w.Editors() & kListFocused, kListFocused);
}

// The release that ends a double-click on the still image, landing on a header button, is no
// release of the list: the editor a typed key opens afterwards is not swallowed in its place.
TEST_F(Editing, ADoubleClickEndingOnAHeaderButtonSwallowsNoLaterEditor) {
  Tasks({TaskLine(1, false, "a")});
  Session& w = Start();
  const RECT rc = ChildRect(w.window, L"Button", L"予定の追加");  // btnAdd, named by its hint
  ASSERT_GT(rc.right, rc.left);
  ASSERT_TRUE(w.ToViewMode());
  DoubleClick(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
  ASSERT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 1; }));
  ASSERT_TRUE(WaitUntil([&] { return (w.Editors() & kListFocused) != 0; }));
  Press('X');
  EXPECT_TRUE(WaitUntil([&] { return (w.Editors() & kTextEditorShown) != 0; }));
}

// With SaveOnLostFocus every loss of the activation saves, in view mode too.
TEST_F(Editing, EveryLossOfTheActivationSavesWithSaveOnLostFocus) {
  Settings("[Settings]\r\nSaveOnLostFocus=1\r\n");
  Tasks({TaskLine(1, false, "a")});
  Session& w = Start();
  std::filesystem::remove(s.TaskFile());
  Foreground(ForeignWindow());
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(s.TaskFile()); }));  // from edit mode
  std::filesystem::remove(s.TaskFile());
  Foreground(w.window);  // active again, still in view mode
  ASSERT_EQ(w.program.Query(kEditMode), 0);
  Foreground(ForeignWindow());
  EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(s.TaskFile()); }));
}

TEST_F(Editing, SizingFromTheBottomRightCornerSnapsTheHeightToWholeRows) {
  Settings("[WinPosition]\r\nx=100\r\ny=100\r\nWidth=360\r\nHeight=215\r\n");
  Session& w = Start();
  const RECT before = w.program.WindowRect();
  // The panel's border around the grid is the handle in edit mode.
  Drag(POINT{before.right - 2, before.bottom - 2}, POINT{before.right + 40, before.bottom + 23});
  ASSERT_TRUE(w.program.Handled());
  const RECT after = w.program.WindowRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_GT(after.right - after.left, 360);
  const int h = after.bottom - after.top;
  EXPECT_EQ((h - 16 - 12) % 17, 0) << h;
  EXPECT_GT(h, 215);
}

TEST_F(Editing, SizingFromTheTopEdgeKeepsTheBottomEdge) {
  Settings("[WinPosition]\r\nx=100\r\ny=200\r\nWidth=360\r\nHeight=215\r\n");
  Session& w = Start();
  const RECT before = w.program.WindowRect();
  Drag(POINT{(before.left + before.right) / 2, before.top + 2}, POINT{(before.left + before.right) / 2, before.top - 30});
  ASSERT_TRUE(w.program.Handled());
  const RECT after = w.program.WindowRect();
  const int h = after.bottom - after.top;
  EXPECT_EQ((h - 16 - 12) % 17, 0) << h;
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_LT(after.top, before.top);
}

TEST_F(Editing, ADisabledMenuItemSwallowsItsShortcutUntilTheNextRightClick) {
  Session& w = Start();
  // A right-click on the blank row of the empty list disables delete.
  Click(w.program.CellCentre(2, 1), true);
  ASSERT_TRUE(WaitUntil([&] { return MenusNow(w.program).size() == 1; }));
  Press(VK_ESCAPE);
  Chord({VK_CONTROL, 'A'});
  ASSERT_EQ(w.program.Cell(0, 0), "1/1");
  Press(VK_RETURN);  // the list takes the focus
  ASSERT_EQ(w.Editors() & kListFocused, kListFocused);
  Chord({VK_CONTROL, 'D'});
  ASSERT_TRUE(w.program.Handled());  // past the shortcut: its question would be up by now
  EXPECT_FALSE(w.program.HasMessageBox());
  // A right-click on the task enables it again.
  Click(w.program.CellCentre(2, 1), true);
  ASSERT_TRUE(WaitUntil([&] { return MenusNow(w.program).size() == 1; }));
  Press(VK_ESCAPE);
  Chord({VK_CONTROL, 'D'});
  const auto box = w.program.WaitForMessageBox(std::chrono::seconds(3));
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(w.program.AnswerAndWait(*box, IDNO));
}

}  // namespace
}  // namespace lq::e2e
