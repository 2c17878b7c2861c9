// The commands that add, delete, complete and edit tasks, on the current row.
#include <algorithm>

#include "store/alarm.h"
#include "store/repeat.h"
#include "store/tasklist.h"
#include "store/text.h"

namespace lq {

void TaskList::AddTask() {
  StepRecorder step(*this, StepKind::Add);
  if (table_.IsTask(1)) table_.AppendRow();
  std::string due(table_.Cell(colDueDate, currentRow_));
  // A date that names no day (a hand-edited 2027/02/30) is not handed on: the new task is due today.
  if (!ParseDateText(due)) due = FormatDueDate(Today());
  const int offset = currentRow_ - topRow_;

  SetCurrentRow(table_.RowCount() - 1);
  const int row = currentRow_;
  step.Added(row);
  table_.SetCell(colDueDate, row, due);
  table_.SetCell(colDaysLeft, row, DaysLeft(due, Today()).value_or("0"));
  table_.SetCell(colText, row, {});
  table_.SetCell(colUpdated, row, FormatStamp(clock_.Now()));
  table_.SetCell(colAttachment, row, {});
  ++NotDoneCount;
  UpdateTaskCounts();
  SortTasks(offset, true);
}

std::string TaskList::DeleteQuestion() const {
  if (!table_.IsTask(currentRow_)) return {};
  std::string q(table_.Cell(colDueDate, currentRow_));
  q += " \x81\x67";  // “
  q += table_.Cell(colText, currentRow_);
  q += "\x81\x68\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7\x81\x42";  // ”を削除します。
  q += "\r\n";
  q += "\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";  // よろしいですか？
  return q;
}

bool TaskList::DeleteCurrentTask() {
  if (!table_.IsTask(currentRow_)) return false;
  const int row = currentRow_;
  StepRecorder step(*this, StepKind::Delete);
  step.Touch(row);
  if (table_.IsDone(currentRow_)) {
    --DoneCount;
  } else {
    --NotDoneCount;
  }
  table_.RemoveRow(row);
  step.Removed(row);
  currentRow_ = std::min(row, table_.RowCount() - 1);
  SetTopRow(topRow_);
  UpdateTaskCounts();
  return true;
}

TaskList::AlarmToggle TaskList::ToggleAlarm() {
  const int row = currentRow_;
  if (!table_.IsTask(row)) return AlarmToggle::NoTime;  // the blank row: no text, so no time
  const std::string_view flags = table_.Cell(colFlags, row);
  if (flags.starts_with("A")) {
    StepRecorder step(*this, StepKind::AlarmOff);
    step.Touch(row);
    table_.SetCell(colFlags, row, SetFlagText(flags, 1, "-"));
    return AlarmToggle::Disarmed;
  }
  const std::string normalised = ParseAlarmTime(table_.Cell(colText, row));
  if (normalised.empty()) return AlarmToggle::NoTime;
  StepRecorder step(*this, StepKind::AlarmOn);
  step.Touch(row);
  table_.SetCell(colText, row, normalised);
  table_.SetCell(colFlags, row, SetFlagText(table_.Cell(colFlags, row), 1, "A"));
  return AlarmToggle::Armed;
}

bool TaskList::ToggleDone(bool finishedDayChange) {
  if (!table_.IsTask(currentRow_)) return false;
  if (Hooks.hideEditors) Hooks.hideEditors();
  const int row = currentRow_;
  const bool markDone = !table_.IsDone(row);
  StepRecorder step(*this, markDone ? StepKind::Done : StepKind::NotDone);
  step.Touch(row);
  if (markDone) {
    // The next task of a repeating one follows from the date it had before it was done.
    AddNextRepetition(row);
    if (finishedDayChange) table_.SetCell(colDueDate, row, FormatDueDate(Today()));
    table_.SetCell(colDaysLeft, row, kDoneMark);
    --NotDoneCount;
    ++DoneCount;
  } else {
    table_.SetCell(colDaysLeft, row, DaysLeft(table_.Cell(colDueDate, row), Today()).value_or("0"));
    ++NotDoneCount;
    --DoneCount;
  }
  UpdateTaskCounts();
  table_.SetCell(colUpdated, row, FormatStamp(clock_.Now()));

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

void TaskList::AddNextRepetition(int row) {
  const std::string_view flags = table_.Cell(colFlags, row);
  const Repetition repetition = RepetitionOf(flags);
  if (repetition.kind == Repeat::None) return;
  // A date that names no day (a hand-edited 2027/02/30) gives the series no start: it goes on from today.
  const Date due = ParseDateText(table_.Cell(colDueDate, row)).value_or(Today());
  const int day = SeriesDay(repetition, due);
  const auto next = NextDueDate(repetition.kind, due, day, Today());
  if (!next) return;

  TaskRow copy;
  copy[colDueDate] = FormatDueDate(*next);
  copy[colDaysLeft] = DaysLeft(copy[colDueDate], Today()).value_or("0");
  copy[colText] = TrimBlanks(table_.Cell(colText, row));
  copy[colUpdated] = FormatStamp(clock_.Now());
  copy[colAttachment] = table_.Cell(colAttachment, row);
  // The alarm flag and the repetition; what follows them describes the task it was copied from.
  copy[colFlags] = {flags.starts_with("A") ? 'A' : '-', RepeatCode(repetition.kind, *next, day)};
  table_.AppendRow();  // the list holds a task already: this one
  table_.SetRow(table_.RowCount() - 1, RowView(copy));
  RowAdded(table_.RowCount() - 1);  // an undo of the done takes the copy back too
  ++NotDoneCount;
}

bool TaskList::SetRepeat(Repeat kind) {
  const int row = currentRow_;
  if (!table_.IsTask(row)) return false;
  const std::string_view flags = table_.Cell(colFlags, row);
  // Choosing the repetition a task has already keeps the day its series keeps.
  if (RepetitionOf(flags).kind == kind) return false;
  StepRecorder step(*this, StepKind::Repeat);
  step.Touch(row);
  table_.SetCell(colFlags, row, WithRepeat(table_.Cell(colFlags, row), kind));
  return true;
}

bool TaskList::ChangeText(int rowIndex, std::string_view text) {
  if (!table_.IsTask(rowIndex)) return false;
  if (table_.Cell(colText, rowIndex) == text) return false;
  StepRecorder step(*this, StepKind::Text);
  step.Touch(rowIndex);
  // The alarm's time is read from the text, so editing it cancels the alarm.
  const std::string_view flags = table_.Cell(colFlags, rowIndex);
  if (flags.starts_with("A")) table_.SetCell(colFlags, rowIndex, SetFlagText(flags, 1, "-"));
  table_.SetCell(colText, rowIndex, text);
  table_.SetCell(colUpdated, rowIndex, FormatStamp(clock_.Now()));
  return true;
}

bool TaskList::ChangeDueDate(int rowIndex, Date date) {
  if (!table_.IsTask(rowIndex)) return false;
  if (ParseDateText(table_.Cell(colDueDate, rowIndex)) == date) return false;  // a done task stays done
  StepRecorder step(*this, StepKind::DueDate);
  step.Touch(rowIndex);
  if (table_.IsDone(rowIndex)) {
    --DoneCount;
    ++NotDoneCount;
  }
  table_.SetCell(colDueDate, rowIndex, FormatDueDate(date));
  table_.SetCell(colDaysLeft, rowIndex, std::to_string(DayNumber(date) - DayNumber(Today())));
  // A date chosen by hand starts the series anew, on its own day.
  const std::string_view flags = table_.Cell(colFlags, rowIndex);
  if (const Repetition r = RepetitionOf(flags); r.keptDay != 0) table_.SetCell(colFlags, rowIndex, WithRepeat(flags, r.kind));
  UpdateTaskCounts();
  if (rowIndex != currentRow_) SetCurrentRow(rowIndex);  // the sort keeps this task selected
  SortTasks(currentRow_ - topRow_, false);
  return true;
}

}  // namespace lq
