#include "store/tasktable.h"

#include "store/text.h"


namespace lq {

std::int32_t DaysValue(std::string_view daysLeft) {
  const auto v = ParseInt32(daysLeft);
  return v ? *v : kNotANumber;
}

UrgencyClass ClassOfDays(std::int32_t d) {
  if (d < 0) return UrgencyClass::Expiration;
  if (d == 0) return UrgencyClass::Deadline;
  if (d <= 3) return UrgencyClass::Preview1;
  if (d <= 7) return UrgencyClass::Preview2;
  if (d == kNotANumber) return UrgencyClass::Done;
  return UrgencyClass::Preview3;
}

bool IsDoneMark(std::string_view daysLeft) { return daysLeft == kDoneMark; }

bool IsWebAddress(std::string_view attachment) {
  return attachment.starts_with("http://") || attachment.starts_with("https://");
}

TaskTable::TaskTable() : rows_(2) {}

TaskTable::TaskTable(std::vector<TaskRow> rows) : rows_(std::move(rows)) {
  if (rows_.size() < 2) rows_.resize(2);
}

void TaskTable::SetRowCount(int count) { rows_.resize(Index(count < 2 ? 2 : count)); }

bool TaskTable::IsTask(int row) const {
  return row >= 1 && row < RowCount() && !TrimBlanks(Cell(colDueDate, row)).empty();
}

int TaskTable::TaskCount() const {
  int n = 0;
  while (n + 1 < RowCount() && IsTask(n + 1)) ++n;
  return n;
}

void TaskTable::SetHeaderCaptions() {
  rows_[0] = TaskRow{
      "\x8A\xFA\x8C\xC0",                          // 期限
      "\x93\xFA\x90\x94",                          // 日数
      "",                                          //
      "\x8D\xC5\x8F\x49\x8D\x58\x90\x56",          // 最終更新
      "\x93\x59\x95\x74\x83\x74\x83\x40\x83\x43\x83\x8B",  // 添付ファイル
      "\x83\x74\x83\x89\x83\x4F",                  // フラグ
  };
}

void TaskTable::ClearTasks() {
  rows_.resize(2);
  rows_[1] = TaskRow{};
}

void TaskTable::PermuteRows(const std::vector<int>& rows) {
  // Follows each cycle of the permutation, so every row moves once and nothing is copied.
  std::vector<bool> placed(rows.size(), false);
  for (std::size_t start = 0; start < rows.size(); ++start) {
    if (placed[start]) continue;
    if (static_cast<std::size_t>(rows[start]) == start + 1) continue;  // stays where it is
    TaskRow carried = std::move(rows_[start + 1]);
    std::size_t target = start;
    for (;;) {
      placed[target] = true;
      const std::size_t source = static_cast<std::size_t>(rows[target]) - 1;
      if (source == start) {
        rows_[target + 1] = std::move(carried);
        break;
      }
      rows_[target + 1] = std::move(rows_[source + 1]);
      target = source;
    }
  }
}

void TaskTable::AppendRow() { rows_.emplace_back(); }

void TaskTable::RemoveRow(int row) {
  if (row < 1 || row >= RowCount()) return;
  for (int r = row; r + 1 < RowCount(); ++r) rows_[Index(r)] = std::move(rows_[Index(r + 1)]);
  rows_.back() = TaskRow{};
  if (RowCount() > 2) rows_.pop_back();
}

}  // namespace lq
