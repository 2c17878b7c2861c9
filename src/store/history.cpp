#include "store/history.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "store/text.h"

namespace lq {

TaskIdentityView IdentityView(const RowView& row) {
  return {row[colUpdated], row[colDueDate], TrimBlanks(row[colText]), row[colAttachment], row[colFlags],
          IsDoneMark(row[colDaysLeft])};
}

// ---------------------------------------------------------------------------------------------

void RowStore::Add(int position, const RowView& row) {
  for (std::size_t c = 0; c < kColumnCount; ++c) {
    const std::string_view cell = row[c];
    if (cell.size() > UINT32_MAX - bytes_.size()) throw std::length_error("undo step too large");
    bytes_.append(cell);
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
  }
  positions_.push_back(position);
}

RowView RowStore::Row(std::size_t i) const {
  std::array<std::string_view, kColumnCount> cells;
  std::size_t begin = i == 0 ? 0 : ends_[i * kColumnCount - 1];
  for (std::size_t c = 0; c < kColumnCount; ++c) {
    const std::size_t end = ends_[i * kColumnCount + c];
    cells[c] = std::string_view(bytes_.data() + begin, end - begin);
    begin = end;
  }
  return RowView(cells);
}

std::vector<std::size_t> RowStore::SortByPosition() {
  std::vector<std::size_t> order(Size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (std::is_sorted(positions_.begin(), positions_.end())) return order;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return positions_[a] < positions_[b]; });
  RowStore sorted;
  sorted.bytes_.reserve(bytes_.size());
  sorted.ends_.reserve(ends_.size());
  sorted.positions_.reserve(positions_.size());
  for (const std::size_t i : order) sorted.Add(positions_[i], Row(i));
  *this = std::move(sorted);
  return order;
}

bool RowStore::SamePlacesAndBytes(const RowStore& other) const {
  if (positions_ != other.positions_) return false;
  for (std::size_t i = 0; i < Size(); ++i) {
    if (!(Row(i) == other.Row(i))) return false;
  }
  return true;
}

std::size_t RowStore::Bytes() const {
  return sizeof(RowStore) + bytes_.capacity() + ends_.capacity() * sizeof(std::uint32_t) +
         positions_.capacity() * sizeof(int);
}

// ---------------------------------------------------------------------------------------------

void UndoHistory::SetLimits(std::size_t maxSteps, std::size_t maxBytes) {
  maxSteps_ = std::max<std::size_t>(1, maxSteps);
  maxBytes_ = maxBytes;
  Trim();
}

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
  bytes_ = 0;
}

void UndoHistory::Push(Step step) {
  DropRedo();
  bytes_ += step.Bytes();
  undo_.push_back(std::move(step));
  Trim();
}

void UndoHistory::Trim() {
  while (undo_.size() > 1 && (undo_.size() + redo_.size() > maxSteps_ || bytes_ > maxBytes_)) {
    bytes_ -= undo_.front().Bytes();
    undo_.pop_front();
  }
}

void UndoHistory::MoveToRedo() {
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
}

void UndoHistory::MoveToUndo() {
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
}

void UndoHistory::DropUndoFromTop() {
  for (const Step& s : undo_) bytes_ -= s.Bytes();
  undo_.clear();
}

void UndoHistory::DropRedo() {
  for (const Step& s : redo_) bytes_ -= s.Bytes();
  redo_.clear();
}

void UndoHistory::DropTop() {
  bytes_ -= undo_.back().Bytes();
  undo_.pop_back();
}

void UndoHistory::TopResized(std::size_t oldBytes) {
  bytes_ = bytes_ - oldBytes + undo_.back().Bytes();
  Trim();
}

}  // namespace lq
