// The search: a word found in the task texts from the current task upwards or downwards; and
// what the search, move-date and bulk-delete dialogs share around their showing.
#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "store/search.h"

namespace lq::win {

void TfrmToDo::popitemFindToDoClick() {
  CloseEditors();
  if (const auto request = app_.frmSearch.Ask(Handle())) {
    if (SearchTasks(list_, request->text, request->direction)) {
      gridToDo->Refresh();
    } else {
      ShowMessage(BoxKind::Information, L"『" + FromCp932(request->text) + L"』は見つかりませんでした。");
    }
  }
  FocusListAfterDialog();
}

void TfrmToDo::FocusListAfterDialog() {
  // The activation comes back to the window itself; the keys belong to the list.
  if (editMode_ && ::IsWindowVisible(gridToDo->Handle())) ::SetFocus(gridToDo->Handle());
}

}  // namespace lq::win
