#pragma once
// The main window's task state without the window: the table, the two counters, the grid's
// current and top row, the visible-row count, and the routines every command calls after it
// changed the table (UpdateTaskCounts, SortRows, SortTasks).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/datetext.h"
#include "store/repeat.h"
#include "store/history.h"
#include "store/seams.h"
#include "store/tasktable.h"

namespace lq {

// What the window does for the sort: hide both in-place editors before the rows move, and
// open the text editor on the current row afterwards when asked to.
struct EditorHooks {
  std::function<void()> hideEditors;
  std::function<void()> openTextEditor;
};

// Sort keys of "date,text" as last prepared, all in one buffer. Rows name theirs by their key
// tag (TaskTable::KeyTag); entries for equal texts may share one key's bytes.
class SortKeyMemo {
 public:
  void Clear();
  void Reserve(std::size_t count, std::size_t bytes);
  // Adds an entry, a copy of a key prepared before or the key of `plain` made now, and gives
  // its number.
  std::uint32_t AddKey(std::string_view key);
  std::uint32_t Add(std::string_view plain, const Collation& collation);
  // Adds an entry that shares the key of entry i.
  std::uint32_t Share(std::uint32_t i);
  bool SharesKey(std::uint32_t i, std::uint32_t j) const {
    return entries_[i].offset == entries_[j].offset && entries_[i].length == entries_[j].length;
  }
  std::size_t Size() const { return entries_.size(); }
  std::size_t Bytes() const { return bytes_.size(); }
  std::string_view Key(std::size_t i) const { return {bytes_.data() + entries_[i].offset, entries_[i].length}; }

 private:
  // Eight bytes an entry: a long list's entries are read out of turn, and each of them is one
  // more page to touch. The keys of one list stay below 4 GiB (its texts do too).
  struct Entry {
    std::uint32_t offset;
    std::uint32_t length;
  };
  // The entry of the key from `offset` to the end of the buffer.
  Entry EntryFrom(std::size_t offset) const;
  std::string bytes_;
  std::vector<Entry> entries_;
};

// Which task a command is about, kept while the command waits for the user: meanwhile the
// tray's commands, the change of day or an exchange may sort, add or remove rows, so the
// command finds its task again by these instead of trusting a row number. A task changed in
// any of them meanwhile (a new stamp included) is no longer the one the user was asked about.
// The days left are not part of it (they move on at midnight), only whether the task is done;
// the text counts without its surrounding blanks (a sort trims them).
struct TaskIdentity {
  std::string stamp;  // colUpdated
  std::string dueDate;
  std::string text;
  std::string attachment;
  std::string flags;
  bool done = false;
  friend bool operator==(const TaskIdentity&, const TaskIdentity&) = default;
  TaskIdentityView View() const { return {stamp, dueDate, text, attachment, flags, done}; }
};

class StepRecorder;

class TaskList {
 public:
  TaskList(const Clock& clock, const Collation& collation);

  TaskTable& Table() { return table_; }
  const TaskTable& Table() const { return table_; }
  const Clock& GetClock() const { return clock_; }
  const Collation& GetCollation() const { return collation_; }
  Date Today() const { return clock_.Now().date; }

  int NotDoneCount = 0;
  int DoneCount = 0;
  bool DoneDown = true;  // [Settings] DoneDown
  EditorHooks Hooks;

  // Grid position. The current row always lies in 1..RowCount-1 and is scrolled into view
  // when set; the top row stays where a whole page can still be shown.
  int CurrentRow() const { return currentRow_; }
  int TopRow() const { return topRow_; }
  int VisibleRowCount() const { return visibleRowCount_; }
  void SetCurrentRow(int row);
  void SetTopRow(int row);
  void SetVisibleRowCount(int count);
  int MaxTopRow() const;

  // Writes "open/all" into the header cell of the due-date column.
  void UpdateTaskCounts();

  // One reordering pass: 0 and 2 by key only, 1 with the done tasks after the open ones.
  void SortRows(int mode);
  // The sort the commands use: re-selects the task that was current, keeps it `offset` lines
  // below the top row, and opens the text editor when asked.
  void SortTasks(int offset, bool openEditor);

  // Empties the list and the counters (RowCount 2, header captions kept).
  void Clear();
  // Sort keys already prepared for the rows (the loader has them), named by the rows' key
  // tags; the next sort uses every one whose row still holds the same date and text.
  void AdoptSortKeys(SortKeyMemo keys) { keyMemo_ = std::move(keys); }

  // The identity of the task in `row`; nothing for a row that holds none (the blank row).
  std::optional<TaskIdentity> IdentityOf(int row) const;
  // The row that holds the task now, `near` (where it was) looked at first: identical tasks
  // are one and the same to the user. Nothing when it was changed or deleted meanwhile.
  std::optional<int> FindTask(const TaskIdentity& task, int near = 0) const;

