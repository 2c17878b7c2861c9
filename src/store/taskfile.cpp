#include "store/taskfile.h"

#include <algorithm>
#include <functional>
#include <map>

#include "store/keyorder.h"
#include "store/prefetch.h"
#include "store/text.h"

namespace lq {
namespace {

constexpr std::size_t kDateBytes = 14;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlankLine(std::string_view line) { return TrimBlanks(line).empty(); }

// Line breaks inside a cell would split the task over two lines of the file.
void AppendOneLine(std::string& out, std::string_view cell) {
  const std::size_t start = out.size();
  out.append(cell);
  // Through pointers: written through out[i], the string's size would be read again for
  // every byte.
  for (char *p = out.data() + start, *end = out.data() + out.size(); p != end; ++p) {
    if (*p == '\r' || *p == '\n') *p = ' ';
  }
}

// A lead byte and the byte after it, unless that is a line break.
bool IsDoubleByteChar(std::string_view s, std::size_t i) {
  return CharBytes(s, i) == 2 && s[i + 1] != '\r' && s[i + 1] != '\n';
}

// The attachment field ends at its first "|"; a lead byte without its second byte would take
// the bar after it as its second byte.
void AppendAttachment(std::string& out, std::string_view attachment) {
  for (std::size_t i = 0; i < attachment.size();) {
    const char c = attachment[i];
    if (IsDoubleByteChar(attachment, i)) {
      out.append(attachment.substr(i, 2));
      i += 2;
      continue;
    }
    if (c == '\r' || c == '\n') {
      out += ' ';
    } else if (c == '|') {
      out += "%7C";
    } else if (!IsLeadByte(static_cast<unsigned char>(c))) {
      out += c;
    }
    ++i;
  }
}

bool AllDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct LineFields {
  std::string_view stamp;
  std::string_view mark;
  std::string_view attachment;
  std::string_view flags;
  std::string_view text;
  bool flagsField = false;  // "|attachment|flags|," rather than "|attachment|,"
};

// Splits one task line by its layout; empty when the line is too short or lacks its bars. The
// fields lie at fixed byte positions; the bars are looked for character by character.
std::optional<LineFields> SplitTaskLine(std::string_view line, TaskFileLayout layout) {
  LineFields f;
  switch (layout) {
    case TaskFileLayout::Format32:
    case TaskFileLayout::Format21: {
      if (line.size() < 38) return std::nullopt;
      f.stamp = line.substr(15, 17);
      f.mark = line.substr(33, 2);
      const std::string_view rest = line.substr(37);  // from byte 38
      const std::size_t p = FindChars(rest, "|");
      if (p == std::string_view::npos) return std::nullopt;
      f.attachment = rest.substr(0, p);
      const std::size_t after = 37 + p + 1;  // the byte that follows that bar
      if (after < line.size() && line[after] == ',') {
        f.text = line.substr(after + 1);
      } else {
        const std::string_view rest2 = line.substr(after);
        const std::size_t q = FindChars(rest2, "|,");
        if (q == std::string_view::npos) return std::nullopt;
        f.flags = rest2.substr(0, q);
        f.text = rest2.substr(q + 2);
        f.flagsField = true;
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

// The layout a task line has by itself. Only a line of a layout with a stamp has 17 digits
// at bytes 16 to 32 (a headerless line has its mark at bytes 16 and 17), and of those only
// formats 3.2 and 2.1 have the bars; format 3.2 writes three of them.
TaskFileLayout ShapeOf(std::string_view line) {
  if (line.size() >= 36 && line[14] == ',' && AllDigits(line.substr(15, 17)) && line[32] == ',' &&
      line[35] == ',') {
    if (line.size() >= 38 && line[36] == '|') {
      if (const auto f = SplitTaskLine(line, TaskFileLayout::Format32)) {
        return f->flagsField ? TaskFileLayout::Format32 : TaskFileLayout::Format21;
      }
    }
    return TaskFileLayout::Format11;
  }
  if (line.size() >= 18 && line[14] == ',' && line[17] == ',') return TaskFileLayout::Headerless;
  return TaskFileLayout::None;
}

// Whether a line of the given shape reads right by the rules of a layout. Formats 3.2 and 2.1
// are read by the same rules.
bool ShapeFits(TaskFileLayout shape, TaskFileLayout layout) {
  const auto group = [](TaskFileLayout l) {
    return l == TaskFileLayout::Format21 ? TaskFileLayout::Format32 : l;
  };
  return shape != TaskFileLayout::None && group(shape) == group(layout);
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
  // At most one line per line break and one more: counted first, the list never grows.
  lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) +
                static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r')) + 1);
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

namespace {

// Files from this size on are kept by the table as they are (a shorter string may hold its
// characters inside itself, where they would move with it).
constexpr std::size_t kKeptFileBytes = 4096;

// With `keep`, the table takes that string (of which `bytes` is the whole) and makes its cells
// of pieces of it.
ParsedTaskFile Parse(std::string_view bytes, const Collation& collation, Date today, std::string_view startStamp,
                     bool doneLast, std::string* keep) {
  ParsedTaskFile result;
  result.original = bytes;
  if (bytes.starts_with(kUtf8ByteOrderMark)) {  // an editor's mark, not part of the first line
    bytes.remove_prefix(kUtf8ByteOrderMark.size());
    result.byteOrderMark = true;
  }
  std::vector<std::string_view> lines = SplitLines(bytes);
  // An empty line sorts first and would hide the header: dropped.
  const std::size_t nonBlank = static_cast<std::size_t>(
      std::remove_if(lines.begin(), lines.end(), [](std::string_view line) { return IsBlankLine(line); }) -
      lines.begin());
  result.blankLines = static_cast<int>(lines.size() - nonBlank);
  lines.resize(nonBlank);
  if (lines.empty()) return result;

  // Every header line, and the shape of every other line.
  std::vector<TaskFileLayout> headerOf(lines.size());
  std::vector<TaskFileLayout> shapes(lines.size(), TaskFileLayout::None);
  std::vector<std::size_t> headerLines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    headerOf[i] = LayoutOfHeader(lines[i]);
    if (headerOf[i] != TaskFileLayout::None) {
      headerLines.push_back(i);
    } else {
      shapes[i] = ShapeOf(lines[i]);
    }
  }

  // The header: the one whose layout the most task lines fit (a stray older header beside the
  // real one must not change how every line is read); among equals, the header line that sorts
  // first, as with a single header. A note that sorts before it changes nothing either.
  result.layout = TaskFileLayout::Headerless;
  if (!headerLines.empty()) {
    std::map<TaskFileLayout, std::ptrdiff_t> fitting;
    for (const std::size_t h : headerLines) {
      const TaskFileLayout layout = headerOf[h];
      if (fitting.count(layout) == 0) {
        fitting[layout] =
            std::count_if(shapes.begin(), shapes.end(), [&](TaskFileLayout s) { return ShapeFits(s, layout); });
      }
    }
    std::ptrdiff_t best = 0;
    for (const auto& [layout, count] : fitting) best = std::max(best, count);
    KeyOrder headers(collation);
    std::vector<std::size_t> candidates;
    for (const std::size_t h : headerLines) {
      if (fitting[headerOf[h]] != best) continue;
      candidates.push_back(h);
      headers.Add(lines[h]);
    }
    result.layout = headerOf[candidates[headers.Sorted(true).front()]];
    result.extraHeaders = static_cast<int>(headerLines.size()) - 1;
  }

  // The accepted lines, small: the cells are made only once the order is known, each row
  // then built in its final place.
  struct Parsed {
    std::uint32_t line;  // index in the file, for the order of equal lines
    TaskFileLayout layout;
    bool done;
    std::uint16_t check;  // the top bits of the hash of "date,text": most other texts differ in them
  };
  std::vector<Parsed> parsed;
  parsed.reserve(lines.size());
  SortKeyMemo memo;  // by the index in `parsed`
  // Keys are longer than their texts under most collations; room that is never written costs
  // no memory, and growing the buffer would copy every key made so far.
  memo.Reserve(lines.size(), 2 * bytes.size());
  // Tasks of the same date and text share one key: an open-addressed table of the first such
  // task by the hash of "date,text".
  constexpr std::uint32_t kEmpty = UINT32_MAX;
  std::size_t slots = 16;
  while (slots < 2 * lines.size()) slots *= 2;
  std::vector<std::uint32_t> firstOfText(slots, kEmpty);
  std::string plain;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (headerOf[i] != TaskFileLayout::None) continue;
    const std::string_view line = lines[i];
    // Without a header a line with a stamp is read by its own shape: the headerless rules would
    // take its stamp and fields for the text and lose its done mark.
    TaskFileLayout layout = result.layout;
    if (layout == TaskFileLayout::Headerless && shapes[i] != TaskFileLayout::None &&
        shapes[i] != TaskFileLayout::Headerless) {
      layout = shapes[i] == TaskFileLayout::Format11 ? TaskFileLayout::Format11 : TaskFileLayout::Format32;
    }
    const auto fields = SplitTaskLine(line, layout);
    const std::string_view dueDate = line.substr(0, std::min(kDateBytes, line.size()));
    const bool done = fields && fields->mark == kDoneMark;
    // A line with a stamp is a task whatever its date says, open or done: a date that names no
    // day (2027/02/30) stays as it stands. Without a stamp only a real date tells a task.
    if (!fields || dueDate.size() < kDateBytes || TrimBlanks(dueDate).empty() ||
        (!done && layout == TaskFileLayout::Headerless && !DaysLeft(dueDate, today))) {
      ++result.skippedLines;
      continue;
    }
    if (layout != result.layout) {
      ++result.recognisedLines;
    } else if (layout == TaskFileLayout::Headerless) {
      ++result.headerlessTasks;
    } else if (shapes[i] != TaskFileLayout::None && !ShapeFits(shapes[i], layout)) {
      ++result.misfitLines;
    }
    if (HasControlCharacter(fields->attachment)) ++result.refusedAttachments;
    ++(done ? result.done : result.notDone);
    // The sort key of the task: due date, ",", text without surrounding blanks.
    plain.assign(dueDate).append(",").append(TrimBlanks(fields->text));
    const std::size_t hash = std::hash<std::string_view>{}(plain);
    const auto check = static_cast<std::uint16_t>(hash >> (8 * sizeof hash - 16));
    parsed.push_back(Parsed{static_cast<std::uint32_t>(i), layout, done, check});
    std::size_t slot = hash & (slots - 1);
    while (firstOfText[slot] != kEmpty) {
      const Parsed& other = parsed[firstOfText[slot]];
      // Only a line with the same check is read: in a long file it lies far from this one.
      if (other.check == check) {
        const std::string_view otherLine = lines[other.line];
        if (otherLine.substr(0, kDateBytes) == dueDate &&
            TrimBlanks(SplitTaskLine(otherLine, other.layout)->text) == plain.substr(kDateBytes + 1)) {
          break;
        }
      }
      slot = (slot + 1) & (slots - 1);
    }
    if (firstOfText[slot] == kEmpty) {
      firstOfText[slot] = static_cast<std::uint32_t>(parsed.size() - 1);
      memo.Add(plain, collation);
    } else {
      memo.Share(firstOfText[slot]);
    }
  }

  // Order: by that key; tasks with equal keys by their whole lines in collation order, each
  // line before the equal lines that came earlier in the file. Whole-line keys are made only
  // for those ties.
  KeyOrder taskKeys(collation);
  taskKeys.Reserve(memo.Size());
  for (std::size_t i = 0; i < memo.Size(); ++i) taskKeys.AddKey(memo.Key(i));
  std::vector<bool> tied;
  std::vector<std::uint32_t> order = taskKeys.TakeOrder(false, &tied);
  for (std::size_t b = 0; b < order.size();) {
    std::size_t e = b + 1;
    while (e < order.size() && tied[e]) ++e;
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
  // The first sort puts the done tasks last when asked to: built in that order, the rows are
  // already where that sort would put them.
  if (doneLast) std::stable_partition(order.begin(), order.end(), [&](std::uint32_t i) { return !parsed[i].done; });

  // The rows are built walking the file front to back, each put at its place in the order: the
  // lines are read as they lie, and only the rows are written out of turn.
  std::vector<std::uint32_t> rowOf(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) rowOf[order[k]] = static_cast<std::uint32_t>(k) + 1;
  order = std::vector<std::uint32_t>();
  TaskTable& table = result.table;
  table.SetRowCount(static_cast<int>(rowOf.size()) + 1);  // row 0 is the header
  const std::size_t stamps = static_cast<std::size_t>(result.headerlessTasks + result.recognisedLines) * startStamp.size();
  if (keep && keep->size() >= kKeptFileBytes) {
    // Only the days left are written; every other cell is a piece of the file.
    table.AdoptText(std::move(*keep));
    table.ReserveText(rowOf.size() * 8 + stamps);
  } else {
    table.ReserveText(bytes.size() + stamps);
  }
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    if (i + kPrefetchAhead < rowOf.size()) table.PrefetchRow(static_cast<int>(rowOf[i + kPrefetchAhead]));
    const Parsed& p = parsed[i];
    const std::string_view line = lines[p.line];
    const auto fields = SplitTaskLine(line, p.layout);
    const std::string_view dueDate = line.substr(0, kDateBytes);
    const int row = static_cast<int>(rowOf[i]);
    table.ReferCell(colDueDate, row, dueDate);
    if (p.done) {
      table.ReferCell(colDaysLeft, row, fields->mark);
    } else {
      // No day to count to: the days left an open task of such a date gets in the list.
      table.SetCell(colDaysLeft, row, DaysLeft(dueDate, today).value_or("0"));
    }
    table.ReferCell(colText, row, fields->text);
    table.ReferCell(colUpdated, row, p.layout == TaskFileLayout::Headerless ? startStamp : fields->stamp);
    // The shell would get such a path cut at a NUL, or mangled: another file than the one judged.
    if (!HasControlCharacter(fields->attachment)) table.ReferCell(colAttachment, row, fields->attachment);
    table.ReferCell(colFlags, row, fields->flags);
    table.SetKeyTag(row, static_cast<std::uint32_t>(i));
  }
  result.sortKeys = std::move(memo);
  return result;
}

}  // namespace

ParsedTaskFile ParseTaskFile(std::string_view bytes, const Collation& collation, Date today,
                             std::string_view startStamp, bool doneLast) {
  return Parse(bytes, collation, today, startStamp, doneLast, nullptr);
}

ParsedTaskFile ParseTaskFile(std::string&& bytes, const Collation& collation, Date today,
                             std::string_view startStamp, bool doneLast) {
  return Parse(bytes, collation, today, startStamp, doneLast, &bytes);
}

std::string FormatTaskFile(const TaskTable& table) {
  std::string out;
  std::size_t estimate = kHeader32.size() + 2;
  for (int r = 1; r < table.RowCount(); ++r) {
    estimate += 44 + table.Cell(colText, r).size() + table.Cell(colAttachment, r).size() + table.Cell(colFlags, r).size();
  }
  out.reserve(estimate);
  out.append(kHeader32).append("\r\n");
  for (int r = 1; r < table.RowCount(); ++r) {
    if (r + kPrefetchAhead < table.RowCount()) table.PrefetchTexts(r + kPrefetchAhead);
    if (!table.IsTask(r)) continue;
    const RowView row = table.Row(r);
    AppendOneLine(out, row[colDueDate]);
    out += ',';
    AppendOneLine(out, row[colUpdated]);
    out += ',';
    out.append(IsDoneMark(row[colDaysLeft]) ? kDoneMark : kFullWidthSpace);
    out.append(",|");
    AppendAttachment(out, TrimBlanks(row[colAttachment]));
    out += '|';
    AppendOneLine(out, row[colFlags]);
    out.append("|,");
    AppendOneLine(out, TrimBlanks(row[colText]));
    out.append("\r\n");
  }
  return out;
}

bool AttachmentFitsTaskFile(std::string_view attachment) {
  std::string written;
  AppendAttachment(written, attachment);
  return written == attachment && !HasControlCharacter(attachment);
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

namespace {

std::string Utf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace

std::string LoadReportMessage(const TaskFileLoadReport& report, const std::filesystem::path& file) {
  const std::string name = "予定ファイル「" + Utf8(file) + "」";
  const std::string backup = report.backupPath ? Utf8(*report.backupPath) : std::string();
  if (report.status == ReadStatus::Folder) {
    return name + "の場所にフォルダーがあるため、予定を読み込めませんでした。\r\n" +
           "このフォルダーがある間は、予定を保存できません（終了するときに保存のエラーになります）。\r\n\r\n"
           "フォルダーの名前を変えるか別の場所へ移してから、起動し直してください。";
  }
  if (report.status == ReadStatus::Failed) {
    return name + "を読み込めませんでした。\r\n" +
           "ほかのプログラムが開いていないか、読み取りの権限があるかを確かめてください。\r\n\r\n" +
           "このファイルが空の予定表で上書きされることはありません。予定を入力して保存するときは、" +
           "元のファイルを「" + backup + "」として残します。";
  }
  if (!report.Reinterpreted() && report.skippedLines == 0 && report.refusedAttachments == 0) return {};
  std::string text = name + "を読み込むとき、次のことがありました。\r\n";
  if (report.byteOrderMark) text += "・先頭にあったUTF-8の印（BOM）を読み飛ばしました。\r\n";
  if (report.recognisedLines > 0) {
    text += "・見出しの行がありませんでしたが、" + std::to_string(report.recognisedLines) +
            "行は更新日時のある予定の形をしているので、その形のとおりに読み込みました"
            "（済の印、添付ファイル、フラグを含みます）。\r\n";
  }
  if (report.extraHeaders > 0) {
    text += "・見出しの行が" + std::to_string(report.extraHeaders + 1) +
            "行ありました。予定の行に合う見出しで読み込み、ほかの見出しの行は省きました。\r\n";
  }
  if (report.misfitLines > 0) {
    text += "・" + std::to_string(report.misfitLines) +
            "行は見出しとは別の形式の予定に見えますが、見出しの形式で読み込みました。"
            "内容が正しく分かれていないことがあります。\r\n";
  }
  if (report.refusedAttachments > 0) {
    text += "・添付ファイルにNULやタブなどの制御文字を含む予定が" + std::to_string(report.refusedAttachments) +
            "件ありました。開くと別のファイルになるおそれがあるため、その添付ファイルを外しました（予定は残しています）。\r\n";
  }
  if (report.skippedLines > 0) {
    text += "・予定として読み取れない行が" + std::to_string(report.skippedLines) +
            "行ありました。それらの行は表示していません。\r\n";
  }
  text += "\r\n次に保存するとき、元のファイルをそのまま「" + backup + "」として残します。";
  return text;
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
  if (read.status == ReadStatus::Folder) readFailed_ = true;  // nothing to keep, nowhere to write
  if (read.status == ReadStatus::Ok) {
    ParsedTaskFile parsed = ParseTaskFile(std::move(read.bytes), list.GetCollation(), startTime.date,
                                          FormatStamp(startTime), list.DoneDown);
    report.layout = parsed.layout;
    report.skippedLines = parsed.skippedLines;
    report.blankLines = parsed.blankLines;
    report.byteOrderMark = parsed.byteOrderMark;
    report.recognisedLines = parsed.recognisedLines;
    report.extraHeaders = parsed.extraHeaders;
    report.misfitLines = parsed.misfitLines;
    report.refusedAttachments = parsed.refusedAttachments;
    // The original is kept before any cell is written: the table may hold the bytes read.
    if (parsed.skippedLines > 0 || report.Reinterpreted() || parsed.refusedAttachments > 0) {
      backupPending_ = true;
      originalBytes_ = std::string(parsed.original);
      report.backupPath = backupPath_ = ChooseBackupPath(path_, store_);
    }
    const TaskRow header = list.Table().RowCopy(0);
    list.Table() = std::move(parsed.table);
    list.Table().SetRow(0, header);
    list.AdoptSortKeys(std::move(parsed.sortKeys));
    list.NotDoneCount = parsed.notDone;
    list.DoneCount = parsed.done;
    // The synchronisation must take tasks with new stamps for new ones; a file whose tasks all
    // kept their stamps has none.
    const bool freshStamps = parsed.headerlessTasks > 0 || parsed.recognisedLines == 0;
    if (parsed.layout == TaskFileLayout::Headerless && freshStamps) {
      report.lastSyncWriteFailed = !profile.WriteString("Sync", "LastSync", kNeverSynced);
    }
  }
  list.UpdateTaskCounts();
  return report;
}

bool TaskFile::KeepOriginal() {
  if (readFailed_) {
    ReadResult again = store_.ReadAll(path_);
    if (again.status == ReadStatus::Failed || again.status == ReadStatus::Folder) return false;
    if (again.status == ReadStatus::Ok) {
      if (backupPath_.empty()) backupPath_ = ChooseBackupPath(path_, store_);
      if (!store_.ReplaceAll(backupPath_, again.bytes)) return false;
    }
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
