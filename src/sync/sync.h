#pragma once
// One run of the exchange between the task list and an outside task folder (btnSyncClick
// without its dialog): items and tasks are paired by due date and text, done states follow
// the newer side, what is new on one side is copied to the other, and what disappeared on one
// side since the last run ([Sync] LastSync) is deleted on the other.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/seams.h"
#include "store/tasklist.h"
#include "sync/taskfolder.h"

namespace lq {

// What the dialog's label shows at each stage.
inline constexpr std::u16string_view kSyncIdleText = u"同期ボタンを押すとOutlookとの連携を開始します。";
inline constexpr std::u16string_view kSyncReadingText = u"Outlookの仕事を読込中です。";
inline constexpr std::u16string_view kSyncUpdatingText = u"Outlookの仕事を更新中です。";
inline constexpr std::u16string_view kSyncFinishedText = u"Outlookとの同期を終了しました。";
// A run that changed the list ends the list's undo history: Outlook's side cannot be undone.
inline constexpr std::u16string_view kUndoLostText =
    u"Outlook側の変更は元に戻せないため、同期までの変更も元に戻せなくなりました。";

struct SyncHooks {
  // The label's text, and the progress bar; the dialog repaints in each.
  std::function<void(std::u16string_view)> showMessage;
  std::function<void(int)> setMaximum;
  std::function<void(int)> setPosition;
  // Called between the longer steps that move no bar (copying, sorting, keeping the backup), so
  // that the dialog can answer meanwhile.
  std::function<void()> keepAnswering;
  // Called once, before the first task is deleted from the list, with the list as it was
  // before the run; gives where it was kept, or nothing when it could not be kept, which stops
  // the run before anything is deleted from the list.
  std::function<std::optional<std::filesystem::path>(const TaskTable& before)> keepListBefore;
  // Saves the list once the exchange is done, before [Sync] LastSync is written: a LastSync
  // may only describe a list that is on disk. False when the save failed; LastSync then stays.
  std::function<bool(const TaskTable& list)> saveList;
};

// Creates the folder's automation objects; throws FolderError when that fails.
using FolderOpener = std::function<std::unique_ptr<TaskFolder>()>;

struct SyncCounts {
  int added = 0;
  int changed = 0;  // done state, or (in the folder) the due date
  int deleted = 0;
  bool Any() const { return added + changed + deleted > 0; }
};

struct SyncResult {
  bool completed = false;
  std::u16string error;  // why the run stopped, for the general error box
  TaskRow badDueDate;    // the task whose due date stopped the run, when one did
  SyncCounts list;       // in the task list
  SyncCounts folder;     // in the outside folder
  std::optional<std::filesystem::path> backup;  // the list before the run, when tasks were deleted
  bool lastSyncWriteFailed = false;             // the run is done but [Sync] LastSync is old
  bool saveFailed = false;                      // the run is done but the list is not on disk
  std::string futureLastSync;  // a LastSync later than the clock, taken for "never synchronised"
  // Subjects as the folder holds them, of items taken into the list with characters that the
  // task file cannot hold.
  std::vector<std::u16string> lostCharacters;
  // The folder changed while the run read or changed it: what could no longer be matched was
  // left as it was (`itemsLeft` items judged deleted, `rowsLeft` tasks), and LastSync stays,
  // so that the next run looks again.
  bool folderChanged = false;
  int itemsLeft = 0;
  int rowsLeft = 0;
};

// The run. Reads and writes [Sync] LastSync through `profile`; the list's clock gives today
// and the time written. A failed call stops the run where it is: what was done stays, the list
// is not re-sorted and LastSync is left as it was; the counters are brought up to date either
// way.
SyncResult RunSync(TaskList& list, Profile& profile, const FolderOpener& openFolder, const SyncHooks& hooks);

// Code-page-932 bytes as UTF-16, for the texts of tasks named in a report.
using TextDecoder = std::function<std::u16string(std::string_view cp932)>;

// What the run changed on each side, one line for the list and one for the folder, or that
// nothing changed.
std::u16string SyncCountsText(const SyncResult& result);

// The whole report of a run: what it changed, what it left and why, where the list before it
// was kept; after the error's text when the run stopped.
std::u16string SyncReport(const SyncResult& result, const TextDecoder& decode);

// A run the user must read about in a box: it stopped, deleted tasks from the list, or left or
// lost something; the counts of any other run are shown in the dialog. (A LastSync that could
// not be written has a box of its own.)
bool SyncNeedsBox(const SyncResult& result);

}  // namespace lq