  // --- The commands on the current row (commands.cpp). The window asks its questions and
  // does its layout around them.

  // A new task with the current row's due date (today's on an empty list), sorted first
  // among that date's tasks and opened in the text editor.
  void AddTask();
  // The delete question for the current task ("date “text”を削除します。\r\nよろしいですか？"),
  // empty for the blank row of an empty list.
  std::string DeleteQuestion() const;
  // Removes the current task; the row index stays, so the next task is selected (or the new
  // last one). No sort. False for the blank row of an empty list.
  bool DeleteCurrentTask();
  // Marks the current task done or not done; with `finishedDayChange` a task marked done is
  // dated today. A repeating task marked done is followed by a new open task, its next one
  // (marking it not done again removes nothing). Marked done, the list stays where it was on
  // the screen; marked not done, the selection follows the task. False for the blank row.
  bool ToggleDone(bool finishedDayChange);
  // Sets how often the current task repeats. False for the blank row, or when it repeats so
  // already.
  bool SetRepeat(Repeat kind);
  // Arms the alarm of the current task at the leading time of its text, which is then written
  // as HH:MM, or disarms it (the text keeps its time). The blank row of an empty list has no
  // time to arm.
  enum class AlarmToggle { NoTime, Armed, Disarmed };
  AlarmToggle ToggleAlarm();
  // The text editor's text (already cut to 100 characters) written into the task of `row`,
  // the row the editor was opened on: an armed alarm is disarmed and the stamp renewed. False
  // when nothing changed.
  bool ChangeText(int row, std::string_view text);
  // The date picker's date written into the task of `row`, the row the picker was opened on,
  // which becomes an open task if it was done; then the list is sorted with that task
  // selected. The stamp is kept. Only another date is a change: the same date (a picker may
  // report a change that did not happen) changes nothing and gives false.
  bool ChangeDueDate(int row, Date date);
  // The attachment commands (choose, clear, URL, drop) write the task's attachment here, as
  // the step of that kind. False for a row that holds no task, and when nothing changed.
  bool SetAttachment(int row, std::string_view attachment, StepKind kind);

  // --- Undo and redo (undo.cpp). Every command above, the bulk ones of bulk.h and the
  // attachment records one step; sorts that are no command's (the change of day, a settings
  // reload) are none.

  struct UndoResult {
    enum class Outcome {
      Nothing,  // no step to undo or redo
      Applied,
      Refused,  // the list no longer holds what the step changed: nothing was changed, and
                // the step is dropped with every step that needs it
    };
    Outcome outcome = Outcome::Nothing;
    StepLabel label;
    int row = 0;  // the task made current, at the same distance from the top row as before
  };
  // Hides the editors (as a sort does), takes back the last step, or does it again. The
  // counters follow; UpdateTaskCounts has run.
  UndoResult Undo();
  UndoResult Redo();
  std::optional<StepLabel> UndoLabel() const;
  std::optional<StepLabel> RedoLabel() const;
  // Forgets every step: after a change that cannot be undone (the exchange with Outlook);
  // Clear (a load) forgets them too.
  void ClearHistory();
  // The steps kept: at most UndoHistory::kMaxSteps, of at most kMaxBytes (tests set less).
  void SetHistoryLimits(std::size_t steps, std::size_t bytes) { history_.SetLimits(steps, bytes); }
  const UndoHistory& History() const { return history_; }
  // An in-place editor opened on a task, and closed (after the sort its closing does): every
  // text change, and every date change, in between is one step.
  void BeginEditorStep();
  void EndEditorStep();

 private:
  friend class StepRecorder;

  // The step being recorded. Its rows' places in the list, now, are in tracked_ (0 for a row
  // that went), entry by entry.
  struct Recording {
    StepKind kind = StepKind::Add;
    int count = 1;
    bool focusOnCurrent = false;
    struct Entry {
      int before = 0;         // its place before the step, 0 for a row the step made
      int removedIndex = -1;  // its row in `removed`
      bool adopted = false;   // the last step's unsorted row, only taken along
      std::size_t topIndex = SIZE_MAX;  // then its row in that step's `added`
      bool unsorted = false;            // one that step left unsorted
    };
    std::vector<Entry> entries;  // the rows taken along first
    std::size_t adoptedCount = 0;
    RowStore removed;
    int currentAtBegin = 1;
    int beforeTasks = 0;
    std::uint64_t epochAtBegin = 0;
    bool sortedSinceTouch = true;
    bool structural = false;    // rows went or moved: tracked_ no longer gives the places before
    bool ownAscending = true;   // the command's rows touched so far, upwards
    bool lost = false;          // a row could not be kept
  };
  enum class Tracking { None, Stragglers, Recording, Restoring };

