#pragma once
// The task table: row 0 is the header, every further row one task, six text columns. It is
// the task grid's content; there is no other copy of the tasks.
//
// The texts of all cells live in one arena of large blocks that never move; a row is six small
// references into it, so a long list stays in few pages and rows move without their bytes.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/prefetch.h"

namespace lq {

enum Column : int {
  colDueDate = 0,
  colDaysLeft = 1,
  colText = 2,
  colUpdated = 3,
  colAttachment = 4,
  colFlags = 5,
};
inline constexpr int kColumnCount = 6;

// A row as values, for the few places that keep a row beyond the table's changes.
using TaskRow = std::array<std::string, kColumnCount>;

// The cells of one row, read-only. Views into the table stay valid until the table's next
// sort (which may compact its texts), ClearTasks, or an assignment of the whole table.
class RowView {
 public:
  RowView() = default;
  RowView(const TaskRow& row) {  // NOLINT: a value row reads like a table row
    for (std::size_t c = 0; c < cells_.size(); ++c) cells_[c] = row[c];
  }
  explicit RowView(const std::array<std::string_view, kColumnCount>& cells) : cells_(cells) {}
  std::string_view operator[](std::size_t col) const { return cells_[col]; }
  TaskRow Copy() const {
    TaskRow row;
    for (std::size_t c = 0; c < cells_.size(); ++c) row[c] = std::string(cells_[c]);
    return row;
  }
  friend bool operator==(const RowView& a, const RowView& b) { return a.cells_ == b.cells_; }

 private:
  std::array<std::string_view, kColumnCount> cells_;
};

// Column widths at creation; columns 3 to 5 lie beyond the visible area.
inline constexpr std::array<int, kColumnCount> kInitialColumnWidths{96, 32, 224, 1, 1, 1};

// The value a days-left text stands for when it is not an integer (the done mark, empty).
inline constexpr std::int32_t kNotANumber = 2147483647;

enum class UrgencyClass { Title, Expiration, Deadline, Preview1, Preview2, Preview3, Done };
inline constexpr int kUrgencyClassCount = 7;

// colDaysLeft read as an integer, kNotANumber when it is not one.
std::int32_t DaysValue(std::string_view daysLeft);
UrgencyClass ClassOfDays(std::int32_t d);
inline UrgencyClass ClassOfDaysText(std::string_view daysLeft) { return ClassOfDays(DaysValue(daysLeft)); }

bool IsDoneMark(std::string_view daysLeft);
// Web address rule for attachments: "http://" or "https://", letter case as written.
bool IsWebAddress(std::string_view attachment);

class TaskTable {
 public:
  TaskTable();
  explicit TaskTable(const std::vector<TaskRow>& rows);  // row 0 first; at least two rows result
  TaskTable(const TaskTable& other);
  TaskTable& operator=(const TaskTable& other);
  // A table moved from is empty (no rows) and writes no more into the blocks it gave away.
  TaskTable(TaskTable&& other) noexcept { *this = std::move(other); }
  TaskTable& operator=(TaskTable&& other) noexcept;

  int RowCount() const { return static_cast<int>(rows_.size()); }
  void SetRowCount(int count);  // never below 2; new rows are empty

  std::string_view Cell(int col, int row) const {
    const CellRef c = rows_[Index(row)][Index(col)];
    return {Place(c.address), c.size};
  }
  // `text` may view this table's own cells.
  void SetCell(int col, int row, std::string_view text);
  RowView Row(int row) const;
  TaskRow RowCopy(int row) const { return Row(row).Copy(); }
  void SetRow(int row, const RowView& cells);

  // A row is a task when its due date, without surrounding blanks, is not empty.
  bool IsTask(int row) const;
  bool IsDone(int row) const { return IsDoneMark(Cell(colDaysLeft, row)); }
  // The number of task rows (they run without a gap from row 1).
  int TaskCount() const;

  void SetHeaderCaptions();  // "期限", "日数", "", "最終更新", "添付ファイル", "フラグ"
  void ClearTasks();         // every task cell emptied, RowCount 2
  // Row 1 + i takes the row that was at rows[i], for every i; in place.
  void PermuteRows(const std::vector<int>& rows);
  // Row `to` takes the cells of row `from`, which is left empty.
  void MoveRow(int from, int to);
  void ClearRow(int row);
  void AppendRow();          // an empty row after the last one
  // Every later row moves up one place, the last row is emptied and RowCount drops by one
  // while it is above 2.
  void RemoveRow(int row);
  // Removes every row r from 1 on with gone[r], in one pass: the same table as RemoveRow on
  // each of them, from the last one up. `gone` has an entry for every row.
  void RemoveRows(const std::vector<bool>& gone);
  // Inserts empty rows that then stand at the places `at` (ascending, from 1), every other
  // row keeping its order, in one pass. The blank row of a table without tasks gives way.
  void OpenRows(const std::vector<int>& at);

  // The list's number for the sort key of a row's due date and text. It moves with the row
  // and is dropped (kNoKey) when either of the two changes; a copy of the table has none.
  static constexpr std::uint32_t kNoKey = UINT32_MAX;
  std::uint32_t KeyTag(int row) const { return keyTags_[Index(row)].key; }
  void SetKeyTag(int row, std::uint32_t tag) { keyTags_[Index(row)].key = tag; }

