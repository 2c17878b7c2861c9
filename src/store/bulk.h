#pragma once
// The commands that change many tasks at once: moving every open task of one day to another
// day, and deleting every task up to a day.

#include <vector>

#include "store/datetext.h"
#include "store/tasklist.h"
#include "store/tasktable.h"

namespace lq {

// The date the dialogs' pickers start from: the row's due date, or today for the blank row
// (and for a date a hand-edited file got wrong).
Date PickerDateOf(const TaskTable& table, int row, Date today);

// Every open task due on `from` gets the due date `to` and its days left; stamps and every
// other cell stay, done tasks stay on their date. Then the list is sorted with the current
// task kept on its line. The number of tasks moved.
int MoveOpenTasks(TaskList& list, Date from, Date to);

// Whether the bulk delete up to `limit` takes the row: a task due on or before that day, and
// with `doneOnly` a done one.
bool DeletedUpTo(const TaskTable& table, int row, Date limit, bool doneOnly);
int CountDeletedUpTo(const TaskTable& table, Date limit, bool doneOnly);
// Those rows, marked in one walk (an entry for every row), for a caller that must do
// something before they go and would otherwise walk the list twice.
std::vector<bool> RowsDeletedUpTo(const TaskTable& table, Date limit, bool doneOnly);

// Deletes those rows from the last one up, keeps the counters, selects the task that was
// current again at the same distance from the top (or, when it went, leaves the selection in
// the shortened list) and sorts. The number of tasks deleted.
int DeleteUpTo(TaskList& list, Date limit, bool doneOnly);
// The same for the rows RowsDeletedUpTo marked, the list unchanged since.
int DeleteRows(TaskList& list, const std::vector<bool>& gone);

}  // namespace lq
