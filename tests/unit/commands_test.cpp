#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "sjis.h"
#include "store/alarm.h"
#include "store/tasklist.h"
#include "store/text.h"

namespace lq {
namespace {

using testing::Sj;
using testing::Utf8;

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() : list(clock, collation) {
    list.SetVisibleRowCount(4);
    list.Hooks.hideEditors = [this] { ++hidden; };
    list.Hooks.openTextEditor = [this] { ++opened; };
    list.UpdateTaskCounts();
  }

  // Adds a task through the command, then gives it a date and a text as the editors would.
  void Task(int daysFromToday, const std::string& text, bool done = false) {
    list.AddTask();
    list.ChangeDueDate(list.CurrentRow(), AddDays(clock.Now().date, daysFromToday));
    list.ChangeText(list.CurrentRow(), Sj(text));
    list.SortTasks(list.CurrentRow() - list.TopRow(), false);
    if (done) list.ToggleDone(false);
  }
  std::string Text(int row) const { return Utf8(list.Table().Cell(colText, row)); }
  std::string Counts() const { return std::string(list.Table().Cell(colDueDate, 0)); }

  testing::FakeClock clock{DateTime{Date{2024, 5, 1}, 9, 0, 0, 0}};
  ByteCollation collation;
  TaskList list;
  int hidden = 0;
  int opened = 0;
};

TEST_F(CommandsTest, AddOnAnEmptyListMakesATaskDueTodayWithTheEditorOpen) {
  list.AddTask();
  EXPECT_EQ(list.Table().RowCount(), 2);
  EXPECT_EQ(list.Table().Cell(colDueDate, 1), Sj("2024/05/01(水)"));
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), "0");
  EXPECT_EQ(list.Table().Cell(colUpdated, 1), "20240501090000000");
  EXPECT_EQ(list.CurrentRow(), 1);
  EXPECT_EQ(Counts(), "1/1");
  EXPECT_EQ(opened, 1);
}

TEST_F(CommandsTest, AddTakesTheSelectedDateAndStandsFirstAmongItsTasks) {
  Task(0, "today");
  Task(3, "b later");
  Task(3, "c later");
  Task(5, "last");
  list.SetCurrentRow(3);  // "c later"
  const int line = list.CurrentRow() - list.TopRow();
  list.AddTask();
  EXPECT_EQ(list.CurrentRow(), 2);
  EXPECT_EQ(Text(2), "");
  EXPECT_EQ(list.Table().Cell(colDueDate, 2), list.Table().Cell(colDueDate, 3));
  EXPECT_EQ(list.CurrentRow() - list.TopRow(), std::min(line, list.CurrentRow() - 1));
  // A second add without typing stands after the first and is the one selected.
  list.ChangeText(list.CurrentRow(), "");
  const std::string firstStamp(list.Table().Cell(colUpdated, 2));
  clock.Set(DateTime{Date{2024, 5, 1}, 9, 0, 1, 0});
  list.AddTask();
  EXPECT_EQ(list.Table().Cell(colText, 2), "");
  EXPECT_EQ(list.Table().Cell(colText, 3), "");
  EXPECT_EQ(list.CurrentRow(), 3);
  EXPECT_EQ(list.Table().Cell(colUpdated, 2), firstStamp);
  EXPECT_EQ(Counts(), "6/6");
}

TEST_F(CommandsTest, DeleteKeepsTheRowIndexAndTheCounters) {
  Task(0, "a");
  Task(1, "b", true);
  Task(2, "c");
  EXPECT_EQ(Counts(), "2/3");
  list.SetCurrentRow(1);
  EXPECT_EQ(Utf8(list.DeleteQuestion()), "2024/05/01(水) “a”を削除します。\r\nよろしいですか？");
  ASSERT_TRUE(list.DeleteCurrentTask());
  EXPECT_EQ(Text(1), "c");  // the next task is selected
  EXPECT_EQ(list.CurrentRow(), 1);
  EXPECT_EQ(Counts(), "1/2");
  list.SetCurrentRow(2);  // the done task, last
  ASSERT_TRUE(list.DeleteCurrentTask());
  EXPECT_EQ(list.CurrentRow(), 1);  // the new last task
  EXPECT_EQ(Counts(), "1/1");
  ASSERT_TRUE(list.DeleteCurrentTask());
  EXPECT_EQ(Counts(), "0/0");
  EXPECT_EQ(list.Table().RowCount(), 2);
  EXPECT_FALSE(list.DeleteCurrentTask());
  EXPECT_EQ(list.DeleteQuestion(), "");
}

TEST_F(CommandsTest, DoneWithFinishedDayChangeDatesTodayAndNotDoneCountsFromThere) {
  Task(7, "next week");
  clock.Set(DateTime{Date{2024, 5, 1}, 10, 0, 0, 0});
  ASSERT_TRUE(list.ToggleDone(true));
  EXPECT_EQ(list.Table().Cell(colDueDate, 1), Sj("2024/05/01(水)"));
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), Sj("済"));
  EXPECT_EQ(list.Table().Cell(colUpdated, 1), "20240501100000000");
  EXPECT_EQ(Counts(), "0/1");
  clock.Set(DateTime{Date{2024, 5, 1}, 11, 0, 0, 0});
  ASSERT_TRUE(list.ToggleDone(true));
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), "0");
  EXPECT_EQ(list.Table().Cell(colUpdated, 1), "20240501110000000");
  EXPECT_EQ(Counts(), "1/1");
}