  // The list's sort marks each task it has put in place: the row then still holds what the
  // sort saw (any write to one of its cells, and a new or cleared row, takes the mark away),
  // it stands in order among the other marked rows, and `done` says whether it was done. A
  // sort passes over marked rows without reading their texts. The marks move with their rows;
  // a copy of the table has none.
  bool Checked(int row) const { return keyTags_[Index(row)].checked; }
  bool CheckedDone(int row) const { return keyTags_[Index(row)].done; }
  void MarkChecked(int row, bool done) {
    keyTags_[Index(row)].checked = true;
    keyTags_[Index(row)].done = done;
  }
  // What the marks were made under (the list's day and its order of done tasks); they hold
  // only under the same.
  std::int64_t CheckedUnder() const { return checkedUnder_; }
  void SetCheckedUnder(std::int64_t under) { checkedUnder_ = under; }

  // Asks the processor for a row's memory ahead of filling it (a loader fills rows out of turn).
  LQ_PREFETCH_INLINE void PrefetchRow(int row) const {
    PrefetchForWriting(&rows_[Index(row)]);
    PrefetchForWriting(&keyTags_[Index(row)]);
  }
  // Asks for a row's texts ahead of reading them: after a load they lie in the file's order,
  // not the rows'. The due date begins the task's line and the text ends it.
  LQ_PREFETCH_INLINE void PrefetchTexts(int row) const {
    const std::string_view text = Cell(colText, row);
    Prefetch(Cell(colDueDate, row).data());
    Prefetch(text.data() + text.size());
    Prefetch(Cell(colDaysLeft, row).data());
  }
  void ReserveRows(std::size_t count) {
    rows_.reserve(count);
    keyTags_.reserve(count);
  }
  // Room for `bytes` more text without a further block (a load knows its size).
  void ReserveText(std::size_t bytes);
  // Takes `text` (a whole file just read) into the arena as it is, so cells can be made of
  // pieces of it without copying them (ReferCell). Views into `text` stay valid.
  void AdoptText(std::string&& text);
  // The cell becomes `piece`, which lies in the text adopted last and is seen by no other cell
  // (a later overwrite that fits is written in place). Anything else is copied, as by SetCell.
  void ReferCell(int col, int row, std::string_view piece);
  // Writes every cell anew, in row order, into fresh blocks, when overwritten texts take more
  // room than the live ones. Every view into the table becomes invalid.
  void CompactIfWasteful();
  void Compact();
  // Bytes of text the blocks hold, and bytes the cells still use.
  std::size_t ArenaBytes() const { return arenaBytes_; }
  std::size_t LiveBytes() const { return liveBytes_; }

 private:
  // A cell's place is an address in the arena: the chunk's number above kChunkBits, the offset
  // in it below. A block of S bytes takes ceil(S / chunk) consecutive chunks, so the addresses
  // of one block run on without a gap and a text may cross a chunk's end. The place is as long
  // as the text: an overwrite that fits stays there and gives up the rest.
  static constexpr unsigned kChunkBits = 16;
  static constexpr std::uint32_t kChunkMask = (std::uint32_t{1} << kChunkBits) - 1;
  struct CellRef {
    std::uint32_t address = 0;  // the empty cell needs no chunk of its own
    std::uint32_t size = 0;
  };
  static_assert(sizeof(CellRef) == 8, "a row is meant to fill 48 bytes");
  using Cells = std::array<CellRef, kColumnCount>;

  static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
  char* Place(std::uint32_t address) const { return chunkTable_[address >> kChunkBits] + (address & kChunkMask); }
  std::uint32_t Allocate(std::size_t bytes);
  std::uint32_t AddBlock(std::size_t bytes);
  std::uint32_t AddChunks(char* start, std::size_t bytes);
  void Release(const Cells& row);
  void CopyFrom(const TaskTable& other);
  void ResetChunkTable() { chunkTable_ = chunks_.empty() ? kNoChunks : chunks_.data(); }

  // Where the empty cells of a table without chunks point.
  static inline char noText_[1] = {};
  static inline char* const kNoChunks[1] = {noText_};

  // A row's key tag and sort mark. Made of a bare tag (kNoKey for a row without one), a mark
  // is unset.
  struct RowMark {
    RowMark() = default;
    RowMark(std::uint32_t tag) : key(tag) {}  // NOLINT: a tag alone is a row without its mark
    std::uint32_t key = kNoKey;
    bool checked = false;
    bool done = false;
  };

  std::vector<Cells> rows_;
  std::vector<RowMark> keyTags_;  // beside rows_, row by row
  std::int64_t checkedUnder_ = -1;
  std::vector<std::unique_ptr<char[]>> blocks_;
  // Adopted texts, each held where it is (a string object never moves here).
  std::vector<std::unique_ptr<std::string>> adopted_;
  std::uint32_t adoptedAddress_ = 0;  // where the text adopted last begins
  std::vector<char*> chunks_;  // the start of each chunk, inside its block
  char* const* chunkTable_ = kNoChunks;
  std::uint32_t freeAddress_ = 0;  // the unused end of the block being filled
  std::size_t freeBytes_ = 0;
  std::size_t arenaBytes_ = 0;   // bytes handed out
  std::size_t liveBytes_ = 0;    // sizes of the cells in rows_
};

}  // namespace lq
