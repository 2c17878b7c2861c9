// The search: a word found in the task texts from the current task upwards or downwards; and
// what the search, move-date and bulk-delete dialogs share around their showing.
#include "app/application.h"
#include "mainwindow/listdialogs.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "store/search.h"

namespace lq::win {

ListDialogCommands::ListDialogCommands(Application& app, Callbacks callbacks)
    : app_(app), list_(app.list), cb_(std::move(callbacks)) {}

void ListDialogCommands::popitemFindToDoClick() {
  cb_.closeEditors();
  if (const auto request = app_.frmSearch.Ask(window_)) {
    if (SearchTasks(list_, request->text, request->direction)) {
      cb_.refresh();
    } else {
      cb_.showMessage(BoxKind::Information, L"『" + FromCp932(request->text) + L"』は見つかりませんでした。");
    }
  }
  FocusListAfterDialog();
}

void ListDialogCommands::FocusListAfterDialog() {
  const HWND grid = cb_.grid();
  if (cb_.editMode() && ::IsWindowVisible(grid)) ::SetFocus(grid);
}

}  // namespace lq::win