TEST_F(CommandsTest, DoneWithoutFinishedDayChangeKeepsTheDate) {
  Task(7, "next week");
  list.ToggleDone(false);
  EXPECT_EQ(list.Table().Cell(colDueDate, 1), Sj("2024/05/08(水)"));
  list.ToggleDone(false);
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), "7");
}

TEST_F(CommandsTest, DoneDownMovesTheTaskAwayButTheSelectionStaysOnItsLine) {
  list.DoneDown = true;
  for (int i = 0; i < 6; ++i) Task(i, std::string(1, static_cast<char>('a' + i)));
  list.SetTopRow(2);
  list.SetCurrentRow(3);  // "c"
  list.ToggleDone(false);
  EXPECT_EQ(Text(6), "c");
  EXPECT_EQ(list.TopRow(), 2);
  EXPECT_EQ(list.CurrentRow(), 3);
  EXPECT_EQ(Text(3), "d");
  // Marking it not done again: the selection follows the task back.
  list.SetCurrentRow(6);
  list.ToggleDone(false);
  EXPECT_EQ(Text(list.CurrentRow()), "c");
  EXPECT_EQ(list.CurrentRow(), 3);
}

TEST_F(CommandsTest, EditingTheTextDisarmsTheAlarmAndRenewsTheStamp) {
  Task(0, "07:00 wake up");
  list.Table().SetCell(colFlags, 1, "A");
  clock.Set(DateTime{Date{2024, 5, 1}, 12, 0, 0, 0});
  EXPECT_FALSE(list.ChangeText(1, list.Table().Cell(colText, 1)));
  EXPECT_EQ(list.Table().Cell(colFlags, 1), "A");
  EXPECT_TRUE(list.ChangeText(1, Sj("07:00 wake up!")));
  EXPECT_EQ(list.Table().Cell(colFlags, 1), "-");
  EXPECT_EQ(list.Table().Cell(colUpdated, 1), "20240501120000000");
}

TEST_F(CommandsTest, TheAlarmArmsAtTheLeadingTimeAndDisarmsKeepingTheText) {
  // The blank row of an empty list has no time either: the user is told so, nothing is written.
  EXPECT_EQ(list.ToggleAlarm(), TaskList::AlarmToggle::NoTime);
  EXPECT_EQ(list.Table().Cell(colFlags, 1), "");
  EXPECT_EQ(list.Table().RowCount(), 2);
  Task(0, "9:05 wake up");
  Task(0, "wake up");
  // Row 1 is "9:05 wake up" (digits sort first), row 2 "wake up".
  list.SetCurrentRow(2);
  EXPECT_EQ(list.ToggleAlarm(), TaskList::AlarmToggle::NoTime);
  EXPECT_EQ(list.Table().Cell(colFlags, 2), "");
  list.SetCurrentRow(1);
  EXPECT_EQ(list.ToggleAlarm(), TaskList::AlarmToggle::Armed);
  EXPECT_EQ(Text(1), "09:05 wake up");
  EXPECT_EQ(list.Table().Cell(colFlags, 1), "A");
  EXPECT_EQ(list.ToggleAlarm(), TaskList::AlarmToggle::Disarmed);
  EXPECT_EQ(Text(1), "09:05 wake up");
  EXPECT_EQ(list.Table().Cell(colFlags, 1), "-");
}

TEST_F(CommandsTest, ChangingTheDateOfADoneTaskReopensItAndKeepsTheStamp) {
  Task(0, "a");
  Task(2, "b", true);
  list.SetCurrentRow(2);
  const std::string stamp(list.Table().Cell(colUpdated, 2));
  EXPECT_TRUE(list.ChangeDueDate(2, Date{2024, 4, 30}));
  EXPECT_EQ(list.CurrentRow(), 1);  // the picker follows the task to its new place
  EXPECT_EQ(Text(1), "b");
  EXPECT_EQ(list.Table().Cell(colDaysLeft, 1), "-1");
  EXPECT_EQ(list.Table().Cell(colUpdated, 1), stamp);
  EXPECT_EQ(Counts(), "2/2");
}

TEST_F(CommandsTest, APickerReportingTheSameDateChangesNothing) {
  Task(0, "a");
  Task(2, "b", true);
  const TaskRow before = list.Table().RowCopy(2);
  EXPECT_FALSE(list.ChangeDueDate(2, AddDays(clock.Now().date, 2)));
  EXPECT_EQ(list.Table().Row(2), before);  // still done
  EXPECT_EQ(Counts(), "1/2");
  EXPECT_FALSE(list.ChangeDueDate(3, clock.Now().date));  // no task there
}

