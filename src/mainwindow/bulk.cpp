// The commands on many tasks at once: moving the open tasks of a day, and deleting the tasks up
// to a day.
#include <algorithm>
#include <vector>

#include "app/application.h"
#include "mainwindow/listdialogs.h"
#include "platform/msgbox.h"
#include "store/bulk.h"

namespace lq::win {

void ListDialogCommands::popitemMoveDateClick() {
  cb_.closeEditors();
  const Date start = PickerDateOf(list_.Table(), list_.CurrentRow(), list_.Today());
  const auto move = app_.frmMoveDate.Ask(window_, start);
  if (move) {
    MoveOpenTasks(list_, move->from, move->to);
    cb_.refresh();
    // The picker opens on the current task, ready for the next change.
    cb_.openDatePicker();
  }
  if (!cb_.datePickerOpen()) FocusListAfterDialog();
}

void ListDialogCommands::popitemPastDeleteClick() {
  cb_.closeEditors();
  const Date start = PickerDateOf(list_.Table(), list_.CurrentRow(), list_.Today());
  const auto choice = app_.frmPastDelete.Ask(window_, start);
  const std::vector<bool> gone =
      choice ? RowsDeletedUpTo(list_.Table(), choice->limit, choice->doneOnly) : std::vector<bool>{};
  if (std::find(gone.begin(), gone.end(), true) != gone.end()) {
    // Nothing asks before a bulk delete and its undo lasts only as long as this run, so the list
    // as it was is kept beside the task file first; without that copy nothing is deleted.
    if (const auto backup = app_.taskFile.KeepCopy(list_.Table())) {
      const int deleted = DeleteRows(list_, gone);
      cb_.rowsChanged();
      cb_.refresh();
      cb_.showMessage(BoxKind::Information,
                      std::to_wstring(deleted) + L"件の予定を削除しました。\r\n削除前の予定表は「" +
                          backup->wstring() + L"」に残してあります。");
    } else {
      cb_.showMessage(BoxKind::Error,
                      L"削除前の予定表を「" + app_.TaskFilePath().parent_path().wstring() +
                          L"」に残せなかったので、一斉削除を中止しました。");
    }
  }
  FocusListAfterDialog();
}

}  // namespace lq::win
