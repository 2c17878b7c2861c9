#pragma once
// What lives for the whole run: the clock, the settings file, the file store, the task list and
// its file, the settings as last loaded, the dialogs and the COM apartment. The application
// owns them and hands the windows references; a window keeps only its own state.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <initializer_list>

#include "dialogs/config.h"
#include "dialogs/hint.h"
#include "dialogs/movedate.h"
#include "dialogs/pastdelete.h"
#include "dialogs/search.h"
#include "dialogs/sync.h"
#include "dialogs/urlinput.h"
#include "platform/clock.h"
#include "platform/collation.h"
#include "platform/com.h"
#include "platform/filestore.h"
#include "platform/profile.h"
#include "settings/settings.h"
#include "settings/winposition.h"
#include "store/taskfile.h"
#include "store/tasklist.h"

namespace lq::win {

class Application {
 public:
  explicit Application(std::filesystem::path exePath);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Makes the windows and runs the message loop; the program's exit code.
  int Run();

  const std::filesystem::path& ExePath() const { return exePath_; }
  const std::filesystem::path& TaskFilePath() const { return taskFile.Path(); }
  const std::filesystem::path& SettingsFilePath() const { return profile.Path(); }
  // The hidden window that owns the main window, so that it has no taskbar button.
  HWND Window() const { return window_; }

  // At start-up: the tasks from the task file, built in the order of the first sort (which the
  // settings' DoneDown decides), what could not be read kept in loadReport; the answer is the
  // stored window position.
  WindowPosition LoadForStart(int dpi, const DateTime& now);
  // At the end: the tasks, and the window position written in every case. False when a file
  // could not be written, after `failed` was told of each such file.
  bool SaveForExit(const WindowPosition& window, const std::function<void(const std::filesystem::path&)>& failed);

  // Shell links and automation need COM; it is entered on first use, not at start-up.
  bool EnsureCom() { return com_.Enter(); }

  // Every dialog, in the order a tray click, a hot key or a second start brings the open ones
  // forward (instead of acting).
  template <class Visit>
  void ForEachDialog(Visit&& visit) {
    for (Dialog* d : {static_cast<Dialog*>(&frmConfig), static_cast<Dialog*>(&frmSync),
                      static_cast<Dialog*>(&frmSearch), static_cast<Dialog*>(&frmMoveDate),
                      static_cast<Dialog*>(&frmPastDelete), static_cast<Dialog*>(&frmUrlInput)}) {
      visit(*d);
    }
  }

 private:
  std::filesystem::path exePath_;
  HWND window_ = nullptr;
  ComApartmentOnDemand com_;

 public:
  LocalClock clock;
  LocaleCollation collation;
  WinFileStore fileStore;
  IniProfile profile;
  TaskList list;
  TaskFile taskFile;
  TaskFileLoadReport loadReport;
  Settings settings;  // as last loaded from the settings file

  // The dialogs; each makes its window when first shown.
  TfrmConfig frmConfig;
  TfrmMoveDate frmMoveDate{settings};
  TfrmSearch frmSearch{profile, settings};
  TfrmSync frmSync;
  TfrmPastDelete frmPastDelete{settings};
  TfrmUrlInput frmUrlInput;
  TfrmHint frmHint{settings};  // modeless: the program's loop serves it
};

}  // namespace lq::win
