#include "store/search.h"

#include <algorithm>

#include "store/prefetch.h"
#include "store/text.h"

namespace lq {

bool ContainsAtCharacter(std::string_view text, std::string_view word) {
  if (word.empty()) return true;
  // Most texts of a long list do not hold the bytes at all: the library's search tells that
  // fast, and only a text that holds them is walked character by character.
  if (text.find(word) == std::string_view::npos) return false;
  for (std::size_t i = 0; i + word.size() <= text.size();) {
    if (text.compare(i, word.size(), word) == 0) return true;
    i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return false;
}

std::string_view SearchTextOf(std::string_view boxText) {
  return boxText.substr(0, std::min(boxText.find_first_of("\r\n"), boxText.size()));
}

std::optional<int> FindTaskRow(const TaskTable& table, int from, std::string_view word, SearchDirection direction) {
  if (direction == SearchDirection::Up) {
    for (int r = std::min(from, table.RowCount()) - 1; r >= 1; --r) {
      if (r > kPrefetchAhead) table.PrefetchTexts(r - kPrefetchAhead);
      if (ContainsAtCharacter(table.Cell(colText, r), word)) return r;
    }
  } else {
    for (int r = std::max(from, 0) + 1; r < table.RowCount(); ++r) {
      if (r + kPrefetchAhead < table.RowCount()) table.PrefetchTexts(r + kPrefetchAhead);
      if (ContainsAtCharacter(table.Cell(colText, r), word)) return r;
    }
  }
  return std::nullopt;
}

bool SearchTasks(TaskList& list, std::string_view word, SearchDirection direction) {
  const int offset = std::max(0, list.CurrentRow() - list.TopRow());
  const auto found = FindTaskRow(list.Table(), list.CurrentRow(), word, direction);
  if (!found) return false;
  list.SetCurrentRow(*found);
  if (list.Table().RowCount() - 1 > list.VisibleRowCount()) list.SetTopRow(std::max(1, *found - offset));
  return true;
}

}  // namespace lq
