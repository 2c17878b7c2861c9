#include "store/tasktable.h"

#include <cstring>
#include <stdexcept>
#include <utility>

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

namespace {

// Blocks of this size hold the cells; a cell of more than a quarter of it gets a block of its
// own, so a long text never wastes the rest of a shared one.
constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kOwnBlockBytes = kBlockBytes / 4;
// 2^32 bytes of addresses; a task file is far smaller.
constexpr std::size_t kMaxChunks = std::size_t{1} << 16;

}  // namespace

TaskTable::TaskTable() : rows_(2), keyTags_(2, kNoKey) {}

TaskTable::TaskTable(const std::vector<TaskRow>& rows)
    : rows_(rows.size() < 2 ? 2 : rows.size()), keyTags_(rows_.size(), kNoKey) {
  std::size_t bytes = 0;
  for (const TaskRow& row : rows) {
    for (const std::string& cell : row) bytes += cell.size();
  }
  ReserveText(bytes);
  for (std::size_t r = 0; r < rows.size(); ++r) SetRow(static_cast<int>(r), rows[r]);
}

TaskTable::TaskTable(const TaskTable& other) { CopyFrom(other); }

TaskTable& TaskTable::operator=(const TaskTable& other) {
  if (this != &other) {
    TaskTable copy(other);
    *this = std::move(copy);
  }
  return *this;
}

TaskTable& TaskTable::operator=(TaskTable&& other) noexcept {
  if (this != &other) {
    rows_ = std::move(other.rows_);
    keyTags_ = std::move(other.keyTags_);
    checkedUnder_ = std::exchange(other.checkedUnder_, -1);
    blocks_ = std::move(other.blocks_);
    adopted_ = std::move(other.adopted_);
    adoptedAddress_ = std::exchange(other.adoptedAddress_, 0);
    chunks_ = std::move(other.chunks_);
    freeAddress_ = std::exchange(other.freeAddress_, 0);
    freeBytes_ = std::exchange(other.freeBytes_, 0);
    arenaBytes_ = std::exchange(other.arenaBytes_, 0);
    liveBytes_ = std::exchange(other.liveBytes_, 0);
    other.rows_.clear();
    other.keyTags_.clear();
    other.blocks_.clear();
    other.adopted_.clear();
    other.chunks_.clear();
    ResetChunkTable();
    other.ResetChunkTable();
  }
  return *this;
}

void TaskTable::CopyFrom(const TaskTable& other) {
  std::size_t small = 0;
  for (const Cells& row : other.rows_) {
    for (const CellRef& c : row) {
      if (c.size <= kOwnBlockBytes) small += c.size;
    }
  }
  rows_.assign(other.rows_.size(), Cells{});
  keyTags_.assign(rows_.size(), kNoKey);
  ReserveText(small);
  for (int r = 0; r < RowCount(); ++r) {
    if (r + kPrefetchAhead < RowCount()) other.PrefetchTexts(r + kPrefetchAhead);
    SetRow(r, other.Row(r));
  }
}

std::uint32_t TaskTable::AddBlock(std::size_t bytes) {
  const std::size_t count = (bytes + kChunkMask) >> kChunkBits;
  if (count > kMaxChunks - chunks_.size()) throw std::length_error("task texts too long");
  blocks_.push_back(std::make_unique_for_overwrite<char[]>(bytes));
  return AddChunks(blocks_.back().get(), bytes);
}

std::uint32_t TaskTable::AddChunks(char* start, std::size_t bytes) {
  const std::size_t count = (bytes + kChunkMask) >> kChunkBits;
  if (count > kMaxChunks - chunks_.size()) throw std::length_error("task texts too long");
  const std::size_t first = chunks_.size();
  chunks_.resize(first + count);
  for (std::size_t i = 0; i < count; ++i) chunks_[first + i] = start + (i << kChunkBits);
  ResetChunkTable();
  return static_cast<std::uint32_t>(first << kChunkBits);
}

void TaskTable::AdoptText(std::string&& text) {
  auto held = std::make_unique<std::string>(std::move(text));
  if (held->empty()) return;
  adoptedAddress_ = AddChunks(held->data(), held->size());
  arenaBytes_ += held->size();
  adopted_.push_back(std::move(held));
}

