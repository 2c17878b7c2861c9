// Task-file reader: any bytes load without harm, and whatever the writer then produces reads
// back into the same tasks (text and attachment without their surrounding blanks), with no
// line skipped.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/taskfile.h"
#include "store/text.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  __builtin_trap();
  (void)what;
}

std::string OneLine(std::string_view s) {
  std::string out(lq::TrimBlanks(s));
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

std::vector<lq::TaskRow> Normalised(const std::vector<lq::TaskRow>& rows) {
  std::vector<lq::TaskRow> out = rows;
  for (lq::TaskRow& r : out) {
    r[lq::colText] = OneLine(r[lq::colText]);
    r[lq::colAttachment] = OneLine(r[lq::colAttachment]);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<lq::TaskRow> Rows(const lq::TaskTable& t) {
  std::vector<lq::TaskRow> rows;
  for (int r = 1; r < t.RowCount(); ++r) {
    if (t.IsTask(r)) rows.push_back(t.RowCopy(r));
  }
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lq::ByteCollation collation;
  const lq::Date today{2024, 3, 15};
  const std::string stamp = "20240315080000000";
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const lq::ParsedTaskFile first = lq::ParseTaskFile(bytes, collation, today, stamp);
  if (first.notDone + first.done != first.table.TaskCount()) Fail("counters");
  const std::string saved = lq::FormatTaskFile(first.table);
  const lq::ParsedTaskFile second = lq::ParseTaskFile(saved, collation, today, stamp);

  if (second.layout != lq::TaskFileLayout::Format32) Fail("layout");
  if (second.skippedLines != 0 || second.blankLines != 0) Fail("written line not readable");
  if (second.notDone != first.notDone || second.done != first.done) Fail("counters changed");
  if (Normalised(Rows(second.table)) != Normalised(Rows(first.table))) Fail("tasks changed");
  return 0;
}
