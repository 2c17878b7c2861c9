// The keyboard and the wheel around the in-place editors, as a new user tries them: scrolling
// while an editor is open, the clipboard keys in the text editor, the focus after each message
// box, and a date picker that reports a change it did not make.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driver.h"
#include "mainwindow/automation.h"

namespace lq::e2e {
namespace {

using namespace automation;
using Scrolling = App;
using Mouse = App;
using Clipboard = App;
using Focus = App;
using DatePicker = App;

constexpr LRESULT kEditorShown = kTextEditorShown | kDatePickerShown;

std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < file.size();) {
    const std::size_t end = file.find("\r\n", at);
    if (end == std::string::npos) break;
    lines.push_back(file.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// A saved line with the stamp of the fixtures, for a task whose stamp the program renewed.
std::string WithFixtureStamp(std::string line) {
  if (line.size() > 32) line.replace(15, 17, "20240101101010100");
  return line;
}

void AnswerAndWait(Session& w, int button) {
  const auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value()) << "no message box";
  // This box gone: another may follow it at once (the quit question after a failed save).
  ASSERT_TRUE(w.program.AnswerAndWait(*box, button));
}

// The focus is back where it was, once the program is past the box.
bool FocusReturnsTo(const Session& w, LRESULT where) {
  return WaitUntil([&] { return (w.Editors() & where) == where; });
}

TEST_F(Scrolling, TheWheelAndTheScrollBarCloseTheEditorsAndNoOtherTaskChanges) {
  enum class Editor { Text, Date };
  enum class Way { WheelOverAnotherRow, WheelOverTheEditor, ScrollBar };
  const struct {
    const char* name;
    Editor editor;
    Way way;
  } cases[] = {
      {"text editor, wheel over another row", Editor::Text, Way::WheelOverAnotherRow},
      {"text editor, wheel over the editor", Editor::Text, Way::WheelOverTheEditor},
      {"text editor, scroll bar", Editor::Text, Way::ScrollBar},
      {"date picker, wheel over another row", Editor::Date, Way::WheelOverAnotherRow},
      {"date picker, wheel over the picker", Editor::Date, Way::WheelOverTheEditor},
      {"date picker, scroll bar", Editor::Date, Way::ScrollBar},
  };
  std::vector<std::string> tasks{kHeader32};
  for (int i = 0; i < 20; ++i) tasks.push_back(TaskLine(i + 1, false, (i < 10 ? "t0" : "t") + std::to_string(i)));
  std::string original;
  for (const auto& t : tasks) original += t + "\r\n";

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    s.Write(L"Lindqvale.csv", original);
    Session& w = Start();
    ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);
    int editorColumn = 2;
    if (c.editor == Editor::Text) {
      Press(VK_END);
      Type(L"E");  // this task may change: its editor is open
      ASSERT_EQ(w.program.Cell(2, 1), "t00E");
    } else {
      Chord({VK_CONTROL, VK_TAB});
      ASSERT_EQ(w.Editors() & kDatePickerFocused, kDatePickerFocused);
      editorColumn = 0;
    }

    switch (c.way) {
      case Way::WheelOverAnotherRow: Wheel(w.program.CellCentre(2, 4), 2); break;
      case Way::WheelOverTheEditor: Wheel(w.program.CellCentre(editorColumn, 1), 2); break;
      case Way::ScrollBar: {
        // A click on the bar's track below its thumb: a page down.
        const RECT grid = w.program.GridScreenRect();
        Click(POINT{grid.right + GetSystemMetrics(SM_CXVSCROLL) / 2, grid.bottom - GetSystemMetrics(SM_CYVSCROLL) - 3});
        ASSERT_GT(w.program.Query(kTopRow), 1);
        break;
      }
    }
    EXPECT_EQ(w.Editors() & kEditorShown, 0) << "an editor stayed open";
    const int top = static_cast<int>(w.program.Query(kTopRow));
    const int visible = static_cast<int>(w.program.Query(kVisibleRows));
    EXPECT_GE(w.Current(), top);
    EXPECT_LT(w.Current(), top + visible);
    EXPECT_NE(w.Current(), 1);

    // What the user types next must not land in another task.
    if (c.editor == Editor::Text) {
      Type(L"X");
      Press(VK_RETURN);
    } else {
      Press(VK_UP);
    }
    Close();
    const std::vector<std::string> saved = Lines(s.Read(L"Lindqvale.csv").value_or(""));
    ASSERT_EQ(saved.size(), tasks.size());
    for (std::size_t i = 0; i < tasks.size(); ++i) {
      if (i == 1 && c.editor == Editor::Text) {
        EXPECT_EQ(WithFixtureStamp(saved[i]), TaskLine(1, false, "t00E"));
      } else {
        EXPECT_EQ(saved[i], tasks[i]) << "line " << i;
      }
    }
  }
}