void TaskTable::ReferCell(int col, int row, std::string_view piece) {
  if (adopted_.empty()) return SetCell(col, row, piece);
  const std::string& text = *adopted_.back();
  // Addresses of unrelated objects are compared as numbers: the piece may lie anywhere.
  const auto at = reinterpret_cast<std::uintptr_t>(piece.data());
  const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
  if (piece.empty() || piece.size() > text.size() || at < begin || at - begin > text.size() - piece.size()) {
    return SetCell(col, row, piece);
  }
  CellRef& c = rows_[Index(row)][Index(col)];
  keyTags_[Index(row)].checked = false;
  if ((col == colDueDate || col == colText) && keyTags_[Index(row)].key != kNoKey && piece != Cell(col, row)) {
    keyTags_[Index(row)].key = kNoKey;
  }
  liveBytes_ = liveBytes_ - c.size + piece.size();
  c = CellRef{static_cast<std::uint32_t>(adoptedAddress_ + static_cast<std::size_t>(piece.data() - text.data())),
              static_cast<std::uint32_t>(piece.size())};
}

std::uint32_t TaskTable::Allocate(std::size_t bytes) {
  if (bytes > kOwnBlockBytes) {
    const std::uint32_t address = AddBlock(bytes);
    arenaBytes_ += bytes;
    return address;
  }
  if (bytes > freeBytes_) ReserveText(kBlockBytes);
  const std::uint32_t place = freeAddress_;
  // The last byte of a full block may sit at the top of the address space.
  freeAddress_ = static_cast<std::uint32_t>(freeAddress_ + bytes);
  freeBytes_ -= bytes;
  arenaBytes_ += bytes;
  return place;
}

void TaskTable::ReserveText(std::size_t bytes) {
  if (bytes <= freeBytes_) return;
  const std::size_t size = bytes < kBlockBytes ? kBlockBytes : bytes;
  freeAddress_ = AddBlock(size);
  freeBytes_ = size;
}

void TaskTable::SetCell(int col, int row, std::string_view text) {
  if (text.size() > UINT32_MAX) throw std::length_error("cell text too long");
  CellRef& c = rows_[Index(row)][Index(col)];
  keyTags_[Index(row)].checked = false;
  if ((col == colDueDate || col == colText) && keyTags_[Index(row)].key != kNoKey && text != Cell(col, row)) {
    keyTags_[Index(row)].key = kNoKey;
  }
  const auto size = static_cast<std::uint32_t>(text.size());
  if (size <= c.size) {
    if (size > 0) std::memmove(Place(c.address), text.data(), size);  // `text` may overlap the cell
    liveBytes_ -= c.size - size;
    c.size = size;
    return;
  }
  const std::uint32_t address = Allocate(size);  // no block moves, so `text` stays where it was
  std::memcpy(Place(address), text.data(), size);
  liveBytes_ += size - c.size;
  c = CellRef{address, size};
}

RowView TaskTable::Row(int row) const {
  std::array<std::string_view, kColumnCount> cells;
  for (int c = 0; c < kColumnCount; ++c) cells[Index(c)] = Cell(c, row);
  return RowView(cells);
}

void TaskTable::SetRow(int row, const RowView& cells) {
  for (int c = 0; c < kColumnCount; ++c) SetCell(c, row, cells[Index(c)]);
}

void TaskTable::Release(const Cells& row) {
  for (const CellRef& c : row) liveBytes_ -= c.size;
}

void TaskTable::SetRowCount(int count) {
  const std::size_t n = Index(count < 2 ? 2 : count);
  for (std::size_t r = n; r < rows_.size(); ++r) Release(rows_[r]);
  rows_.resize(n);
  keyTags_.resize(n, kNoKey);
}

bool TaskTable::IsTask(int row) const {
  return row >= 1 && row < RowCount() && !TrimBlanks(Cell(colDueDate, row)).empty();
}

int TaskTable::TaskCount() const {
  int n = 0;
  while (n + 1 < RowCount() && IsTask(n + 1)) ++n;
  return n;
}

void TaskTable::SetHeaderCaptions() {
  SetRow(0, TaskRow{
                "\x8A\xFA\x8C\xC0",                                  // 期限
                "\x93\xFA\x90\x94",                                  // 日数
                "",                                                  //
                "\x8D\xC5\x8F\x49\x8D\x58\x90\x56",                  // 最終更新
                "\x93\x59\x95\x74\x83\x74\x83\x40\x83\x43\x83\x8B",  // 添付ファイル
                "\x83\x74\x83\x89\x83\x4F",                          // フラグ
            });
}

