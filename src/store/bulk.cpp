#include "store/bulk.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/text.h"

namespace lq {

Date PickerDateOf(const TaskTable& table, int row, Date today) {
  if (row < 1 || row >= table.RowCount() || table.Cell(colDueDate, row).empty()) return today;
  return ParseDateText(table.Cell(colDueDate, row)).value_or(today);
}

int MoveOpenTasks(TaskList& list, Date from, Date to) {
  const std::string fromText = FormatDueDate(from);
  const std::string toText = FormatDueDate(to);
  const std::string days = std::to_string(DayNumber(to) - DayNumber(list.Today()));
  TaskTable& t = list.Table();
  StepRecorder step(list, StepKind::MoveDate);
  step.FocusOnCurrent();
  int moved = 0;
  for (int r = 1; r < t.RowCount(); ++r) {
    if (t.Cell(colDueDate, r) != fromText || t.IsDone(r)) continue;
    step.Touch(r);
    t.SetCell(colDueDate, r, toText);
    t.SetCell(colDaysLeft, r, days);
    ++moved;
  }
  list.SortTasks(list.CurrentRow() - list.TopRow(), false);
  step.SetCount(moved);
  return moved;
}

namespace {

// Year, month and day have fixed widths, so the texts order like the dates.
std::string LimitText(Date limit) { return FormatDueDate(limit).substr(0, 10); }

bool DeletedUpToText(const TaskTable& table, int row, std::string_view limitText, bool doneOnly) {
  if (!table.IsTask(row)) return false;
  if (std::string_view(table.Cell(colDueDate, row)).substr(0, 10) > limitText) return false;
  return !doneOnly || table.IsDone(row);
}

}  // namespace

bool DeletedUpTo(const TaskTable& table, int row, Date limit, bool doneOnly) {
  return DeletedUpToText(table, row, LimitText(limit), doneOnly);
}

int CountDeletedUpTo(const TaskTable& table, Date limit, bool doneOnly) {
  const std::string limitText = LimitText(limit);
  int n = 0;
  for (int r = 1; r < table.RowCount(); ++r) n += DeletedUpToText(table, r, limitText, doneOnly) ? 1 : 0;
  return n;
}

int DeleteUpTo(TaskList& list, Date limit, bool doneOnly) {
  TaskTable& t = list.Table();
  // The task is found again by everything but its flags.
  constexpr std::array<int, 5> kCompared{colDaysLeft, colDueDate, colText, colUpdated, colAttachment};
  const TaskRow remembered = t.RowCopy(list.CurrentRow());
  const int offset = list.CurrentRow() - list.TopRow();
  StepRecorder step(list, StepKind::BulkDelete);
  step.FocusOnCurrent();

  // The rows go in one pass: removed one by one, a long list's rows would move once for each.
  std::vector<bool> gone(static_cast<std::size_t>(t.RowCount()), false);
  const std::string limitText = LimitText(limit);
  int deleted = 0;
  for (int r = 1; r < t.RowCount(); ++r) {
    if (!DeletedUpToText(t, r, limitText, doneOnly)) continue;
    if (t.IsDone(r)) {
      --list.DoneCount;
    } else {
      --list.NotDoneCount;
    }
    step.Touch(r);
    gone[static_cast<std::size_t>(r)] = true;
    ++deleted;
  }
  t.RemoveRows(gone);
  step.RemovedRows(gone);
  step.SetCount(deleted);

  const auto isRemembered = [&](int r) {
    return std::all_of(kCompared.begin(), kCompared.end(),
                       [&](int c) { return t.Cell(c, r) == remembered[static_cast<std::size_t>(c)]; });
  };
  int found = t.RowCount() - 1;
  while (found >= 1 && !isRemembered(found)) --found;
  if (found >= 1) {
    list.SetCurrentRow(found);
    if (t.RowCount() - 1 > list.VisibleRowCount()) list.SetTopRow(std::max(1, found - offset));
  } else {
    // It went: the selection stays where the deletions left it, inside the shortened list.
    list.SetCurrentRow(list.CurrentRow());
    list.SetTopRow(list.TopRow());
  }
  list.UpdateTaskCounts();
  list.SortTasks(list.CurrentRow() - list.TopRow(), false);
  return deleted;
}

}  // namespace lq
