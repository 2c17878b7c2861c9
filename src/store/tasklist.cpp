#include "store/tasklist.h"

#include <algorithm>
#include <vector>

#include "store/keyorder.h"
#include "store/text.h"

namespace lq {

void SortKeyMemo::Clear() {
  bytes_.clear();
  entries_.clear();
  usedBytes_ = 0;
}

void SortKeyMemo::Reorder(const std::vector<std::uint32_t>& order) {
  std::vector<Entry> entries;
  entries.reserve(order.size());
  usedBytes_ = 0;
  for (const std::uint32_t i : order) {
    entries.push_back(entries_[i]);
    usedBytes_ += entries.back().plainLength + entries.back().keyLength;
  }
  entries_ = std::move(entries);
}

void SortKeyMemo::Append(const SortKeyMemo& other) {
  for (std::size_t i = 0; i < other.Size(); ++i) Add(other.Plain(i), other.Key(i));
}

void SortKeyMemo::Reserve(std::size_t count, std::size_t bytes) {
  entries_.reserve(count);
  bytes_.reserve(bytes);
}

void SortKeyMemo::Add(std::string_view plain, std::string_view key) {
  entries_.push_back(Entry{bytes_.size(), static_cast<std::uint32_t>(plain.size()), static_cast<std::uint32_t>(key.size())});
  bytes_.append(plain).append(key);
  usedBytes_ += plain.size() + key.size();
}

void SortKeyMemo::Add(std::string_view plain, const Collation& collation) {
  const std::size_t offset = bytes_.size();
  bytes_.append(plain);
  collation.AppendSortKey(plain, bytes_);
  entries_.push_back(Entry{offset, static_cast<std::uint32_t>(plain.size()),
                           static_cast<std::uint32_t>(bytes_.size() - offset - plain.size())});
  usedBytes_ += bytes_.size() - offset;
}

std::vector<std::string_view> Views(std::string_view bytes, const std::vector<std::size_t>& ends) {
  std::vector<std::string_view> views;
  views.reserve(ends.size());
  std::size_t begin = 0;
  for (const std::size_t end : ends) {
    views.push_back(bytes.substr(begin, end - begin));
    begin = end;
  }
  return views;
}

void SortKeyMemo::AddMany(const std::vector<std::string_view>& plains, const Collation& collation) {
  std::string keys;
  std::vector<std::size_t> ends;
  collation.AppendSortKeys(plains, keys, ends);
  std::size_t begin = 0;
  for (std::size_t i = 0; i < plains.size(); ++i) {
    Add(plains[i], std::string_view(keys).substr(begin, ends[i] - begin));
    begin = ends[i];
  }
}

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
  keyMemo_.Clear();
  NotDoneCount = 0;
  DoneCount = 0;
  currentRow_ = 1;
  topRow_ = 1;
}

// A key goes before every equal key already placed, so one pass turns runs of equal keys
// around; mode 1 then moves the done tasks after the open ones.
void TaskList::SortRows(int mode) { Reorder(true, mode == 1); }

void TaskList::Reorder(bool equalKeysReversed, bool doneLast) {
  // One pass over the rows before they move: close gaps, trim the texts, recompute the days
  // left and see which rows still have the key of the last sort (due date, ",", text), so a
  // long list is walked as few times as possible.
  std::vector<bool> done;
  done.reserve(static_cast<std::size_t>(table_.RowCount()));
  std::vector<std::uint32_t> changed;  // rows whose key must be made
  const Date today = Today();
  int count = 0;
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (!table_.IsTask(r)) continue;
    ++count;
    if (r != count) table_.Row(count) = std::move(table_.Row(r));
    TaskRow& row = table_.Row(count);
    const std::string_view trimmed = TrimBlanks(row[colText]);
    if (trimmed.size() != row[colText].size()) row[colText] = std::string(trimmed);
    const bool isDone = IsDoneMark(row[colDaysLeft]);
    if (!isDone) {
      if (auto days = DaysLeft(row[colDueDate], today)) row[colDaysLeft] = std::move(*days);
    }
    done.push_back(isDone);
    const std::size_t i = static_cast<std::size_t>(count - 1);
    const std::string_view date = row[colDueDate];
    const std::string_view text = row[colText];
    bool same = false;
    if (i < keyMemo_.Size()) {  // the key depends on nothing else
      const std::string_view old = keyMemo_.Plain(i);
      same = old.size() == date.size() + 1 + text.size() && old.starts_with(date) && old[date.size()] == ',' &&
             old.substr(date.size() + 1) == text;
    }
    if (!same) changed.push_back(static_cast<std::uint32_t>(i));
  }
  for (int r = count + 1; r < table_.RowCount(); ++r) table_.Row(r) = TaskRow{};

  // The changed rows' keys are added after the kept ones (their old keys stay unused until the
  // memo is written anew), so every key is read from one buffer.
  std::vector<std::uint32_t> at(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < at.size(); ++i) at[i] = static_cast<std::uint32_t>(i);
  if (!changed.empty()) {
    if (keyMemo_.Size() > at.size()) {
      std::vector<std::uint32_t> first(at.begin(), at.end());
      keyMemo_.Reorder(first);
    }
    std::string plainBytes;
    std::vector<std::size_t> plainEnds;
    for (const std::uint32_t i : changed) {
      const TaskRow& row = table_.Row(static_cast<int>(i) + 1);
      plainBytes.append(row[colDueDate]).append(",").append(row[colText]);
      plainEnds.push_back(plainBytes.size());
      at[i] = static_cast<std::uint32_t>(keyMemo_.Size() + plainEnds.size() - 1);
    }
    keyMemo_.AddMany(Views(plainBytes, plainEnds), collation_);
  }

  KeyOrder keys(collation_);
  keys.Reserve(at.size());
  for (const std::uint32_t i : at) keys.AddKey(keyMemo_.Key(i));  // the memo stays put meanwhile
  const std::vector<std::uint32_t> order = keys.Sorted(equalKeysReversed);
  std::vector<int> rows;
  rows.reserve(order.size());
  for (const std::uint32_t i : order) {
    if (!doneLast || !done[i]) rows.push_back(static_cast<int>(i) + 1);
  }
  if (doneLast) {
    for (const std::uint32_t i : order) {
      if (done[i]) rows.push_back(static_cast<int>(i) + 1);
    }
  }
  table_.PermuteRows(rows);
  std::vector<std::uint32_t> entries;
  entries.reserve(rows.size());
  for (const int from : rows) entries.push_back(at[static_cast<std::size_t>(from - 1)]);
  keyMemo_.Reorder(entries);
  // Written anew in row order: the next sort then reads the keys front to back.
  SortKeyMemo compact;
  compact.Reserve(keyMemo_.Size(), keyMemo_.Bytes() - keyMemo_.UnusedBytes());
  compact.Append(keyMemo_);
  keyMemo_ = std::move(compact);
}

void TaskList::SortTasks(int offset, bool openEditor) {
  if (offset < 0) offset = 0;
  const TaskRow remembered = table_.Row(currentRow_);
  if (Hooks.hideEditors) Hooks.hideEditors();

  // SortRows(2) then SortRows(1) (or 0): the two reversals cancel, so equal keys keep their
  // order; done last with DoneDown.
  Reorder(false, DoneDown);

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