void TaskTable::ClearTasks() {
  const TaskRow header = RowCopy(0);
  rows_.assign(2, Cells{});
  keyTags_.assign(2, kNoKey);
  blocks_.clear();
  adopted_.clear();
  chunks_.clear();
  ResetChunkTable();
  freeAddress_ = 0;
  freeBytes_ = 0;
  arenaBytes_ = 0;
  liveBytes_ = 0;
  SetRow(0, header);
}

void TaskTable::PermuteRows(const std::vector<int>& rows) {
  // Follows each cycle of the permutation, so every row moves once.
  std::vector<bool> placed(rows.size(), false);
  for (std::size_t start = 0; start < rows.size(); ++start) {
    if (placed[start]) continue;
    if (static_cast<std::size_t>(rows[start]) == start + 1) continue;  // stays where it is
    const Cells carried = rows_[start + 1];
    const RowMark carriedTag = keyTags_[start + 1];
    std::size_t target = start;
    for (;;) {
      placed[target] = true;
      const std::size_t source = static_cast<std::size_t>(rows[target]) - 1;
      if (source == start) {
        rows_[target + 1] = carried;
        keyTags_[target + 1] = carriedTag;
        break;
      }
      rows_[target + 1] = rows_[source + 1];
      keyTags_[target + 1] = keyTags_[source + 1];
      target = source;
    }
  }
}

void TaskTable::MoveRow(int from, int to) {
  if (from == to) return;
  Release(rows_[Index(to)]);
  rows_[Index(to)] = rows_[Index(from)];
  rows_[Index(from)] = Cells{};
  keyTags_[Index(to)] = keyTags_[Index(from)];
  keyTags_[Index(from)] = kNoKey;
}

void TaskTable::ClearRow(int row) {
  Release(rows_[Index(row)]);
  rows_[Index(row)] = Cells{};
  keyTags_[Index(row)] = kNoKey;
}

void TaskTable::AppendRow() {
  rows_.emplace_back();
  keyTags_.push_back(kNoKey);
}

void TaskTable::RemoveRow(int row) {
  if (row < 1 || row >= RowCount()) return;
  Release(rows_[Index(row)]);
  rows_.erase(rows_.begin() + row);
  keyTags_.erase(keyTags_.begin() + row);
  if (rows_.size() < 2) AppendRow();
}

void TaskTable::RemoveRows(const std::vector<bool>& gone) {
  std::size_t kept = 1;
  for (std::size_t r = 1; r < rows_.size(); ++r) {
    if (gone[r]) {
      Release(rows_[r]);
      continue;
    }
    if (r != kept) {
      rows_[kept] = rows_[r];
      keyTags_[kept] = keyTags_[r];
    }
    ++kept;
  }
  rows_.resize(kept);
  keyTags_.resize(kept);
  if (rows_.size() < 2) AppendRow();
}

void TaskTable::OpenRows(const std::vector<int>& at) {
  if (at.empty()) return;
  if (RowCount() == 2 && !IsTask(1)) {
    Release(rows_[1]);
    rows_.resize(1);
    keyTags_.resize(1);
  }
  const std::size_t total = rows_.size() + at.size();
  for (std::size_t j = 0; j < at.size(); ++j) {
    if (at[j] < 1 || static_cast<std::size_t>(at[j]) >= total || (j > 0 && at[j] <= at[j - 1])) {
      throw std::invalid_argument("rows opened out of order");
    }
  }
  std::size_t source = rows_.size();
  rows_.resize(total);
  keyTags_.resize(total, kNoKey);
  // From the end down: each row moves once, by the number of new rows above it.
  std::size_t j = at.size();
  for (std::size_t dest = total - 1; j > 0; --dest) {
    if (static_cast<std::size_t>(at[j - 1]) == dest) {
      rows_[dest] = Cells{};
      keyTags_[dest] = kNoKey;
      --j;
    } else {
      --source;
      rows_[dest] = rows_[source];
      keyTags_[dest] = keyTags_[source];
    }
  }
}

void TaskTable::CompactIfWasteful() {
  if (arenaBytes_ > 2 * liveBytes_ + kBlockBytes) Compact();
}

void TaskTable::Compact() {
  TaskTable fresh(*this);
  fresh.keyTags_ = std::move(keyTags_);
  fresh.checkedUnder_ = checkedUnder_;
  *this = std::move(fresh);
}

}  // namespace lq
