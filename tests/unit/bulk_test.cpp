#include <gtest/gtest.h>

#include "fakes.h"
#include "sjis.h"
#include "store/bulk.h"
#include "store/text.h"

namespace lq {
namespace {

using testing::Sj;
using testing::Utf8;

// Today is 2024/03/15 (Friday).
class BulkTest : public ::testing::Test {
 protected:
  BulkTest() : list(clock, collation) {
    list.SetVisibleRowCount(20);
    list.Hooks.openTextEditor = [this] { ++opened; };
    list.UpdateTaskCounts();
  }

  struct Row {
    const char* date;
    const char* text;
    bool done;
  };
  // The rows in the order given, each with a stamp of its own; then sorted as the program
  // keeps them.
  void Fill(std::initializer_list<Row> rows) {
    TaskTable& t = list.Table();
    t.ClearTasks();
    t.SetRowCount(static_cast<int>(rows.size()) + 1);
    list.NotDoneCount = list.DoneCount = 0;
    int r = 1;
    for (const Row& row : rows) {
      t.SetCell(colDueDate, r, Sj(row.date));
      t.SetCell(colDaysLeft, r, row.done ? std::string(kDoneMark) : *DaysLeft(Sj(row.date), clock.Now().date));
      t.SetCell(colText, r, row.text);
      t.SetCell(colUpdated, r, "2024010100000000" + std::to_string(r % 10));
      t.SetCell(colFlags, r, "-");
      (row.done ? list.DoneCount : list.NotDoneCount)++;
      ++r;
    }
    list.UpdateTaskCounts();
    list.SortTasks(0, false);
  }
  std::string Texts() const {
    std::string out;
    for (int r = 1; r < list.Table().RowCount(); ++r) out.append(list.Table().Cell(colText, r)).append(" ");
    return out;
  }
  int RowOf(const std::string& text) const {
    for (int r = 1; r < list.Table().RowCount(); ++r) {
      if (list.Table().Cell(colText, r) == text) return r;
    }
    return -1;
  }
  std::string Cell(int col, const std::string& text) const { return std::string(list.Table().Cell(col, RowOf(text))); }

