#pragma once
// The undo history of the task list: each step is the rows one command took out of the list
// and the rows it put in, every row by value with its place, so that undoing a step puts the
// list back exactly as it was and redoing it gives back the list after it. A changed task is
// one row taken out and one put in; rows no step names keep their order between the two.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/tasktable.h"

namespace lq {

enum class StepKind : std::uint8_t {
  Add,
  Delete,
  Done,
  NotDone,
  Text,
  DueDate,
  AlarmOn,
  AlarmOff,
  AttachFile,
  AttachClear,
  AttachUrl,
  AttachDrop,
  MoveDate,
  BulkDelete,
  Repeat,
};

// What the menus name a step by: the command, and for the bulk ones how many tasks it took.
struct StepLabel {
  StepKind kind = StepKind::Add;
  int count = 1;
  friend bool operator==(const StepLabel&, const StepLabel&) = default;
};

// Whether the menus show the count beside the name ("日付移動 3件").
constexpr bool CountsTasks(StepKind kind) { return kind == StepKind::MoveDate || kind == StepKind::BulkDelete; }

// What makes a task the same one to the user, read in place from its row: stamp, due date,
// text without its surrounding blanks (a sort trims them), attachment, flags and whether it is
// done. The days left move on at midnight and are no part of it. TaskIdentity (tasklist.h)
// keeps the same for a command that waits; the undo history finds its tasks by it.
struct TaskIdentityView {
  std::string_view stamp;
  std::string_view dueDate;
  std::string_view text;
  std::string_view attachment;
  std::string_view flags;
  bool done = false;
  friend bool operator==(const TaskIdentityView&, const TaskIdentityView&) = default;
};
TaskIdentityView IdentityView(const RowView& row);
inline bool SameTask(const RowView& a, const RowView& b) { return IdentityView(a) == IdentityView(b); }

// Rows kept by value, each with its place in the list, their cells in one buffer.
class RowStore {
 public:
  void Add(int position, const RowView& row);
  std::size_t Size() const { return positions_.size(); }
  bool Empty() const { return positions_.empty(); }
  int Position(std::size_t i) const { return positions_[i]; }
  void SetPosition(std::size_t i, int position) { positions_[i] = position; }
  RowView Row(std::size_t i) const;
  // Orders the rows by their places; gives each row's index before the sort, by new index.
  std::vector<std::size_t> SortByPosition();
  bool SamePlacesAndBytes(const RowStore& other) const;
  std::size_t Bytes() const;
  std::size_t TextBytes() const { return bytes_.size(); }

 private:
  std::string bytes_;
  std::vector<std::uint32_t> ends_;  // the end of each cell in bytes_, kColumnCount a row
  std::vector<int> positions_;
};

struct Step {
  StepKind kind = StepKind::Add;
  int count = 1;
  RowStore removed;  // places in the list before the step
  RowStore added;    // places in the list after it
  int beforeTasks = 0;
  int afterTasks = 0;
  // The task that becomes current: a row of `removed` / `added` when it is one, else a place.
  int focusBefore = 1;
  int focusBeforeIndex = -1;
  int focusAfter = 1;
  int focusAfterIndex = -1;
  // The list's order generation after the step; `exact` when none began during it.
  std::uint64_t epoch = 0;
  bool exact = true;
  // Rows it put in (indices in `added`) that may stand where no sort has placed them yet.
  std::vector<std::uint32_t> unsorted;
  std::uint32_t editor = 0;  // the editor opening it was made in, 0 for none

  StepLabel Label() const { return {kind, count}; }
  std::size_t Bytes() const {
    return sizeof(Step) + removed.Bytes() + added.Bytes() + unsorted.capacity() * sizeof(std::uint32_t);
  }
};

// The two stacks, within their bounds: the oldest steps go first when there are more than
// `maxSteps` or they keep more than `maxBytes`; the newest step always stays.
class UndoHistory {
 public:
  static constexpr std::size_t kMaxSteps = 500;
  static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

  void SetLimits(std::size_t maxSteps, std::size_t maxBytes);
  void Clear();
  void Push(Step step);  // the redo stack is dropped
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  Step& Top() { return undo_.back(); }
  Step& NextRedo() { return redo_.back(); }
  const Step* TopOrNull() const { return undo_.empty() ? nullptr : &undo_.back(); }
  const Step* NextRedoOrNull() const { return redo_.empty() ? nullptr : &redo_.back(); }
  // The top step becomes the next to redo, and back.
  void MoveToRedo();
  void MoveToUndo();
  // Drops the top step and every older one (one that no longer fits the list), or every step
  // to redo.
  void DropUndoFromTop();
  void DropRedo();
  void DropTop();
  // The list after the top step changed order: the steps to redo no longer know their places.
  void MarkRedoInexact() {
    for (Step& s : redo_) s.exact = false;
  }
  // The top step changed in place (merged with a later one).
  void TopResized(std::size_t oldBytes);
  // A step changed its size in place.
  void Resized(std::size_t oldBytes, std::size_t newBytes) { bytes_ = bytes_ - oldBytes + newBytes; }
  // The steps to redo of one order generation belong to another.
  void RedoEpochMoved(std::uint64_t from, std::uint64_t to) {
    for (Step& s : redo_) {
      if (s.epoch == from) s.epoch = to;
    }
  }
  std::size_t UndoCount() const { return undo_.size(); }
  std::size_t RedoCount() const { return redo_.size(); }
  std::size_t Bytes() const { return bytes_; }

 private:
  void Trim();

  std::deque<Step> undo_;
  std::vector<Step> redo_;
  std::size_t bytes_ = 0;  // of both stacks
  std::size_t maxSteps_ = kMaxSteps;
  std::size_t maxBytes_ = kMaxBytes;
};

}  // namespace lq