TEST_F(CommandsTest, AnEditorWritesToTheRowItWasOpenedOnEvenIfAnotherIsCurrent) {
  Task(1, "a");
  Task(2, "b");
  Task(3, "c");
  list.SetCurrentRow(3);
  EXPECT_TRUE(list.ChangeText(1, "a!"));
  EXPECT_EQ(Text(1), "a!");
  EXPECT_EQ(Text(3), "c");
  // A new date moves the task, and the selection goes with it.
  EXPECT_TRUE(list.ChangeDueDate(1, AddDays(clock.Now().date, 5)));
  EXPECT_EQ(Text(1), "b");
  EXPECT_EQ(Text(3), "a!");
  EXPECT_EQ(list.CurrentRow(), 3);
}

// A command that waits for the user holds its task, not its row: whatever moved the rows
// meanwhile, it finds the same task again, and a task changed or deleted meanwhile is gone.
TEST_F(CommandsTest, ATaskIsFoundAgainAfterTheRowsMovedAndNotAfterItChanged) {
  struct Case {
    const char* what;
    std::function<void(TaskList&)> meanwhile;
    const char* foundText;  // null: gone
  } cases[] = {
      {"nothing", [](TaskList&) {}, "c"},
      {"a task added before it", [](TaskList& l) { l.SetCurrentRow(1); l.AddTask(); }, "c"},
      {"another task deleted", [](TaskList& l) { l.SetCurrentRow(1); l.DeleteCurrentTask(); }, "c"},
      {"the next day's sort",
       [this](TaskList& l) {
         clock.Set(DateTime{Date{2024, 5, 2}, 0, 0, 0, 0});
         l.SortTasks(0, false);
       },
       "c"},
      {"blanks the sort trims", [](TaskList& l) { l.Table().SetCell(colText, 3, " c "); }, "c"},
      {"a new stamp", [](TaskList& l) { l.Table().SetCell(colUpdated, 3, "20240501120000000"); }, nullptr},
      {"another attachment", [](TaskList& l) { l.Table().SetCell(colAttachment, 3, "C:\\b.txt"); }, nullptr},
      {"another text", [](TaskList& l) { l.ChangeText(3, "c!"); }, nullptr},
      {"marked done", [](TaskList& l) { l.SetCurrentRow(3); l.ToggleDone(false); }, nullptr},
      {"deleted", [](TaskList& l) { l.SetCurrentRow(3); l.DeleteCurrentTask(); }, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list.Clear();
    clock.Set(DateTime{Date{2024, 5, 1}, 9, 0, 0, 0});
    Task(0, "a");
    Task(1, "b");
    Task(2, "c");
    list.Table().SetCell(colAttachment, 3, "C:\\a.txt");
    const auto task = list.IdentityOf(3);
    ASSERT_TRUE(task);
    c.meanwhile(list);
    const auto row = list.FindTask(*task, 3);
    if (!c.foundText) {
      EXPECT_FALSE(row);
      continue;
    }
    ASSERT_TRUE(row);
    EXPECT_EQ(TrimBlanks(Text(*row)), c.foundText);
  }
  // The blank row is no task; of identical tasks the one where it was is taken.
  list.Clear();
  EXPECT_FALSE(list.IdentityOf(1));
  Task(1, "same");
  Task(1, "same");
  const auto task = list.IdentityOf(2);
  ASSERT_TRUE(task);
  EXPECT_EQ(list.FindTask(*task, 2), 2);
  EXPECT_EQ(list.FindTask(*task), 1);
}

// A date that names no day is kept as it stands, but never handed on to a new task.
TEST_F(CommandsTest, AddBesideATaskWhoseDateNamesNoDayIsDueToday) {
  Task(3, "later");
  list.Table().SetCell(colDueDate, 1, Sj("2027/02/30(火)"));
  list.AddTask();
  EXPECT_EQ(list.Table().Cell(colDueDate, list.CurrentRow()), Sj("2024/05/01(水)"));
  EXPECT_EQ(list.Table().Cell(colDaysLeft, list.CurrentRow()), "0");
}

TEST(SetFlagText, WritesAtAPositionAndPads) {
  struct Case {
    std::string flags;
    std::size_t position;
    const char* text;
    std::string result;
  } cases[] = {
      {"", 1, "A", "A"}, {"-", 1, "A", "A"}, {"A", 1, "-", "-"},   {"AB", 1, "-", "-B"},
      {"", 3, "A", "--A"}, {"A", 3, "X", "A-X"}, {"ABCD", 2, "xy", "AxyD"},
      // A double-byte character written over in part is padded out whole: its other byte
      // ("|" of ポ, "\" of 表) would otherwise stand alone and "|," end the flags field early.
      {Sj("ポ,"), 1, "A", "A-,"}, {Sj("xポ"), 3, "A", "x-A"}, {Sj("表"), 1, "-", "--"}, {Sj("ポ表"), 2, "AB", "-AB-"},
  };
  for (const auto& c : cases) EXPECT_EQ(SetFlagText(c.flags, c.position, c.text), c.result) << c.flags;
}

}  // namespace
}  // namespace lq