  testing::FakeClock clock;
  ByteCollation collation;
  TaskList list;
  int opened = 0;
};

TEST_F(BulkTest, ThePickersStartFromTheRowsDateOrToday) {
  Fill({{"2024/04/01(月)", "a", false}, {"2024/02/30(金)", "hand-made", false}});
  const Date today = clock.Now().date;
  EXPECT_EQ(PickerDateOf(list.Table(), RowOf("a"), today), (Date{2024, 4, 1}));
  EXPECT_EQ(PickerDateOf(list.Table(), RowOf("hand-made"), today), today);
  list.Table().ClearTasks();
  EXPECT_EQ(PickerDateOf(list.Table(), 1, today), today);
}

TEST_F(BulkTest, OnlyTheOpenTasksOfTheSourceDayMove) {
  Fill({{"2024/03/15(金)", "a", false},
        {"2024/03/15(金)", "b", false},
        {"2024/03/15(金)", "c", false},
        {"2024/03/15(金)", "done", true},
        {"2024/03/16(土)", "other day", false}});
  const std::string stampOfB = Cell(colUpdated, "b");
  list.SetCurrentRow(RowOf("b"));

  EXPECT_EQ(MoveOpenTasks(list, Date{2024, 3, 15}, Date{2024, 3, 20}), 3);
  for (const char* t : {"a", "b", "c"}) {
    EXPECT_EQ(Cell(colDueDate, t), Sj("2024/03/20(水)")) << t;
    EXPECT_EQ(Cell(colDaysLeft, t), "5") << t;
  }
  EXPECT_EQ(Cell(colUpdated, "b"), stampOfB);
  EXPECT_EQ(Cell(colDueDate, "done"), Sj("2024/03/15(金)"));
  EXPECT_EQ(Cell(colDueDate, "other day"), Sj("2024/03/16(土)"));
  EXPECT_EQ(Texts(), "other day a b c done ");  // sorted, done last
  EXPECT_EQ(list.CurrentRow(), RowOf("b"));   // the selection followed its task
  EXPECT_EQ(list.Table().Cell(colDueDate, 0), "4/5");
  EXPECT_EQ(opened, 0);

  // Into the past the days left turn negative; onto the same day they are worked out again.
  EXPECT_EQ(MoveOpenTasks(list, Date{2024, 3, 20}, Date{2024, 3, 13}), 3);
  EXPECT_EQ(Cell(colDaysLeft, "a"), "-2");
  list.Table().SetCell(colDaysLeft, RowOf("a"), "99");
  EXPECT_EQ(MoveOpenTasks(list, Date{2024, 3, 13}, Date{2024, 3, 13}), 3);
  EXPECT_EQ(Cell(colDaysLeft, "a"), "-2");
  // A day without open tasks changes nothing.
  EXPECT_EQ(MoveOpenTasks(list, Date{2024, 3, 15}, Date{2024, 3, 1}), 0);
  EXPECT_EQ(Cell(colDueDate, "done"), Sj("2024/03/15(金)"));
}

TEST_F(BulkTest, DeleteTakesTheTasksUpToTheDayAndKeepsTheCounters) {
  struct Case {
    Date limit;
    bool doneOnly;
    const char* left;
    const char* counts;
  };
  const Case cases[] = {
      {{2024, 3, 15}, true, "a c e f ", "3/4"},  // the limit day itself is included
      {{2024, 3, 15}, false, "e f ", "1/2"},
      {{2024, 3, 9}, false, "a c e b d f ", "3/6"},
      {{9999, 12, 31}, false, " ", "0/0"},     // everything: one empty row is left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.counts);
    Fill({{"2024/03/10(日)", "a", false},
          {"2024/03/10(日)", "b", true},
          {"2024/03/15(金)", "c", false},
          {"2024/03/15(金)", "d", true},
          {"2024/03/16(土)", "e", false},
          {"2024/03/16(土)", "f", true}});
    const int expected = CountDeletedUpTo(list.Table(), c.limit, c.doneOnly);
    EXPECT_EQ(DeleteUpTo(list, c.limit, c.doneOnly), expected);
    EXPECT_EQ(Texts(), c.left);
    EXPECT_EQ(list.Table().Cell(colDueDate, 0), c.counts);
    EXPECT_GE(list.Table().RowCount(), 2);
    EXPECT_LT(list.CurrentRow(), list.Table().RowCount());
  }
  // The empty list's blank row is never taken.
  EXPECT_EQ(DeleteUpTo(list, Date{9999, 12, 31}, false), 0);
  EXPECT_EQ(list.Table().RowCount(), 2);
  EXPECT_EQ(opened, 0);
}

TEST_F(BulkTest, TheCurrentTaskKeepsItsLineOrTheSelectionStaysInTheList) {
  // Twelve tasks, four visible: "keep" is current two lines below the top row.
  Fill({{"2024/03/01(金)", "old1", false}, {"2024/03/02(土)", "old2", false}, {"2024/03/03(日)", "old3", false},
        {"2024/03/20(水)", "n1", false},   {"2024/03/21(木)", "n2", false},   {"2024/03/22(金)", "n3", false},
        {"2024/03/23(土)", "n4", false},   {"2024/03/24(日)", "n5", false},   {"2024/03/25(月)", "keep", false},
        {"2024/03/26(火)", "n6", false},   {"2024/03/27(水)", "n7", false},   {"2024/03/28(木)", "n8", false}});
  list.SetVisibleRowCount(4);
  list.SetTopRow(7);
  list.SetCurrentRow(9);
  ASSERT_EQ(list.TopRow(), 7);
  EXPECT_EQ(DeleteUpTo(list, Date{2024, 3, 3}, false), 3);
  EXPECT_EQ(list.CurrentRow(), 6);
  EXPECT_EQ(list.Table().Cell(colText, 6), "keep");
  EXPECT_EQ(list.TopRow(), 4);

  // The current task itself goes: the row index stays inside the shorter list.
  list.SetTopRow(5);
  list.SetCurrentRow(8);  // "n7"
  EXPECT_EQ(DeleteUpTo(list, Date{2024, 3, 28}, false), 9);
  EXPECT_EQ(list.CurrentRow(), 1);
  EXPECT_EQ(list.TopRow(), 1);
  EXPECT_EQ(list.Table().Cell(colDueDate, 0), "0/0");
}

}  // namespace
}  // namespace lq