// Any button but the right one does what the left one does on each column: the middle one too.
TEST_F(Mouse, AMiddleClickOnTheDaysLeftMarksTheTaskDone) {
  Tasks({TaskLine(1, false, "a")});
  Session& w = Start();
  MiddleClick(w.program.CellCentre(1, 1));
  EXPECT_TRUE(WaitUntil([&] { return w.program.Cell(1, 1) == Sj("済"); }));
}

TEST_F(Clipboard, CopyCutPasteAndUndoWorkInTheTextEditor) {
  Tasks({TaskLine(1, false, "alpha beta"), TaskLine(2, false, "gamma"), TaskLine(3, false, "ab")});
  Session& w = Start();
  ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);
  const auto text = [&](int row) { return w.program.Cell(2, row); };
  // Opens the text editor on the next row with the caret at the end.
  const auto nextRow = [&] {
    Press(VK_DOWN);
    Press(VK_SPACE);  // a typed key opens the editor and is not inserted
    ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);
    Press(VK_END);
  };

  // Copy part of one task and paste it into another; undo.
  Press(VK_END);
  for (int i = 0; i < 4; ++i) Chord({VK_SHIFT, VK_LEFT});
  SetClipboardText(L"-");
  Chord({VK_CONTROL, 'C'});
  EXPECT_EQ(ClipboardText(), L"beta");
  nextRow();
  Chord({VK_CONTROL, 'V'});
  EXPECT_EQ(text(2), "gammabeta");
  Chord({VK_CONTROL, 'Z'});
  EXPECT_EQ(text(2), "gamma");

  // Cut, and the same with the Insert and Delete keys.
  Chord({VK_SHIFT, VK_HOME});
  Chord({VK_CONTROL, 'X'});
  EXPECT_EQ(text(2), "");
  EXPECT_EQ(ClipboardText(), L"gamma");
  Chord({VK_SHIFT, VK_INSERT});
  EXPECT_EQ(text(2), "gamma");
  Chord({VK_SHIFT, VK_HOME});
  SetClipboardText(L"-");
  Chord({VK_CONTROL, VK_INSERT});
  EXPECT_EQ(ClipboardText(), L"gamma");
  Press(VK_END);
  Chord({VK_SHIFT, VK_LEFT});
  Chord({VK_SHIFT, VK_LEFT});
  Chord({VK_SHIFT, VK_DELETE});
  EXPECT_EQ(text(2), "gam");
  EXPECT_EQ(ClipboardText(), L"ma");

  // A long text is cut as typing is; a line break becomes a blank: a task is one line.
  nextRow();
  SetClipboardText(std::wstring(150, L'x'));
  Chord({VK_CONTROL, 'V'});
  EXPECT_EQ(text(3), "ab" + std::string(98, 'x'));
  Chord({VK_SHIFT, VK_HOME});
  SetClipboardText(L"one\r\ntwo\nthree\rfour\r\n");
  Chord({VK_CONTROL, 'V'});
  EXPECT_EQ(text(3), "one two three four ");
  Press(VK_RETURN);  // closing the editor trims the blanks around a text
  EXPECT_EQ(text(3), "one two three four");
  Close();
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or("").find("\r\ntwo"), std::string::npos);
}

