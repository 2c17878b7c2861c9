#include "store/bulk.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/prefetch.h"
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
    if (r + kPrefetchAhead < t.RowCount()) t.PrefetchTexts(r + kPrefetchAhead);
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
  const std::vector<bool> gone = RowsDeletedUpTo(table, limit, doneOnly);
  return static_cast<int>(std::count(gone.begin(), gone.end(), true));
}

std::vector<bool> RowsDeletedUpTo(const TaskTable& table, Date limit, bool doneOnly) {
  const std::string limitText = LimitText(limit);
  std::vector<bool> gone(static_cast<std::size_t>(table.RowCount()), false);
  for (int r = 1; r < table.RowCount(); ++r) {
    // A long list's texts lie in the order they were read, not the rows': asked for ahead,
    // they arrive while earlier rows are compared.
    if (r + kPrefetchAhead < table.RowCount()) table.PrefetchTexts(r + kPrefetchAhead);
    gone[static_cast<std::size_t>(r)] = DeletedUpToText(table, r, limitText, doneOnly);
  }
  return gone;
}

int DeleteUpTo(TaskList& list, Date limit, bool doneOnly) {
  return DeleteRows(list, RowsDeletedUpTo(list.Table(), limit, doneOnly));
}

int DeleteRows(TaskList& list, const std::vector<bool>& gone) {
  TaskTable& t = list.Table();
  if (gone.size() != static_cast<std::size_t>(t.RowCount())) return 0;  // marked on another list
  // The task is found again by everything but its flags.
  constexpr std::array<int, 5> kCompared{colDaysLeft, colDueDate, colText, colUpdated, colAttachment};
  const TaskRow remembered = t.RowCopy(list.CurrentRow());
  const int offset = list.CurrentRow() - list.TopRow();
  StepRecorder step(list, StepKind::BulkDelete);
  step.FocusOnCurrent();

  // The rows go in one pass: removed one by one, a long list's rows would move once for each.
  int deleted = 0;
  for (int r = 1; r < t.RowCount(); ++r) {
    if (r + kPrefetchAhead < t.RowCount() && gone[static_cast<std::size_t>(r + kPrefetchAhead)]) {
      t.PrefetchTexts(r + kPrefetchAhead);
    }
    if (!gone[static_cast<std::size_t>(r)]) continue;
    if (t.IsDone(r)) {
      --list.DoneCount;
    } else {
      --list.NotDoneCount;
    }
    step.Touch(r);
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
