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

#include "store/seams.h"
#include "store/tasklist.h"
#include "sync/taskfolder.h"

namespace lq {

// What the dialog's label shows at each stage.
inline constexpr std::u16string_view kSyncIdleText = u"同期ボタンを押すとOutlookとの連携を開始します。";
inline constexpr std::u16string_view kSyncReadingText = u"Outlookの仕事を読込中です。";
inline constexpr std::u16string_view kSyncUpdatingText = u"Outlookの仕事を更新中です。";
inline constexpr std::u16string_view kSyncFinishedText = u"Outlookとの同期を終了しました。";

struct SyncHooks {
  // The label's text, and the progress bar; the dialog repaints in each.
  std::function<void(std::u16string_view)> showMessage;
  std::function<void(int)> setMaximum;
  std::function<void(int)> setPosition;
  // Called once, before the first task is deleted from the list, with the list as it was
  // before the run; gives where it was kept, or nothing when it could not be kept, which stops
  // the run before anything is deleted from the list.
  std::function<std::optional<std::filesystem::path>(const TaskTable& before)> keepListBefore;
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
  SyncCounts list;       // in the task list
  SyncCounts folder;     // in the outside folder
  std::optional<std::filesystem::path> backup;  // the list before the run, when tasks were deleted
  bool lastSyncWriteFailed = false;             // the run is done but [Sync] LastSync is old
};

// The run. Reads and writes [Sync] LastSync through `profile`; the list's clock gives today
// and the time written. A failed call stops the run where it is: what was done stays, the list
// is not re-sorted and LastSync is left as it was; the counters are brought up to date either
// way.
SyncResult RunSync(TaskList& list, Profile& profile, const FolderOpener& openFolder, const SyncHooks& hooks);

// The text that tells the user what the run changed on each side: after a completed run, or
// after the error's text when the run stopped.
std::u16string SyncReport(const SyncResult& result);

}  // namespace lq
