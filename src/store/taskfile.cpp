#include "store/taskfile.h"

#include <algorithm>

#include "store/keyorder.h"
#include "store/text.h"

namespace lq {
namespace {

// The 0-based offset and size of the stamp and mark fields, and where the text or the
// attachment field begins, by layout.
constexpr std::size_t kDateBytes = 14;

bool IsBlankLine(std::string_view line) { return TrimBlanks(line).empty(); }

// Line breaks inside a cell would split the task over two lines of the file.
void AppendOneLine(std::string& out, std::string_view cell) {
  const std::size_t start = out.size();
  out.append(cell);
  for (std::size_t i = start; i < out.size(); ++i) {
    if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
  }
}

struct LineFields {
  std::string_view stamp;
  std::string_view mark;
  std::string_view attachment;
  std::string_view flags;
  std::string_view text;
};

// Splits one task line by its layout; empty when the line is too short or lacks its bars.
std::optional<LineFields> SplitTaskLine(std::string_view line, TaskFileLayout layout) {
  LineFields f;
  switch (layout) {
    case TaskFileLayout::Format32:
    case TaskFileLayout::Format21: {
      if (line.size() < 38) return std::nullopt;
      f.stamp = line.substr(15, 17);
      f.mark = line.substr(33, 2);
      const std::string_view rest = line.substr(37);  // from byte 38
      const std::size_t p = rest.find('|');
      if (p == std::string_view::npos) return std::nullopt;
      f.attachment = rest.substr(0, p);
      const std::size_t after = 37 + p + 1;  // the byte that follows that bar
      if (after < line.size() && line[after] == ',') {
        f.text = line.substr(after + 1);
      } else {
        const std::string_view rest2 = line.substr(std::min(after, line.size()));
        const std::size_t q = rest2.find("|,");
        if (q == std::string_view::npos) return std::nullopt;
        f.flags = rest2.substr(0, q);
        f.text = rest2.substr(q + 2);
      }
      return f;
    }
    case TaskFileLayout::Format11:
      if (line.size() < 36) return std::nullopt;
      f.stamp = line.substr(15, 17);
      f.mark = line.substr(33, 2);
      f.text = line.substr(36);
      return f;
    case TaskFileLayout::Headerless:
      if (line.size() < 18) return std::nullopt;
      f.mark = line.substr(15, 2);
      f.text = line.substr(18);
      return f;
    case TaskFileLayout::None:
      break;
  }
  return std::nullopt;
}

TaskFileLayout LayoutOfHeader(std::string_view line) {
  const std::string_view t = TrimBlanks(line);
  if (t == kHeader32) return TaskFileLayout::Format32;
  if (t == kHeader21) return TaskFileLayout::Format21;
  if (t == kHeader11) return TaskFileLayout::Format11;
  return TaskFileLayout::None;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

ParsedTaskFile ParseTaskFile(std::string_view bytes, const Collation& collation, Date today,
                             std::string_view startStamp) {
  ParsedTaskFile result;
  std::vector<std::string_view> lines;
  for (const std::string_view line : SplitLines(bytes)) {
    if (IsBlankLine(line)) {
      ++result.blankLines;  // an empty line sorts first and would hide the header
    } else {
      lines.push_back(line);
    }
  }
  if (lines.empty()) return result;

  // The header: a stray line that sorts before it (a hand-written note, say) must not turn the
  // whole file into the headerless layout, so the header line that sorts first counts.
  result.layout = TaskFileLayout::Headerless;
  std::size_t headerAt = lines.size();
  {
    KeyOrder headers(collation);
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (LayoutOfHeader(lines[i]) != TaskFileLayout::None) {
        candidates.push_back(i);
        headers.Add(lines[i]);
      }
    }
    if (!candidates.empty()) {
      headerAt = candidates[headers.Sorted(true).front()];
      result.layout = LayoutOfHeader(lines[headerAt]);
    }
  }

  struct Parsed {
    std::size_t line;  // index in the file, for the order of equal lines
    TaskRow row;
    bool done;
  };
  std::vector<Parsed> parsed;
  parsed.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == headerAt) continue;
    const std::string_view line = lines[i];
    const auto fields = SplitTaskLine(line, result.layout);
    const std::string_view dueDate = line.substr(0, std::min(kDateBytes, line.size()));
    const auto days = DaysLeft(dueDate, today);
    if (!fields || dueDate.size() < kDateBytes || !days) {
      ++result.skippedLines;
      continue;
    }
    Parsed p{i, TaskRow{}, fields->mark == kDoneMark};
    TaskRow& row = p.row;
    row[colDueDate] = std::string(dueDate);
    row[colUpdated] = std::string(result.layout == TaskFileLayout::Headerless ? startStamp : fields->stamp);
    row[colDaysLeft] = p.done ? std::string(kDoneMark) : *days;
    ++(p.done ? result.done : result.notDone);
    row[colText] = std::string(fields->text);
    row[colAttachment] = std::string(fields->attachment);
    row[colFlags] = std::string(fields->flags);
    parsed.push_back(std::move(p));
  }

