#include "store/tasklist.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "store/text.h"

namespace lq {

TaskList::TaskList(const Clock& clock, const Collation& collation) : clock_(clock), collation_(collation) {
  table_.SetHeaderCaptions();
}

int TaskList::MaxTopRow() const {
  const int visible = visibleRowCount_ < 1 ? 1 : visibleRowCount_;
  return std::max(1, table_.RowCount() - visible);
}

void TaskList::SetTopRow(int row) { topRow_ = std::clamp(row, 1, MaxTopRow()); }

void TaskList::SetCurrentRow(int row) {
  currentRow_ = std::clamp(row, 1, table_.RowCount() - 1);
  const int visible = visibleRowCount_ < 1 ? 1 : visibleRowCount_;
  if (currentRow_ < topRow_) {
    SetTopRow(currentRow_);
  } else if (currentRow_ > topRow_ + visible - 1) {
    SetTopRow(currentRow_ - visible + 1);
  }
}

void TaskList::SetVisibleRowCount(int count) {
  visibleRowCount_ = count;
  SetTopRow(topRow_);
}

void TaskList::UpdateTaskCounts() {
  table_.Cell(colDueDate, 0) = std::to_string(NotDoneCount) + "/" + std::to_string(NotDoneCount + DoneCount);
}

void TaskList::Clear() {
  table_.ClearTasks();
  NotDoneCount = 0;
  DoneCount = 0;
  currentRow_ = 1;
  topRow_ = 1;
}

void TaskList::SortRows(int mode) { SortRowsPasses({mode}); }

void TaskList::SortRowsPasses(std::initializer_list<int> modes) {
  struct Entry {
    std::string key;   // collation key of "date,text"
    std::string text;  // the text without its surrounding blanks
    bool done;
    TaskRow row;
  };
  std::vector<Entry> entries;
  entries.reserve(static_cast<std::size_t>(table_.RowCount()));
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (!table_.IsTask(r)) continue;
    TaskRow& row = table_.Row(r);
    Entry e;
    e.text = std::string(TrimBlanks(row[colText]));
    std::string plain;
    plain.reserve(row[colDueDate].size() + 1 + e.text.size());
    plain.append(row[colDueDate]).append(",").append(e.text);
    e.key = collation_.SortKey(plain);
    e.done = IsDoneMark(row[colDaysLeft]);
    e.row = std::move(row);
    entries.push_back(std::move(e));
  }

  // order[i] is the entry at position i. A key goes before every equal key already placed,
  // so each pass turns runs of equal keys around; two passes give the old order back.
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::vector<std::size_t> position(entries.size());
  for (const int mode : modes) {
    for (std::size_t i = 0; i < order.size(); ++i) position[order[i]] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      const int c = entries[a].key.compare(entries[b].key);
      return c != 0 ? c < 0 : position[a] > position[b];
    });
    if (mode == 1) {
      std::stable_partition(order.begin(), order.end(), [&](std::size_t i) { return !entries[i].done; });
    }
  }

  const Date today = Today();
  int r = 1;
  for (const std::size_t i : order) {
    Entry& e = entries[i];
    TaskRow& row = table_.Row(r++);
    row = std::move(e.row);
    row[colText] = std::move(e.text);
    if (e.done) {
      row[colDaysLeft] = std::string(kDoneMark);
    } else if (auto days = DaysLeft(row[colDueDate], today)) {
      row[colDaysLeft] = std::move(*days);
    }
  }
  // Rows that held no task keep none (they can only trail the tasks).
  for (; r < table_.RowCount(); ++r) table_.Row(r) = TaskRow{};
}

void TaskList::SortTasks(int offset, bool openEditor) {
  if (offset < 0) offset = 0;
  const TaskRow remembered = table_.Row(currentRow_);
  if (Hooks.hideEditors) Hooks.hideEditors();

  if (DoneDown) {
    SortRowsPasses({2, 1});
  } else {
    SortRowsPasses({2, 0});
  }

  // Among identical rows the one nearest the end is taken.
  for (int r = table_.RowCount() - 1; r >= 1; --r) {
    if (table_.Row(r) == remembered) {
      SetCurrentRow(r);
      if (table_.RowCount() - 1 > visibleRowCount_) SetTopRow(std::max(1, r - offset));
      break;
    }
  }
  if (openEditor && Hooks.openTextEditor) Hooks.openTextEditor();
}

}  // namespace lq
