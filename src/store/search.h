#pragma once
// Finding a task by a piece of its text, from the current row upwards or downwards.

#include <optional>
#include <string>
#include <string_view>

#include "store/tasklist.h"
#include "store/tasktable.h"

namespace lq {

// True when `text` holds `word` starting at a character: the second byte of a double-byte
// character is never the start of a match (ポ ends in "|", 表 in "\"). Byte for byte, letter
// case as written.
bool ContainsAtCharacter(std::string_view text, std::string_view word);

// The task rows are one line each, so a search text is its first line: a text pasted with a
// line break searches (and is remembered) as what stands before the break.
std::string_view SearchTextOf(std::string_view boxText);

enum class SearchDirection { Up, Down };

// The first row after (Down) or before (Up) `from` whose task text holds `word`; the row
// `from` itself is never examined and the search does not wrap.
std::optional<int> FindTaskRow(const TaskTable& table, int from, std::string_view word, SearchDirection direction);

// Searches from the current row; a found row becomes current and, when the list is longer than
// the window, stands as far from the top row as the current row did. False when nothing was
// found: then nothing moves.
bool SearchTasks(TaskList& list, std::string_view word, SearchDirection direction);

}  // namespace lq
