#pragma once
// The task file: line-oriented code-page-932 text beside the executable. Four layouts are
// read (told apart by a header line); format 3.2 is always written.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/datetext.h"
#include "store/seams.h"
#include "store/tasklist.h"
#include "store/tasktable.h"

namespace lq {

inline constexpr std::string_view kHeader32 = "00000000000000,TARNWILLOW03.2.00";
inline constexpr std::string_view kHeader21 = "00000000000000,TARNWILLOW02.1.00";
inline constexpr std::string_view kHeader11 = "00000000000000,TARNWILLOW01.1.00";
inline constexpr std::string_view kNeverSynced = "00000000000000000";

enum class TaskFileLayout : std::uint8_t { None, Format32, Format21, Format11, Headerless };

// Splits at CR LF, a lone CR or a lone LF; a line end at the very end makes no extra line.
std::vector<std::string_view> SplitLines(std::string_view bytes);

struct ParsedTaskFile {
  // The layout its header names; Headerless when there is none. With several headers, the one
  // that the task lines fit; the file's first sorted header when they fit none better.
  TaskFileLayout layout = TaskFileLayout::None;
  // The tasks, days left computed, no header. They are in the order the first sort of the list
  // needs them: by due date and text (as that sort orders them), and tasks equal there in the
  // order of their whole lines; with `doneLast`, the done tasks after the open ones. Sorting
  // the lines first, as older versions did, gives the same list after that sort, but prepares
  // a key for every whole line.
  TaskTable table;
  SortKeyMemo sortKeys;  // the rows' sort keys, in row order
  // The bytes read, as they were; they may lie in the table, and then last until a cell is
  // written.
  std::string_view original;
  int notDone = 0;
  int done = 0;
  int skippedLines = 0;  // lines with content that hold no readable task
  int blankLines = 0;    // empty or blank-only lines, dropped silently
  // Read otherwise than the header alone says:
  bool byteOrderMark = false;  // a UTF-8 byte-order mark before the first line, skipped
  int recognisedLines = 0;     // tasks with a stamp in a file without header, read by their own shape
  int headerlessTasks = 0;     // tasks read by the headerless layout
  int extraHeaders = 0;        // header lines beside the one used, dropped
  int misfitLines = 0;         // tasks read by the header's layout though shaped like another one
  int refusedAttachments = 0;  // attachments left out for a control character in them
};

// Reads the bytes of a task file. `today` gives the days left; `startStamp` is the stamp of
// every task of a headerless file. A line that holds a task is read as one: a done task needs
// no real date; an open one needs it for its days left.
ParsedTaskFile ParseTaskFile(std::string_view bytes, const Collation& collation, Date today,
                             std::string_view startStamp, bool doneLast = false);
// The same, the table keeping the bytes themselves and making its cells of pieces of them.
ParsedTaskFile ParseTaskFile(std::string&& bytes, const Collation& collation, Date today,
                             std::string_view startStamp, bool doneLast = false);

// The whole file in format 3.2, every line ended by CR LF. No cell can break its line: line
// breaks become blanks, and a "|" in an attachment, which would end the field, is written
// "%7C" (a file path cannot hold "|"; in a web address "%7C" means the same).
std::string FormatTaskFile(const TaskTable& table);

// An attachment the task file can keep as it is: no "|", no line break, no lead byte without
// its second byte. The attachment commands are to refuse anything else.
bool AttachmentFitsTaskFile(std::string_view attachment);

// What a load tells the window, so it can say so once.
struct TaskFileLoadReport {
  ReadStatus status = ReadStatus::NotFound;
  TaskFileLayout layout = TaskFileLayout::None;
  int skippedLines = 0;
  int blankLines = 0;
  bool byteOrderMark = false;
  int recognisedLines = 0;
  int extraHeaders = 0;
  int misfitLines = 0;
  int refusedAttachments = 0;
  std::optional<std::filesystem::path> backupPath;  // where the original will be kept
  bool lastSyncWriteFailed = false;

  // Anything read otherwise than the file's header says.
  bool Reinterpreted() const {
    return byteOrderMark || recognisedLines > 0 || extraHeaders > 0 || misfitLines > 0;
  }
};

// What the user is told about a load, in UTF-8 (a path may hold characters code page 932
// lacks); empty when there is nothing to tell. `file` is the task file.
std::string LoadReportMessage(const TaskFileLoadReport& report, const std::filesystem::path& file);

// One task file: loads it into a task list and saves the list back, so that no save ever
// loses what the load could not read.
class TaskFile {
 public:
  TaskFile(std::filesystem::path path, FileStore& store);

  const std::filesystem::path& Path() const { return path_; }

  // Fills the freshly emptied list and its counters, in the order its first sort gives (the
  // list's DoneDown is to be set before). A headerless file also marks the
  // synchronisation as never run ([Sync] LastSync), unless every task kept its stamp.
  TaskFileLoadReport LoadTaskFile(TaskList& list, Profile& profile, const DateTime& startTime);

  // Writes the table in format 3.2, true when the file was replaced. The first save after a
  // load that skipped or reinterpreted lines first keeps the original beside it; a file that
  // could not be read is never replaced by an empty list, and only replaced after its bytes
  // were kept. Nothing is written while a folder stands where the file belongs.
  bool SaveTaskFile(const TaskTable& table);

  // Keeps a copy of the table in format 3.2 in a new backup file beside the task file (after
  // any original still waiting to be kept); gives its path, or nothing when it failed.
  std::optional<std::filesystem::path> KeepCopy(const TaskTable& table);

  bool BackupPending() const { return backupPending_; }
  bool ReadFailed() const { return readFailed_; }

 private:
  bool KeepOriginal();

  std::filesystem::path path_;
  FileStore& store_;
  std::filesystem::path backupPath_;
  std::string originalBytes_;
  bool backupPending_ = false;
  bool readFailed_ = false;
};

// The first of name.bak, name.2.bak, name.3.bak, … that does not exist yet.
std::filesystem::path ChooseBackupPath(const std::filesystem::path& path, const FileStore& store);

}  // namespace lq