  void BeginStep(StepKind kind);
  void EndStep();
  int TouchRow(int row);
  void RowAdded(int row);
  void FollowRemovedRow(int row);
  void FollowRemovedRows(const std::vector<bool>& gone);
  // Where a sort put the tracked rows: `compactOf` maps rows across the closing of gaps (empty
  // when none was closed), `order` gives the old row of each new one (null when none moved).
  void FollowSort(const std::vector<int>& compactOf, const std::vector<int>* order);
  void FollowSortForRedo(const std::vector<int>& compactOf, const std::vector<int>* order, std::uint64_t epochBefore);
  int BeforePlaceOf(int row) const;
  void TrackStragglers();
  void PushStep(Step step);
  UndoResult Apply(bool undo);
  std::vector<int> FindRows(const RowStore& rows) const;
  void PutRows(const RowStore& rows, const std::vector<int>& places);

  // Sorts the task rows by key, each key prepared once; equal keys keep or reverse their
  // order; done tasks optionally last. Texts lose their surrounding blanks and the days left
  // are recomputed. Gives the row the task in row `follow` stands in now, 0 when that row held
  // no task.
  int Reorder(bool equalKeysReversed, bool doneLast, int follow = 0);
  // Adds the next task of the repeating task in `row`, before it is marked done: the next
  // date of its series, the same text, attachment, alarm flag and repetition, a fresh stamp.
  void AddNextRepetition(int row);
  // Whether the tasks with keys `at` (and done states `done`), in row order, are already in
  // the order Reorder gives.
  bool InOrder(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool equalKeysReversed,
               bool doneLast) const;
  // The order Reorder gives (equal keys in row order) when only a few tasks are out of place,
  // as after a command changed one or two: they are placed among the others, which stay in
  // order, in one walk. False when more are.
  bool PlaceFew(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool doneLast,
                std::vector<std::uint32_t>* order) const;
  // The order with the tasks `misplaced` placed among the tasks `kept`, which are in order.
  void PlaceAmong(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool doneLast,
                  const std::vector<std::uint32_t>& kept, std::vector<std::uint32_t> misplaced,
                  std::vector<std::uint32_t>* order) const;
  // Below zero when task i goes before task j by key (and done mark) alone.
  int CompareTasks(const std::vector<std::uint32_t>& at, const std::vector<bool>& done, bool doneLast,
                   std::uint32_t i, std::uint32_t j) const;
  // The most tasks placed one by one rather than by a whole sort.
  static std::size_t PlaceLimit(std::size_t tasks) { return 64 + tasks / 16; }
  // The numbers below `count` that are not in `some` (ascending).
  static std::vector<std::uint32_t> Complement(const std::vector<std::uint32_t>& some, std::size_t count);

  const Clock& clock_;
  const Collation& collation_;
  TaskTable table_;
  // Keys of the last sort, by key tag: preparing a key is the costly part of a sort under the
  // real collation, and after an edit nearly every row still has its old key.
  SortKeyMemo keyMemo_;
  int currentRow_ = 1;
  int topRow_ = 1;
  int visibleRowCount_ = 1;

  UndoHistory history_;
  std::optional<Recording> recording_;
  int recordDepth_ = 0;
  Tracking tracking_ = Tracking::None;
  std::vector<int> tracked_;
  std::vector<std::size_t> stragglerOf_;  // with Stragglers: each tracked row's index in the top step's `added`
  // Counts the sorts that moved rows no step was following: a step recorded before one knows
  // its places no more, and is undone by finding its tasks instead.
  std::uint64_t orderEpoch_ = 0;
  std::uint32_t editorOpening_ = 1;
  bool editorOpen_ = false;
};

// A change to the list recorded as one undo step while it lives: the command touches every
// row before it changes it or removes it, names the rows it appends, and the step is kept
// when the recorder goes (a command that changed nothing keeps none). Rows may be touched
// and removed in any order; rows are only ever added by appending. A recorder made while
// another one records joins that one's step.
class StepRecorder {
 public:
  StepRecorder(TaskList& list, StepKind kind);
  ~StepRecorder();
  StepRecorder(const StepRecorder&) = delete;
  StepRecorder& operator=(const StepRecorder&) = delete;

  void Touch(int row) { list_.TouchRow(row); }
  void Added(int row) { list_.RowAdded(row); }
  // After TaskTable::RemoveRow / RemoveRows of touched rows.
  void Removed(int row) { list_.FollowRemovedRow(row); }
  void RemovedRows(const std::vector<bool>& gone) { list_.FollowRemovedRows(gone); }
  void SetCount(int count);
  // The current task before and after is the one undo and redo make current (the bulk
  // commands), not the first task touched.
  void FocusOnCurrent();

 private:
  TaskList& list_;
  bool outer_;
};

}  // namespace lq
