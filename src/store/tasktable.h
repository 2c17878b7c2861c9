#pragma once
// The task table: row 0 is the header, every further row one task, six text columns. It is
// the task grid's content; there is no other copy of the tasks.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

using TaskRow = std::array<std::string, kColumnCount>;

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
  explicit TaskTable(std::vector<TaskRow> rows);  // row 0 first; at least two rows result

  int RowCount() const { return static_cast<int>(rows_.size()); }
  void SetRowCount(int count);  // never below 2; new rows are empty

  std::string& Cell(int col, int row) { return rows_[Index(row)][Index(col)]; }
  const std::string& Cell(int col, int row) const { return rows_[Index(row)][Index(col)]; }
  TaskRow& Row(int row) { return rows_[Index(row)]; }
  const TaskRow& Row(int row) const { return rows_[Index(row)]; }

  // A row is a task when its due date, without surrounding blanks, is not empty.
  bool IsTask(int row) const;
  bool IsDone(int row) const { return IsDoneMark(Cell(colDaysLeft, row)); }
  // The number of task rows (they run without a gap from row 1).
  int TaskCount() const;

  void SetHeaderCaptions();  // "期限", "日数", "", "最終更新", "添付ファイル", "フラグ"
  void ClearTasks();         // every task cell emptied, RowCount 2
  // Row 1 + i takes the row that was at rows[i], for every i; in place.
  void PermuteRows(const std::vector<int>& rows);
  void AppendRow();          // an empty row after the last one
  // Every later row moves up one place, the last row is emptied and RowCount drops by one
  // while it is above 2.
  void RemoveRow(int row);

 private:
  static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
  std::vector<TaskRow> rows_;
};

}  // namespace lq