TEST_F(Focus, EveryMessageBoxGivesTheFocusBack) {
  // The list had the focus: Down moves the current row afterwards.
  const auto downMovesTheRow = [](Session& w) {
    EXPECT_TRUE(FocusReturnsTo(w, kListFocused));
    const int before = w.Current();
    Press(VK_DOWN);
    EXPECT_EQ(w.Current(), before + 1);
  };
  const struct {
    const char* name;
    std::vector<std::string> tasks;
    std::function<void(Session&)> run;  // opens the box, answers it and checks the focus
    bool readOnly = false;              // a task file the program cannot write
  } cases[] = {
      {"the delete question answered with the button and with Escape",
       {TaskLine(1, false, "a"), TaskLine(2, false, "b"), TaskLine(3, false, "c")},
       [&](Session& w) {
         Press(VK_RETURN);  // the list takes the focus
         Press(VK_DELETE);
         AnswerAndWait(w, IDNO);
         downMovesTheRow(w);
         Press(VK_DELETE);
         ASSERT_TRUE(w.program.WaitForMessageBox().has_value());
         Press(VK_ESCAPE);
         ASSERT_TRUE(WaitUntil([&] { return !w.program.HasMessageBox(); }));
         downMovesTheRow(w);
         EXPECT_EQ(w.program.Cell(0, 0), "3/3");
       }},
      {"the alarm command on a text without a time",
       {TaskLine(1, false, "no time"), TaskLine(2, false, "b")},
       [&](Session& w) {
         Chord({VK_CONTROL, 'B'});
         AnswerAndWait(w, IDOK);
         downMovesTheRow(w);
       }},
      {"an alarm that cannot start, while the text editor is open",
       {TaskLine(0, false, "07:00 wake", "", "A"), TaskLine(1, false, "note")},
       [&](Session& w) {
         Press(VK_DOWN);
         Press(VK_SPACE);
         Press(VK_HOME);
         ASSERT_EQ(w.Editors() & kTextEditorFocused, kTextEditorFocused);
         w.SetClockTo(6, 59, 59, 500);
         AnswerAndWait(w, IDOK);
         EXPECT_TRUE(FocusReturnsTo(w, kTextEditorFocused));
         Type(L"Z");
         EXPECT_EQ(w.program.Cell(2, 2), "Znote");
       }},
      {"the quit question after a failed save, declined",
       {TaskLine(1, false, "x")},
       [&](Session& w) {
         Press(VK_END);
         w.program.Close();
         AnswerAndWait(w, IDOK);  // the task file could not be written
         AnswerAndWait(w, IDNO);  // do not quit
         EXPECT_TRUE(FocusReturnsTo(w, kTextEditorFocused));
         Type(L"Q");
         EXPECT_EQ(w.program.Cell(2, 1), "xQ");
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    Tasks(c.tasks);
    if (c.readOnly) SetFileAttributesW(s.TaskFile().c_str(), FILE_ATTRIBUTE_READONLY);
    Session& w = Start();
    c.run(w);
    if (c.readOnly) SetFileAttributesW(s.TaskFile().c_str(), FILE_ATTRIBUTE_NORMAL);
    Close();
  }
}

TEST_F(DatePicker, ANotificationWithoutANewDateLeavesADoneTaskDone) {
  Tasks({TaskLine(1, false, "open"), TaskLine(3, true, "done")});
  Session& w = Start();
  Click(w.program.CellCentre(0, 2));
  ASSERT_EQ(w.Editors() & kDatePickerFocused, kDatePickerFocused);
  // Wine's picker opens with no field selected: Up changes nothing but still notifies.
  Press(VK_UP);
  if (w.program.Cell(0, 2) != DueDate(3)) {
    GTEST_SKIP() << "this picker selects a field when it opens, so Up really changes the date";
  }
  EXPECT_EQ(w.program.Cell(1, 2), Sj("済"));
  EXPECT_EQ(w.program.Cell(2, 2), "done");
  EXPECT_EQ(w.program.Cell(0, 0), "1/2");
  EXPECT_EQ(w.Editors() & kDatePickerFocused, kDatePickerFocused);

  // A real change still reopens the task.
  Press(VK_RIGHT);
  Press(VK_UP);
  EXPECT_NE(w.program.Cell(1, w.Current()), Sj("済"));
  EXPECT_EQ(w.program.Cell(0, 0), "2/2");
  Press(VK_ESCAPE);
}

}  // namespace
}  // namespace lq::e2e