  // Order: the sort key of the task (due date, ",", text without surrounding blanks); tasks
  // with equal keys by their whole lines in collation order, each line before the equal lines
  // that came earlier in the file. Whole-line keys are made only for those ties.
  SortKeyMemo memo;
  memo.Reserve(parsed.size(), bytes.size() * 2);
  std::string plain;
  for (const Parsed& p : parsed) {
    plain.assign(p.row[colDueDate]).append(",").append(TrimBlanks(p.row[colText]));
    memo.Add(plain, collation);
  }
  KeyOrder taskKeys(collation);
  taskKeys.Reserve(memo.Size());
  for (std::size_t i = 0; i < memo.Size(); ++i) taskKeys.AddKey(memo.Key(i));
  std::vector<std::uint32_t> order = taskKeys.Sorted(false);
  for (std::size_t b = 0; b < order.size();) {
    std::size_t e = b + 1;
    while (e < order.size() && taskKeys.Key(order[e]) == taskKeys.Key(order[b])) ++e;
    if (e - b > 1) {
      KeyOrder lineKeys(collation);
      for (std::size_t k = b; k < e; ++k) lineKeys.Add(lines[parsed[order[k]].line]);
      const std::vector<std::uint32_t> tie = lineKeys.Sorted(true);
      std::vector<std::uint32_t> run(order.begin() + static_cast<std::ptrdiff_t>(b),
                                     order.begin() + static_cast<std::ptrdiff_t>(e));
      for (std::size_t k = 0; k < tie.size(); ++k) order[b + k] = run[tie[k]];
    }
    b = e;
  }

  std::vector<TaskRow> rows;
  rows.reserve(order.size() + 1);
  rows.emplace_back();  // the header row
  result.sortKeys.Reserve(order.size(), memo.Bytes());
  for (const std::uint32_t i : order) {
    rows.push_back(std::move(parsed[i].row));
    result.sortKeys.Add(memo.Plain(i), memo.Key(i));
  }
  result.table = TaskTable(std::move(rows));
  return result;
}

std::string FormatTaskFile(const TaskTable& table) {
  std::string out;
  std::size_t estimate = kHeader32.size() + 2;
  for (int r = 1; r < table.RowCount(); ++r) {
    const TaskRow& row = table.Row(r);
    estimate += 44 + row[colText].size() + row[colAttachment].size() + row[colFlags].size();
  }
  out.reserve(estimate);
  out.append(kHeader32).append("\r\n");
  for (int r = 1; r < table.RowCount(); ++r) {
    if (!table.IsTask(r)) continue;
    const TaskRow& row = table.Row(r);
    AppendOneLine(out, row[colDueDate]);
    out += ',';
    AppendOneLine(out, row[colUpdated]);
    out += ',';
    out.append(IsDoneMark(row[colDaysLeft]) ? kDoneMark : kFullWidthSpace);
    out.append(",|");
    AppendOneLine(out, TrimBlanks(row[colAttachment]));
    out += '|';
    AppendOneLine(out, row[colFlags]);
    out.append("|,");
    AppendOneLine(out, TrimBlanks(row[colText]));
    out.append("\r\n");
  }
  return out;
}

std::filesystem::path ChooseBackupPath(const std::filesystem::path& path, const FileStore& store) {
  std::filesystem::path candidate = path;
  candidate += ".bak";
  for (int n = 2; store.Exists(candidate) && n < 1000; ++n) {
    candidate = path;
    candidate += "." + std::to_string(n) + ".bak";
  }
  return candidate;
}

TaskFile::TaskFile(std::filesystem::path path, FileStore& store) : path_(std::move(path)), store_(store) {}

TaskFileLoadReport TaskFile::LoadTaskFile(TaskList& list, Profile& profile, const DateTime& startTime) {
  TaskFileLoadReport report;
  list.Clear();
  ReadResult read = store_.ReadAll(path_);
  report.status = read.status;
  if (read.status == ReadStatus::Failed) {
    readFailed_ = true;
    report.backupPath = backupPath_ = ChooseBackupPath(path_, store_);
  }
  if (read.status == ReadStatus::Ok) {
    ParsedTaskFile parsed = ParseTaskFile(read.bytes, list.GetCollation(), startTime.date, FormatStamp(startTime));
    report.layout = parsed.layout;
    report.skippedLines = parsed.skippedLines;
    report.blankLines = parsed.blankLines;
    TaskRow header = std::move(list.Table().Row(0));
    list.Table() = std::move(parsed.table);
    list.Table().Row(0) = std::move(header);
    list.AdoptSortKeys(std::move(parsed.sortKeys));
    list.NotDoneCount = parsed.notDone;
    list.DoneCount = parsed.done;
    if (parsed.layout == TaskFileLayout::Headerless) {
      report.lastSyncWriteFailed = !profile.WriteString("Sync", "LastSync", kNeverSynced);
    }
    if (parsed.skippedLines > 0) {
      backupPending_ = true;
      originalBytes_ = std::move(read.bytes);
      report.backupPath = backupPath_ = ChooseBackupPath(path_, store_);
    }
  }
  list.UpdateTaskCounts();
  return report;
}

bool TaskFile::KeepOriginal() {
  if (readFailed_) {
    ReadResult again = store_.ReadAll(path_);
    if (again.status == ReadStatus::Failed) return false;
    if (again.status == ReadStatus::Ok && !store_.ReplaceAll(backupPath_, again.bytes)) return false;
    readFailed_ = false;
  }
  if (backupPending_) {
    if (!store_.ReplaceAll(backupPath_, originalBytes_)) return false;
    backupPending_ = false;
    originalBytes_ = std::string{};
  }
  return true;
}

bool TaskFile::SaveTaskFile(const TaskTable& table) {
  if (readFailed_ && table.TaskCount() == 0) return false;
  if (!KeepOriginal()) return false;
  return store_.ReplaceAll(path_, FormatTaskFile(table));
}

}  // namespace lq
