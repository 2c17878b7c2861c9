#pragma once
// The commands on the whole list, each through its dialog: the search, moving the open tasks of
// a day, and deleting the tasks up to a day; and where the keys go when such a dialog has gone.
// What they need of the window comes through the callbacks.

#include <windows.h>

#include <functional>
#include <string>

#include "platform/msgbox.h"
#include "store/tasklist.h"

namespace lq::win {

class Application;

class ListDialogCommands {
 public:
  struct Callbacks {
    std::function<int(BoxKind, const std::wstring&)> showMessage;
    std::function<void()> closeEditors;     // before the list moves under them
    std::function<void()> refresh;          // the grid repainted
    std::function<void()> rowsChanged;      // the window laid out for a new row count
    std::function<void()> openDatePicker;   // on the current task, as a click there does
    std::function<bool()> datePickerOpen;
    std::function<bool()> editMode;
    std::function<HWND()> grid;
  };

  ListDialogCommands(Application& app, Callbacks callbacks);
  void Attach(HWND window) { window_ = window; }

  void popitemFindToDoClick();
  void popitemMoveDateClick();
  void popitemPastDeleteClick();
  // The activation comes back to the window itself; the keys belong to the list.
  void FocusListAfterDialog();

 private:
  Application& app_;
  TaskList& list_;
  Callbacks cb_;
  HWND window_ = nullptr;
};

}  // namespace lq::win
