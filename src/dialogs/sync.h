#pragma once
// The synchronisation dialog TfrmSync: one press of " 同 期" exchanges the task list with
// Outlook's task folder, the label and the progress bar following the run. At the end the
// dialog shows what changed on each side; a message box says more only when there is more to
// read (an error, tasks deleted here, something left or lost).

#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/dialog.h"
#include "store/seams.h"
#include "store/tasklist.h"
#include "sync/sync.h"

namespace lq::win {

class TfrmSync final : public Dialog {
 public:
  // What the dialog needs of the application.
  struct Environment {
    TaskList& list;
    Profile& profile;
    std::filesystem::path settingsPath;  // for the message when LastSync cannot be written
    // Keeps the list as it was before the run beside the task file; where, or nothing.
    std::function<std::optional<std::filesystem::path>(const TaskTable&)> keepListBefore;
    // Saves the list to the task file; false when that failed.
    std::function<bool(const TaskTable&)> saveList;
    FolderOpener openFolder;
  };

  explicit TfrmSync(Environment env);

 protected:
  void OnShow() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void FormShow();
  void btnSyncClick();
  void ShowLabel(std::u16string_view text);
  void SetProgressMaximum(int maximum);
  void SetProgressPosition(int position);
  // Serves the messages that came meanwhile, so that the dialog paints and answers during a run
  // (at most every 50 ms for the run's own calls).
  void KeepAnswering();
  void KeepAnsweringWhenDue();

  Environment env_;
  bool running_ = false;
  int progressMaximum_ = 0;
  ULONGLONG lastRepaint_ = 0;
  bool focusOnActivation_ = false;
};

}  // namespace lq::win
