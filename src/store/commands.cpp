// The commands that add, delete, complete and edit tasks, on the current row.
#include <algorithm>

#include "store/alarm.h"
#include "store/tasklist.h"
#include "store/text.h"

namespace lq {

void TaskList::AddTask() {
  if (table_.IsTask(1)) table_.AppendRow();
  std::string due = table_.Cell(colDueDate, currentRow_);
  if (TrimBlanks(due).empty()) due = FormatDueDate(Today());
  const int offset = currentRow_ - topRow_;

  SetCurrentRow(table_.RowCount() - 1);
  TaskRow& row = table_.Row(currentRow_);
  row[colDueDate] = due;
  row[colDaysLeft] = DaysLeft(due, Today()).value_or("0");
  row[colText].clear();
  row[colUpdated] = FormatStamp(clock_.Now());
  row[colAttachment].clear();
  ++NotDoneCount;
  UpdateTaskCounts();
  SortTasks(offset, true);
}

std::string TaskList::DeleteQuestion() const {
  if (!table_.IsTask(currentRow_)) return {};
  std::string q = table_.Cell(colDueDate, currentRow_);
  q += " \x81\x67";  // “
  q += table_.Cell(colText, currentRow_);
  q += "\x81\x68\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7\x81\x42";  // ”を削除します。
  q += "\r\n";
  q += "\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";  // よろしいですか？
  return q;
}

bool TaskList::DeleteCurrentTask() {
  if (!table_.IsTask(currentRow_)) return false;
  if (table_.IsDone(currentRow_)) {
    --DoneCount;
  } else {
    --NotDoneCount;
  }
  const int row = currentRow_;
  table_.RemoveRow(row);
  currentRow_ = std::min(row, table_.RowCount() - 1);
  SetTopRow(topRow_);
  UpdateTaskCounts();
  return true;
}

TaskList::AlarmToggle TaskList::ToggleAlarm() {
  const int row = currentRow_;
  if (!table_.IsTask(row)) return AlarmToggle::NotATask;
  std::string& flags = table_.Cell(colFlags, row);
  if (flags.starts_with("A")) {
    flags = SetFlagText(flags, 1, "-");
    return AlarmToggle::Disarmed;
  }
  std::string normalised = ParseAlarmTime(table_.Cell(colText, row));
  if (normalised.empty()) return AlarmToggle::NoTime;
  table_.Cell(colText, row) = std::move(normalised);
  flags = SetFlagText(flags, 1, "A");
  return AlarmToggle::Armed;
}

bool TaskList::ToggleDone(bool finishedDayChange) {
  if (!table_.IsTask(currentRow_)) return false;
  if (Hooks.hideEditors) Hooks.hideEditors();
  TaskRow& row = table_.Row(currentRow_);
  const bool markDone = !IsDoneMark(row[colDaysLeft]);
  if (markDone) {
    if (finishedDayChange) row[colDueDate] = FormatDueDate(Today());
    row[colDaysLeft] = std::string(kDoneMark);
    --NotDoneCount;
    ++DoneCount;
  } else {
    row[colDaysLeft] = DaysLeft(row[colDueDate], Today()).value_or("0");
    ++NotDoneCount;
    --DoneCount;
  }
  UpdateTaskCounts();
  row[colUpdated] = FormatStamp(clock_.Now());

  const int top = topRow_;
  const int current = currentRow_;
  SortTasks(current - top, false);
  if (markDone) {
    // The list stays put and the selection stays on its line, now on whatever the sort put there.
    SetTopRow(top);
    SetCurrentRow(current);
  }
  return true;
}

bool TaskList::ChangeText(int rowIndex, std::string_view text) {
  if (!table_.IsTask(rowIndex)) return false;
  TaskRow& row = table_.Row(rowIndex);
  if (row[colText] == text) return false;
  // The alarm's time is read from the text, so editing it cancels the alarm.
  if (row[colFlags].starts_with("A")) row[colFlags] = SetFlagText(row[colFlags], 1, "-");
  row[colText] = std::string(text);
  row[colUpdated] = FormatStamp(clock_.Now());
  return true;
}

bool TaskList::ChangeDueDate(int rowIndex, Date date) {
  if (!table_.IsTask(rowIndex)) return false;
  TaskRow& row = table_.Row(rowIndex);
  if (ParseDateText(row[colDueDate]) == date) return false;  // a done task stays done
  if (IsDoneMark(row[colDaysLeft])) {
    --DoneCount;
    ++NotDoneCount;
  }
  row[colDueDate] = FormatDueDate(date);
  row[colDaysLeft] = std::to_string(DayNumber(date) - DayNumber(Today()));
  UpdateTaskCounts();
  if (rowIndex != currentRow_) SetCurrentRow(rowIndex);  // the sort keeps this task selected
  SortTasks(currentRow_ - topRow_, false);
  return true;
}

}  // namespace lq
