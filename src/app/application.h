#pragma once
// What lives for the whole run: the clock, the settings file, the file store, the task list and
// its file, the settings as last loaded, the dialogs and the COM apartment. The application
// owns them and hands the windows references; a window keeps only its own state.

#include <windows.h>

#include <filesystem>

#include "dialogs/config.h"
#include "dialogs/movedate.h"
#include "dialogs/pastdelete.h"
#include "dialogs/search.h"
#include "dialogs/sync.h"
#include "platform/clock.h"
#include "platform/collation.h"
#include "platform/com.h"
#include "platform/filestore.h"
#include "platform/profile.h"
#include "settings/settings.h"
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

  // Shell links and automation need COM; it is entered on first use, not at start-up.
  bool EnsureCom() { return com_.Enter(); }

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
};

}  // namespace lq::win
