#include "store/tasklist.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "store/keyorder.h"
#include "store/prefetch.h"
#include "store/text.h"

namespace lq {

void SortKeyMemo::Clear() {
  bytes_.clear();
  entries_.clear();
}

void SortKeyMemo::Reserve(std::size_t count, std::size_t bytes) {
  entries_.reserve(count);
  bytes_.reserve(bytes);
}

SortKeyMemo::Entry SortKeyMemo::EntryFrom(std::size_t offset) const {
  if (bytes_.size() > UINT32_MAX) throw std::length_error("sort keys too long");
  return Entry{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(bytes_.size() - offset)};
}

std::uint32_t SortKeyMemo::AddKey(std::string_view key) {
  const std::size_t offset = bytes_.size();
  bytes_.append(key);
  entries_.push_back(EntryFrom(offset));
  return static_cast<std::uint32_t>(entries_.size() - 1);
}

std::uint32_t SortKeyMemo::Add(std::string_view plain, const Collation& collation) {
  const std::size_t offset = bytes_.size();
  collation.AppendSortKey(plain, bytes_);
  entries_.push_back(EntryFrom(offset));
  return static_cast<std::uint32_t>(entries_.size() - 1);
}

std::uint32_t SortKeyMemo::Share(std::uint32_t i) {
  entries_.push_back(entries_[i]);
  return static_cast<std::uint32_t>(entries_.size() - 1);
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

std::optional<TaskIdentity> TaskList::IdentityOf(int row) const {
  if (!table_.IsTask(row)) return std::nullopt;
  const TaskIdentityView id = IdentityView(table_.Row(row));
  return TaskIdentity{std::string(id.stamp),      std::string(id.dueDate), std::string(id.text),
                      std::string(id.attachment), std::string(id.flags),   id.done};
}

std::optional<int> TaskList::FindTask(const TaskIdentity& task, int near) const {
  const TaskIdentityView wanted = task.View();
  const auto holds = [&](int row) { return table_.IsTask(row) && IdentityView(table_.Row(row)) == wanted; };
  if (holds(near)) return near;
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (holds(r)) return r;
  }
  return std::nullopt;
}

void TaskList::UpdateTaskCounts() {
  table_.SetCell(colDueDate, 0, std::to_string(NotDoneCount) + "/" + std::to_string(NotDoneCount + DoneCount));
}

void TaskList::Clear() {
  table_.ClearTasks();
  keyMemo_.Clear();
  ClearHistory();
  NotDoneCount = 0;
  DoneCount = 0;
  currentRow_ = 1;
  topRow_ = 1;
}

// A key goes before every equal key already placed, so one pass turns runs of equal keys
// around; mode 1 then moves the done tasks after the open ones.
void TaskList::SortRows(int mode) { Reorder(true, mode == 1); }

int TaskList::Reorder(bool equalKeysReversed, bool doneLast, int follow) {
  // One pass over the rows before they move: close gaps, trim the texts, recompute the days
  // left and see which rows still have the key of the last sort (due date, ",", text), so a
  // long list is walked as few times as possible.
  std::vector<bool> done;
  done.reserve(static_cast<std::size_t>(table_.RowCount()));
  std::vector<std::uint32_t> at;  // each task's key in the memo
  at.reserve(static_cast<std::size_t>(table_.RowCount()));
  std::vector<std::uint32_t> changed;  // tasks whose key must be made
  const Date today = Today();
  // Rows the last sort marked are passed over without reading their texts, as long as the day
  // and the place of done tasks are the same as then.
  const std::int64_t under = std::int64_t{DayNumber(today)} * 2 + (doneLast ? 1 : 0);
  const bool marksHold = table_.CheckedUnder() == under;
  const auto marked = [&](int r) { return marksHold && table_.Checked(r); };
  std::vector<std::uint32_t> unmarked;  // the tasks that are not, in row order
  const bool tracking = !tracked_.empty();
  std::vector<int> compactOf;  // where the rows went when a gap was closed, for the undo history
  int followed = 0;            // where `follow` went when the gaps were closed
  // The days left of the last due date seen: the tasks of one day stand together.
  std::string lastDue;
  std::optional<std::string> lastDays;
  lastDue.reserve(32);
  bool lastDueSeen = false;
  int count = 0;
  for (int r = 1; r < table_.RowCount(); ++r) {
    if (r + kPrefetchAhead < table_.RowCount() && !marked(r + kPrefetchAhead)) table_.PrefetchTexts(r + kPrefetchAhead);
    const bool wasMarked = marked(r);
    if (!wasMarked && !table_.IsTask(r)) {
      if (tracking && compactOf.empty()) {
        compactOf.resize(static_cast<std::size_t>(table_.RowCount()));
        std::iota(compactOf.begin(), compactOf.begin() + r, 0);
      }
      if (tracking) compactOf[static_cast<std::size_t>(r)] = 0;
      continue;
    }
    ++count;
    if (r == follow) followed = count;
    if (!compactOf.empty()) compactOf[static_cast<std::size_t>(r)] = count;
    if (r != count) table_.MoveRow(r, count);
    const std::uint32_t tag = table_.KeyTag(count);
    const bool keyKnown = tag != TaskTable::kNoKey && tag < keyMemo_.Size();
    if (!keyKnown) changed.push_back(static_cast<std::uint32_t>(count - 1));
    at.push_back(tag);
    if (wasMarked && keyKnown) {
      done.push_back(table_.CheckedDone(count));
      continue;
    }
    unmarked.push_back(static_cast<std::uint32_t>(count - 1));
    const std::string_view untrimmed = table_.Cell(colText, count);
    const std::string_view trimmed = TrimBlanks(untrimmed);
    if (trimmed.size() != untrimmed.size()) {
      // A key is always made of the trimmed text, so it still holds.
      table_.SetCell(colText, count, trimmed);
      table_.SetKeyTag(count, tag);
    }
    const bool isDone = table_.IsDone(count);
    if (!isDone) {
      const std::string_view due = table_.Cell(colDueDate, count);
      if (!lastDueSeen || due != lastDue) {
        lastDue.assign(due);
        lastDays = DaysLeft(due, today);
        lastDueSeen = true;
      }
      if (lastDays && *lastDays != table_.Cell(colDaysLeft, count)) table_.SetCell(colDaysLeft, count, *lastDays);
    }
    done.push_back(isDone);
    table_.MarkChecked(count, isDone);
  }
  for (int r = count + 1; r < table_.RowCount(); ++r) table_.ClearRow(r);

  std::string plain;
  for (const std::uint32_t i : changed) {
    const int row = static_cast<int>(i) + 1;
    plain.assign(table_.Cell(colDueDate, row)).append(",").append(table_.Cell(colText, row));
    at[i] = keyMemo_.Add(plain, collation_);
    table_.SetKeyTag(row, at[i]);
  }

  std::vector<int> rows(at.size());
  std::iota(rows.begin(), rows.end(), 1);
  bool moved = false;
  bool sorted = false;  // by the whole sort, which also leaves the memo in row order
  std::vector<std::uint32_t> placed;
  // The marked tasks stand in order among themselves (a stable sort keeps the order of equal
  // keys, so even after one that turned them around), so only the others need placing.
  const bool placeUnmarked = marksHold && !equalKeysReversed && unmarked.size() <= PlaceLimit(at.size());
  const bool inOrder = placeUnmarked ? unmarked.empty() : InOrder(at, done, equalKeysReversed, doneLast);
  if (!inOrder && placeUnmarked) {
    PlaceAmong(at, done, doneLast, Complement(unmarked, at.size()), unmarked, &placed);
    for (std::size_t k = 0; k < placed.size(); ++k) {
      rows[k] = static_cast<int>(placed[k]) + 1;
      moved = moved || rows[k] != static_cast<int>(k) + 1;
    }
  } else if (!inOrder && !equalKeysReversed && PlaceFew(at, done, doneLast, &placed)) {
    for (std::size_t k = 0; k < placed.size(); ++k) {
      rows[k] = static_cast<int>(placed[k]) + 1;
      moved = moved || rows[k] != static_cast<int>(k) + 1;
    }
  } else if (!inOrder) {
    sorted = true;
    KeyOrder keys(collation_);
    keys.Reserve(at.size());
    for (const std::uint32_t i : at) keys.AddKey(keyMemo_.Key(i));  // the memo stays put meanwhile
    const std::vector<std::uint32_t> order = keys.TakeOrder(equalKeysReversed);
    rows.clear();
    for (const std::uint32_t i : order) {
      if (!doneLast || !done[i]) rows.push_back(static_cast<int>(i) + 1);
    }
    if (doneLast) {
      for (const std::uint32_t i : order) {
        if (done[i]) rows.push_back(static_cast<int>(i) + 1);
      }
    }
    for (std::size_t k = 0; k < rows.size() && !moved; ++k) moved = rows[k] != static_cast<int>(k) + 1;
  }
  if (moved) table_.PermuteRows(rows);
  if (moved && followed > 0) {
    const auto at = std::find(rows.begin(), rows.end(), followed);
    followed = at == rows.end() ? 0 : static_cast<int>(at - rows.begin()) + 1;
  }
  FollowSort(compactOf, moved ? &rows : nullptr);
  table_.CompactIfWasteful();  // no view into the table means anything across a sort

  // The keys written anew in row order after a whole sort, or when many went unused: the next
  // sort then reads them front to back. After a few rows were placed, rewriting every key would
  // cost more than the placing.
  const bool wasteful = keyMemo_.Size() > at.size() + at.size() / 8 + 64;
  if ((sorted && (moved || !changed.empty() || keyMemo_.Size() != at.size())) || wasteful) {
    SortKeyMemo compact;
    compact.Reserve(rows.size(), keyMemo_.Bytes());
    for (std::size_t k = 0; k < rows.size(); ++k) {
      if (k + kPrefetchAhead < rows.size()) {
        Prefetch(keyMemo_.Key(at[static_cast<std::size_t>(rows[k + kPrefetchAhead] - 1)]).data());
      }
      const std::uint32_t old = at[static_cast<std::size_t>(rows[k] - 1)];
      const bool shared = k > 0 && keyMemo_.SharesKey(old, at[static_cast<std::size_t>(rows[k - 1] - 1)]);
      const std::uint32_t now = shared ? compact.Share(static_cast<std::uint32_t>(k - 1)) : compact.AddKey(keyMemo_.Key(old));
      table_.SetKeyTag(static_cast<int>(k) + 1, now);
    }
    keyMemo_ = std::move(compact);
  }
  table_.SetCheckedUnder(under);
  return followed;
}

// Whether the pass would leave every task where it is: a list just loaded, or sorted and not
// changed since, is told in one walk over the keys, without sorting them.
bool TaskList::InOrder(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool equalKeysReversed,
                       bool doneLast) const {
  for (std::size_t k = 1; k < at.size(); ++k) {
    if (k + kPrefetchAhead < at.size()) Prefetch(keyMemo_.Key(at[k + kPrefetchAhead]).data());
    if (doneLast && done[k - 1] != done[k]) {
      if (done[k - 1]) return false;
      continue;  // the first done task: the keys start again
    }
    const int c = keyMemo_.SharesKey(at[k - 1], at[k]) ? 0 : CompareKeys(keyMemo_.Key(at[k - 1]), keyMemo_.Key(at[k]));
    if (c > 0 || (c == 0 && equalKeysReversed)) return false;
  }
  return true;
}

int TaskList::CompareTasks(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool doneLast,
                           std::uint32_t i, std::uint32_t j) const {
  if (doneLast && done[i] != done[j]) return done[i] ? 1 : -1;
  return keyMemo_.SharesKey(at[i], at[j]) ? 0 : CompareKeys(keyMemo_.Key(at[i]), keyMemo_.Key(at[j]));
}

std::vector<std::uint32_t> TaskList::Complement(const std::vector<std::uint32_t>& some, std::size_t count) {
  std::vector<std::uint32_t> rest;
  rest.reserve(count - some.size());
  auto next = some.begin();
  for (std::uint32_t k = 0; k < count; ++k) {
    if (next != some.end() && *next == k) {
      ++next;
    } else {
      rest.push_back(k);
    }
  }
  return rest;
}

bool TaskList::PlaceFew(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool doneLast,
                        std::vector<std::uint32_t>* order) const {
  const auto compare = [&](std::uint32_t i, std::uint32_t j) { return CompareTasks(at, done, doneLast, i, j); };
  const std::size_t limit = PlaceLimit(at.size());
  std::vector<std::uint32_t> kept;
  kept.reserve(at.size());
  std::vector<std::uint32_t> misplaced;
  for (std::uint32_t k = 0; k < at.size(); ++k) {
    if (k + kPrefetchAhead < at.size()) Prefetch(keyMemo_.Key(at[k + kPrefetchAhead]).data());
    if (kept.empty() || compare(kept.back(), k) <= 0) {
      kept.push_back(k);
      continue;
    }
    // Task k goes before the last one kept. When the next one goes after that one, k alone
    // is out of place; otherwise the tasks kept last are (a text or date moved them on, or a
    // move date moved a whole day's).
    if (k + 1 == at.size() || compare(kept.back(), k + 1) <= 0) {
      misplaced.push_back(k);
    } else {
      while (!kept.empty() && compare(kept.back(), k) > 0 && misplaced.size() <= limit) {
        misplaced.push_back(kept.back());
        kept.pop_back();
      }
      kept.push_back(k);
    }
    if (misplaced.size() > limit) return false;
  }
  PlaceAmong(at, done, doneLast, kept, std::move(misplaced), order);
  return true;
}

void TaskList::PlaceAmong(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool doneLast,
                          const std::vector<std::uint32_t>& kept, std::vector<std::uint32_t> misplaced,
                          std::vector<std::uint32_t>* order) const {
  // Equal keys keep their row order, as in the whole sort.
  const auto before = [&](std::uint32_t i, std::uint32_t j) {
    const int c = CompareTasks(at, done, doneLast, i, j);
    return c < 0 || (c == 0 && i < j);
  };
  std::sort(misplaced.begin(), misplaced.end(), before);
  order->clear();
  order->reserve(at.size());
  auto from = kept.begin();
  for (const std::uint32_t m : misplaced) {
    const auto to = std::partition_point(from, kept.end(), [&](std::uint32_t x) { return before(x, m); });
    order->insert(order->end(), from, to);
    order->push_back(m);
    from = to;
  }
  order->insert(order->end(), from, kept.end());
}

void TaskList::SortTasks(int offset, bool openEditor) {
  if (offset < 0) offset = 0;
  const TaskRow remembered = table_.RowCopy(currentRow_);
  if (Hooks.hideEditors) Hooks.hideEditors();

  // SortRows(2) then SortRows(1) (or 0): the two reversals cancel, so equal keys keep their
  // order; done last with DoneDown.
  const int now = Reorder(false, DoneDown, currentRow_);
  const auto select = [&](int r) {
    SetCurrentRow(r);
    if (table_.RowCount() - 1 > visibleRowCount_) SetTopRow(std::max(1, r - offset));
  };
  // Among rows identical to the current one as it was the one nearest the end is taken; when
  // the sort changed it (trimmed its text, renewed its days left), none may be, and the index
  // stays.
  const RowView wanted(remembered);
  if (now > 0 && table_.Row(now) == wanted) {
    // The identical rows have one key and one done mark, so they stand together among the
    // tasks of that key, from this one on.
    const std::uint32_t key = table_.KeyTag(now);
    const auto sameKey = [&](int r) {
      const std::uint32_t other = table_.KeyTag(r);
      if (other == key) return true;
      if (key >= keyMemo_.Size() || other >= keyMemo_.Size()) return false;
      return keyMemo_.SharesKey(other, key) || CompareKeys(keyMemo_.Key(other), keyMemo_.Key(key)) == 0;
    };
    int last = now;
    for (int r = now + 1; r < table_.RowCount() && sameKey(r); ++r) {
      if (table_.Row(r) == wanted) last = r;
    }
    select(last);
  } else {
    // The lengths of the six cells are compared before their bytes: in a long list nearly
    // every other row differs in one of them, and the search then reads the rows without
    // their texts.
    const auto sameLengths = [&](const RowView& row) {
      for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (row[c].size() != wanted[c].size()) return false;
      }
      return true;
    };
    for (int r = table_.RowCount() - 1; r >= 1; --r) {
      const RowView row = table_.Row(r);
      if (sameLengths(row) && row == wanted) {
        select(r);
        break;
      }
    }
  }
  if (openEditor && Hooks.openTextEditor) Hooks.openTextEditor();
}

}  // namespace lq
