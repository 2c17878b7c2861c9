// Undo and redo of the task list: recording each command as a step, following the rows it
// touched through its own sort, and putting the rows back.
//
// A step holds the rows a command took out of the list and the rows it put in, each with its
// place; every other row keeps its order, so undoing is one pass that takes the rows put in
// out again and puts the others back where they stood. That holds as long as nothing but
// steps moved rows around each other. A sort that moved rows no step follows (a settings
// reload that changed DoneDown, a list changed behind the history's back) starts a new order
// generation; a step of an older one is undone by finding its tasks by what they hold and
// sorting the tasks it puts back into place, and refused when a task it needs is gone.
//
// Commands that change a key without sorting (a text edit, the alarm command) leave their row
// where a sort would not keep it. Such a row stays followed: the next sort that is no step's
// moves it in the step that left it there, and the next step takes it along.
#include <algorithm>
#include <functional>
#include <limits>
#include <unordered_map>

#include "store/tasklist.h"
#include "store/text.h"

namespace lq {
namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
// Rows left unsorted by one step that stay followed; a step leaves one or two.
constexpr std::size_t kMaxFollowedUnsorted = 16;

std::size_t IdentityHash(const RowView& row) {
  const TaskIdentityView id = IdentityView(row);
  const std::hash<std::string_view> h;
  std::size_t v = h(id.stamp);
  for (const std::string_view cell : {id.dueDate, id.text, id.attachment, id.flags}) v = v * 1000003u ^ h(cell);
  return v * 2u + (id.done ? 1u : 0u);
}

// Whether a sort may place the row elsewhere than before: its key or its done state differ.
bool MaySortElsewhere(const RowView& before, const RowView& after) {
  return before[colDueDate] != after[colDueDate] || TrimBlanks(before[colText]) != TrimBlanks(after[colText]) ||
         IsDoneMark(before[colDaysLeft]) != IsDoneMark(after[colDaysLeft]);
}

// new index -> old index, turned into old index -> new index.
std::vector<std::size_t> Inverse(const std::vector<std::size_t>& order) {
  std::vector<std::size_t> inverse(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) inverse[order[i]] = i;
  return inverse;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Recording

StepRecorder::StepRecorder(TaskList& list, StepKind kind) : list_(list), outer_(!list.recording_) {
  list_.BeginStep(kind);
}

StepRecorder::~StepRecorder() {
  try {
    list_.EndStep();
  } catch (...) {
    // No step can describe the change: every older one is of no use without it.
    list_.recording_.reset();
    list_.recordDepth_ = 0;
    list_.tracking_ = TaskList::Tracking::None;
    list_.tracked_.clear();
    list_.ClearHistory();
  }
}

void StepRecorder::SetCount(int count) {
  if (outer_ && list_.recording_) list_.recording_->count = count;
}

void StepRecorder::FocusOnCurrent() {
  if (outer_ && list_.recording_) list_.recording_->focusOnCurrent = true;
}

void TaskList::BeginStep(StepKind kind) {
  if (recordDepth_++ > 0) return;
  Recording rec;
  rec.kind = kind;
  rec.currentAtBegin = currentRow_;
  rec.beforeTasks = NotDoneCount + DoneCount;
  rec.epochAtBegin = orderEpoch_;
  // Every row of the last step is taken along (a sort that moves its unsorted ones shifts the
  // others); the unsorted ones stay unsorted in this step unless it sorts.
  const std::vector<int> unsorted = tracking_ == Tracking::Stragglers ? tracked_ : std::vector<int>{};
  const std::vector<std::size_t> unsortedOf = tracking_ == Tracking::Stragglers ? stragglerOf_ : std::vector<std::size_t>{};
  const std::vector<std::uint32_t> stillUnsorted =
      tracking_ == Tracking::Stragglers ? history_.Top().unsorted : std::vector<std::uint32_t>{};
  tracked_.clear();
  stragglerOf_.clear();
  recording_ = std::move(rec);
  tracking_ = Tracking::Recording;
  for (std::size_t i = 0; i < unsorted.size(); ++i) {
    const int e = TouchRow(unsorted[i]);
    if (e < 0) continue;
    Recording::Entry& entry = recording_->entries[static_cast<std::size_t>(e)];
    entry.adopted = true;
    entry.topIndex = unsortedOf[i];
    entry.unsorted = std::find(stillUnsorted.begin(), stillUnsorted.end(), unsortedOf[i]) != stillUnsorted.end();
  }
  recording_->adoptedCount = recording_->entries.size();
}

int TaskList::TouchRow(int row) {
  if (!recording_ || !table_.IsTask(row)) return -1;
  Recording& rec = *recording_;
  // Touched already? The rows taken along come first; the command's own usually go upwards.
  const auto at = [&](std::size_t i) { return tracked_[i] == row; };
  std::size_t found = kNone;
  for (std::size_t i = 0; i < rec.adoptedCount && found == kNone; ++i) {
    if (at(i)) found = i;
  }
  if (found == kNone && tracked_.size() > rec.adoptedCount) {
    if (rec.ownAscending && !rec.structural) {
      if (tracked_.back() == row) found = tracked_.size() - 1;
      if (tracked_.back() > row) rec.ownAscending = false;
    }
    if (!rec.ownAscending || rec.structural) {
      for (std::size_t i = rec.adoptedCount; i < tracked_.size() && found == kNone; ++i) {
        if (at(i)) found = i;
      }
    }
  }
  rec.sortedSinceTouch = false;
  if (found != kNone) {
    rec.entries[found].adopted = false;
    return static_cast<int>(found);
  }
  Recording::Entry entry;
  entry.before = rec.structural ? BeforePlaceOf(row) : row;
  try {
    entry.removedIndex = static_cast<int>(rec.removed.Size());
    rec.removed.Add(entry.before, table_.Row(row));
  } catch (const std::exception&) {
    rec.lost = true;
    entry.removedIndex = -1;
  }
  rec.entries.push_back(entry);
  tracked_.push_back(row);
  return static_cast<int>(rec.entries.size() - 1);
}

void TaskList::RowAdded(int row) {
  if (!recording_) return;
  recording_->entries.push_back(Recording::Entry{});
  recording_->sortedSinceTouch = false;
  tracked_.push_back(row);
}

int TaskList::BeforePlaceOf(int row) const {
  // The row's rank among the rows no entry holds, which keep their order through a step…
  int rank = row;
  for (const int t : tracked_) rank -= t > 0 && t < row ? 1 : 0;
  // …and where that rank stood among the rows before the step.
  std::vector<int> removedBefore;
  for (const Recording::Entry& e : recording_->entries) {
    if (e.before > 0) removedBefore.push_back(e.before);
  }
  std::sort(removedBefore.begin(), removedBefore.end());
  int place = rank;
  for (const int b : removedBefore) {
    if (b > place) break;
    ++place;
  }
  return place;
}

void TaskList::FollowRemovedRow(int row) {
  for (int& t : tracked_) {
    if (t == row) {
      t = 0;
    } else if (t > row) {
      --t;
    }
  }
  if (recording_) recording_->structural = true;
}

void TaskList::FollowRemovedRows(const std::vector<bool>& gone) {
  std::vector<int> goneBefore;  // built only when a followed row stays
  for (int& t : tracked_) {
    if (t <= 0) continue;
    if (gone[static_cast<std::size_t>(t)]) {
      t = 0;
      continue;
    }
    if (goneBefore.empty()) {
      goneBefore.assign(gone.size(), 0);
      for (std::size_t r = 1; r < gone.size(); ++r) goneBefore[r] = goneBefore[r - 1] + (gone[r - 1] ? 1 : 0);
    }
    t -= goneBefore[static_cast<std::size_t>(t)];
  }
  if (recording_) recording_->structural = true;
}

void TaskList::FollowSort(const std::vector<int>& compactOf, const std::vector<int>* order) {
  const std::uint64_t epochBefore = orderEpoch_;
  if (!compactOf.empty()) {
    for (int& t : tracked_) {
      if (t > 0) t = compactOf[static_cast<std::size_t>(t)];
    }
  }
  if (order) {
    // Where the followed rows went; every other row must have kept its order.
    const std::size_t n = order->size();
    std::vector<int> newOf;
    std::vector<char> followed;
    if (!tracked_.empty()) {
      newOf.assign(n + 1, 0);
      followed.assign(n + 1, 0);
      for (std::size_t k = 0; k < n; ++k) newOf[static_cast<std::size_t>((*order)[k])] = static_cast<int>(k) + 1;
      for (const int t : tracked_) {
        if (t > 0) followed[static_cast<std::size_t>(t)] = 1;
      }
    }
    int last = 0;
    bool kept = true;
    for (const int old : *order) {
      if (!followed.empty() && followed[static_cast<std::size_t>(old)]) continue;
      if (old < last) {
        kept = false;
        break;
      }
      last = old;
    }
    for (int& t : tracked_) {
      if (t > 0) t = newOf[static_cast<std::size_t>(t)];
    }
    if (!kept) ++orderEpoch_;
  }
  if (tracking_ != Tracking::Restoring && (order || !compactOf.empty())) FollowSortForRedo(compactOf, order, epochBefore);
  switch (tracking_) {
    case Tracking::Recording:
      recording_->sortedSinceTouch = true;
      if (order || !compactOf.empty()) recording_->structural = true;
      break;
    case Tracking::Stragglers: {
      // The rows the last step left unsorted are in place now: the step put them there.
      Step& top = history_.Top();
      const std::size_t oldBytes = top.Bytes();
      for (std::size_t i = 0; i < tracked_.size(); ++i) {
        if (tracked_[i] <= 0) continue;
        top.added.SetPosition(stragglerOf_[i], tracked_[i]);
      }
      const std::vector<std::size_t> sorted = top.added.SortByPosition();
      if (top.focusAfterIndex >= 0) top.focusAfterIndex = static_cast<int>(Inverse(sorted)[static_cast<std::size_t>(top.focusAfterIndex)]);
      top.unsorted.clear();
      history_.TopResized(oldBytes);
      tracked_.clear();
      stragglerOf_.clear();
      tracking_ = Tracking::None;
      break;
    }
    case Tracking::None:
    case Tracking::Restoring:
      break;
  }
}

void TaskList::FollowSortForRedo(const std::vector<int>& compactOf, const std::vector<int>* order,
                                 std::uint64_t epochBefore) {
  if (!history_.CanRedo()) return;
  Step& next = history_.NextRedo();
  if (!next.exact) return;
  // The step to redo starts from the list as it is now: it stays exact when every row that
  // moved is one it takes out, and takes them out where the sort put them.
  RowStore& rows = next.removed;
  std::vector<int> places(rows.Size());
  bool exact = true;
  for (std::size_t i = 0; i < rows.Size() && exact; ++i) {
    int p = rows.Position(i);
    if (!compactOf.empty()) p = p > 0 && static_cast<std::size_t>(p) < compactOf.size() ? compactOf[static_cast<std::size_t>(p)] : 0;
    places[i] = p;
    exact = p > 0;
  }
  if (exact && order) {
    const std::size_t n = order->size();
    std::vector<char> taken(n + 1, 0);
    for (const int p : places) {
      if (static_cast<std::size_t>(p) > n) exact = false;
      if (exact) taken[static_cast<std::size_t>(p)] = 1;
    }
    int last = 0;
    for (std::size_t k = 0; k < n && exact; ++k) {
      const int old = (*order)[k];
      if (taken[static_cast<std::size_t>(old)]) continue;
      exact = old > last;
      last = old;
    }
    if (exact) {
      std::vector<int> newOf(n + 1, 0);
      for (std::size_t k = 0; k < n; ++k) newOf[static_cast<std::size_t>((*order)[k])] = static_cast<int>(k) + 1;
      for (int& p : places) p = newOf[static_cast<std::size_t>(p)];
    }
  }
  if (!exact) {
    history_.MarkRedoInexact();
    return;
  }
  const std::size_t oldBytes = next.Bytes();
  for (std::size_t i = 0; i < rows.Size(); ++i) rows.SetPosition(i, places[i]);
  const std::vector<std::size_t> sorted = Inverse(rows.SortByPosition());
  if (next.focusBeforeIndex >= 0) next.focusBeforeIndex = static_cast<int>(sorted[static_cast<std::size_t>(next.focusBeforeIndex)]);
  history_.Resized(oldBytes, next.Bytes());
  // Applied exactly, the step gives the list it gave before, so the steps after it hold too.
  if (orderEpoch_ != epochBefore) history_.RedoEpochMoved(epochBefore, orderEpoch_);
}

void TaskList::EndStep() {
  if (recordDepth_ == 0 || --recordDepth_ > 0) return;
  Recording rec = std::move(*recording_);
  recording_.reset();
  const std::vector<int> now = std::move(tracked_);
  tracked_.clear();
  tracking_ = Tracking::None;
  if (rec.lost) {
    ClearHistory();
    return;
  }

  Step step;
  step.kind = rec.kind;
  step.count = rec.count;
  step.beforeTasks = rec.beforeTasks;
  step.afterTasks = NotDoneCount + DoneCount;
  step.epoch = orderEpoch_;
  step.exact = rec.epochAtBegin == orderEpoch_;
  step.editor = editorOpen_ ? editorOpening_ : 0;
  step.removed = std::move(rec.removed);
  std::vector<std::size_t> addedIndexOf(rec.entries.size(), kNone);
  for (std::size_t i = 0; i < rec.entries.size(); ++i) {
    if (now[i] <= 0) continue;
    addedIndexOf[i] = step.added.Size();
    step.added.Add(now[i], table_.Row(now[i]));
  }
  const std::vector<std::size_t> removedNew = Inverse(step.removed.SortByPosition());
  const std::vector<std::size_t> addedNew = Inverse(step.added.SortByPosition());
  const auto removedRow = [&](const Recording::Entry& e) { return step.removed.Row(removedNew[static_cast<std::size_t>(e.removedIndex)]); };
  const auto addedRow = [&](std::size_t i) { return step.added.Row(addedNew[addedIndexOf[i]]); };

  // Nothing changed: no step, and the last one's unsorted rows are where they were.
  if (step.removed.SamePlacesAndBytes(step.added)) {
    TrackStragglers();
    return;
  }
  // Only the rows taken along moved (a sort that nothing of this command needed): the step
  // that left them unsorted moved them.
  bool ownChange = false;
  for (std::size_t i = 0; i < rec.entries.size() && !ownChange; ++i) {
    const Recording::Entry& e = rec.entries[i];
    if (e.adopted) continue;
    ownChange = e.removedIndex < 0 || now[i] <= 0 || !(removedRow(e) == addedRow(i));
  }
  if (!ownChange && history_.CanUndo()) {
    Step& top = history_.Top();
    const std::size_t oldBytes = top.Bytes();
    for (std::size_t i = 0; i < rec.entries.size(); ++i) {
      const std::size_t t = rec.entries[i].topIndex;
      if (t == SIZE_MAX || now[i] <= 0) continue;
      top.added.SetPosition(t, now[i]);
    }
    const std::vector<std::size_t> sorted = Inverse(top.added.SortByPosition());
    if (top.focusAfterIndex >= 0) top.focusAfterIndex = static_cast<int>(sorted[static_cast<std::size_t>(top.focusAfterIndex)]);
    for (std::uint32_t& u : top.unsorted) u = static_cast<std::uint32_t>(sorted[u]);
    if (rec.sortedSinceTouch) top.unsorted.clear();
    history_.TopResized(oldBytes);
    TrackStragglers();
    return;
  }

  if (rec.focusOnCurrent) {
    step.focusBefore = rec.currentAtBegin;
    step.focusAfter = currentRow_;
  } else {
    std::size_t f = rec.adoptedCount;
    while (f < rec.entries.size() && rec.entries[f].adopted) ++f;
    const bool own = f < rec.entries.size();
    step.focusBefore = rec.currentAtBegin;
    step.focusAfter = currentRow_;
    if (own && rec.entries[f].removedIndex >= 0) {
      step.focusBeforeIndex = static_cast<int>(removedNew[static_cast<std::size_t>(rec.entries[f].removedIndex)]);
    }
    if (own && now[f] > 0) step.focusAfterIndex = static_cast<int>(addedNew[addedIndexOf[f]]);
  }
  if (!rec.sortedSinceTouch) {
    for (std::size_t i = 0; i < rec.entries.size(); ++i) {
      if (now[i] <= 0) continue;
      const Recording::Entry& e = rec.entries[i];
      // A row taken along stays unsorted, also when this command touched it without moving it.
      if (e.unsorted || e.removedIndex < 0 || MaySortElsewhere(removedRow(e), addedRow(i))) {
        step.unsorted.push_back(static_cast<std::uint32_t>(addedNew[addedIndexOf[i]]));
      }
    }
    if (step.unsorted.size() > kMaxFollowedUnsorted) step.unsorted.clear();
    std::sort(step.unsorted.begin(), step.unsorted.end());
  }
  PushStep(std::move(step));
}

void TaskList::PushStep(Step step) {
  // Typing in one editor opening, or stepping one picker's date, is one step.
  if (history_.CanUndo()) {
    Step& top = history_.Top();
    const bool merges = step.editor != 0 && top.editor == step.editor && top.kind == step.kind &&
                        (step.kind == StepKind::Text || step.kind == StepKind::DueDate) && top.exact && step.exact &&
                        top.epoch == step.epoch && step.removed.Size() == 1 && top.added.Size() == 1 &&
                        top.added.Position(0) == step.removed.Position(0) && top.added.Row(0) == step.removed.Row(0);
    if (merges) {
      history_.DropRedo();
      const std::size_t oldBytes = top.Bytes();
      top.added = std::move(step.added);
      top.afterTasks = step.afterTasks;
      top.focusAfter = step.focusAfter;
      top.focusAfterIndex = step.focusAfterIndex;
      top.unsorted = std::move(step.unsorted);
      if (top.removed.SamePlacesAndBytes(top.added)) {
        history_.TopResized(oldBytes);
        history_.DropTop();  // back where it began
      } else {
        history_.TopResized(oldBytes);
      }
      TrackStragglers();
      return;
    }
  }
  history_.Push(std::move(step));
  TrackStragglers();
}

void TaskList::TrackStragglers() {
  tracked_.clear();
  stragglerOf_.clear();
  tracking_ = Tracking::None;
  const Step* top = history_.TopOrNull();
  if (!top || top->epoch != orderEpoch_ || top->unsorted.empty()) return;
  // Every row the step put in is followed, not only the unsorted ones: when a sort moves an
  // unsorted row, the others of the step shift around it.
  for (std::size_t i = 0; i < top->added.Size(); ++i) {
    tracked_.push_back(top->added.Position(i));
    stragglerOf_.push_back(i);
  }
  tracking_ = Tracking::Stragglers;
}

void TaskList::ClearHistory() {
  history_.Clear();
  if (tracking_ != Tracking::Recording) {
    tracked_.clear();
    stragglerOf_.clear();
    tracking_ = Tracking::None;
  }
}

void TaskList::BeginEditorStep() {
  ++editorOpening_;
  editorOpen_ = true;
}

void TaskList::EndEditorStep() {
  ++editorOpening_;
  editorOpen_ = false;
}

std::optional<StepLabel> TaskList::UndoLabel() const {
  const Step* s = history_.TopOrNull();
  return s ? std::optional<StepLabel>(s->Label()) : std::nullopt;
}

std::optional<StepLabel> TaskList::RedoLabel() const {
  const Step* s = history_.NextRedoOrNull();
  return s ? std::optional<StepLabel>(s->Label()) : std::nullopt;
}

bool TaskList::SetAttachment(int row, std::string_view attachment, StepKind kind) {
  if (!table_.IsTask(row) || table_.Cell(colAttachment, row) == attachment) return false;
  StepRecorder step(*this, kind);
  step.Touch(row);
  table_.SetCell(colAttachment, row, attachment);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Undoing and redoing

TaskList::UndoResult TaskList::Undo() { return Apply(true); }
TaskList::UndoResult TaskList::Redo() { return Apply(false); }

std::vector<int> TaskList::FindRows(const RowStore& rows) const {
  std::vector<int> found(rows.Size(), 0);
  std::vector<char> used(static_cast<std::size_t>(table_.RowCount()), 0);
  std::vector<std::size_t> pending;
  for (std::size_t i = 0; i < rows.Size(); ++i) {
    const int p = rows.Position(i);
    if (table_.IsTask(p) && !used[static_cast<std::size_t>(p)] && SameTask(table_.Row(p), rows.Row(i))) {
      found[i] = p;
      used[static_cast<std::size_t>(p)] = 1;
    } else {
      pending.push_back(i);
    }
  }
  if (pending.empty()) return found;
  std::unordered_multimap<std::size_t, std::size_t> wanted;
  wanted.reserve(pending.size());
  for (const std::size_t i : pending) wanted.emplace(IdentityHash(rows.Row(i)), i);
  for (int r = 1; r < table_.RowCount() && !wanted.empty(); ++r) {
    if (used[static_cast<std::size_t>(r)] || !table_.IsTask(r)) continue;
    const RowView row = table_.Row(r);
    auto [from, to] = wanted.equal_range(IdentityHash(row));
    for (auto it = from; it != to; ++it) {
      if (SameTask(row, rows.Row(it->second))) {
        found[it->second] = r;
        used[static_cast<std::size_t>(r)] = 1;
        wanted.erase(it);
        break;
      }
    }
  }
  return found;
}

void TaskList::PutRows(const RowStore& rows, const std::vector<int>& places) {
  table_.OpenRows(places);
  table_.ReserveText(rows.TextBytes());
  const Date today = Today();
  for (std::size_t i = 0; i < rows.Size(); ++i) {
    const RowView row = rows.Row(i);
    const int r = places[i];
    table_.SetRow(r, row);
    if (IsDoneMark(row[colDaysLeft])) {
      ++DoneCount;
      continue;
    }
    ++NotDoneCount;
    // The days left are today's, whatever day the step was made on.
    if (const auto days = DaysLeft(row[colDueDate], today); days && *days != row[colDaysLeft]) {
      table_.SetCell(colDaysLeft, r, *days);
    }
  }
}

TaskList::UndoResult TaskList::Apply(bool undo) {
  if (recording_) return {};
  if (undo ? !history_.CanUndo() : !history_.CanRedo()) return {};
  // Hidden first: closing an editor may still sort or record.
  if (Hooks.hideEditors) Hooks.hideEditors();
  if (recording_ || (undo ? !history_.CanUndo() : !history_.CanRedo())) return {};
  const Step& step = undo ? history_.Top() : history_.NextRedo();
  const RowStore& take = undo ? step.added : step.removed;
  const RowStore& put = undo ? step.removed : step.added;
  UndoResult result;
  result.label = step.Label();
  const int offset = std::max(0, currentRow_ - topRow_);
  tracked_.clear();
  stragglerOf_.clear();
  tracking_ = Tracking::None;

  // As recorded: the rows to take out stand where the step left them.
  bool fast = step.exact && step.epoch == orderEpoch_ && NotDoneCount + DoneCount == (undo ? step.afterTasks : step.beforeTasks);
  for (std::size_t i = 0; i < take.Size() && fast; ++i) {
    const int p = take.Position(i);
    fast = table_.IsTask(p) && SameTask(table_.Row(p), take.Row(i));
  }
  std::vector<int> rows(take.Size());
  if (fast) {
    for (std::size_t i = 0; i < take.Size(); ++i) rows[i] = take.Position(i);
  } else {
    rows = FindRows(take);
    if (std::find(rows.begin(), rows.end(), 0) != rows.end()) {
      // A task the step changed was changed again or went: the step no longer fits.
      if (undo) {
        history_.DropUndoFromTop();
      } else {
        history_.DropRedo();
      }
      TrackStragglers();
      result.outcome = UndoResult::Outcome::Refused;
      result.row = currentRow_;
      return result;
    }
    std::sort(rows.begin(), rows.end());
  }

  for (const int r : rows) --(table_.IsDone(r) ? DoneCount : NotDoneCount);
  if (rows.size() == 1) {
    table_.RemoveRow(rows[0]);
  } else if (!rows.empty()) {
    std::vector<bool> gone(static_cast<std::size_t>(table_.RowCount()), false);
    for (const int r : rows) gone[static_cast<std::size_t>(r)] = true;
    table_.RemoveRows(gone);
  }

  std::vector<int> places(put.Size());
  const int remaining = NotDoneCount + DoneCount;
  for (std::size_t i = 0; i < put.Size(); ++i) {
    places[i] = put.Position(i);
    if (!fast) {
      // Near where they were; the sort below places them.
      const int lowest = i == 0 ? 1 : places[i - 1] + 1;
      places[i] = std::clamp(places[i], lowest, remaining + static_cast<int>(i) + 1);
    }
  }
  PutRows(put, places);

  const int focusIndex = undo ? step.focusBeforeIndex : step.focusAfterIndex;
  int focus = undo ? step.focusBefore : step.focusAfter;
  if (fast) {
    if (focusIndex >= 0) focus = places[static_cast<std::size_t>(focusIndex)];
  } else {
    tracked_ = places;
    tracking_ = Tracking::Restoring;
    Reorder(false, DoneDown);
    if (focusIndex >= 0 && tracked_[static_cast<std::size_t>(focusIndex)] > 0) {
      focus = tracked_[static_cast<std::size_t>(focusIndex)];
    } else if (!tracked_.empty() && tracked_[0] > 0) {
      focus = tracked_[0];
    }
    tracked_.clear();
    tracking_ = Tracking::None;
    ++orderEpoch_;  // the steps' places no longer hold
  }
  UpdateTaskCounts();
  SetCurrentRow(focus);
  if (table_.RowCount() - 1 > visibleRowCount_) SetTopRow(std::max(1, currentRow_ - offset));

  if (undo) {
    history_.MoveToRedo();
  } else {
    history_.MoveToUndo();
  }
  TrackStragglers();
  result.outcome = UndoResult::Outcome::Applied;
  result.row = currentRow_;
  return result;
}

}  // namespace lq
