// When the attachment hint shows: the cursor resting on the attachment mark of a task in edit
// mode. The popup itself, with its delay and display time, is TfrmHint.
#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "store/attachment.h"

namespace lq::win {

void TfrmToDo::UpdateHint(int x, int y) {
  if (!settings_.HintEnabled) return;
  TfrmHint& hint = app_.frmHint;
  std::string_view text;
  if (editMode_) {
    int col = -1;
    int row = -1;
    gridToDo->CellAt(x, y, &col, &row);
    if (row > 0 && col == colText) {
      const std::string_view attachment = list_.Table().Cell(colAttachment, row);
      if (!attachment.empty() && InIconZone(x, gridToDo->CellBounds(colText, row), layout_.RowHeight(), Dpi())) {
        text = HintText(attachment, settings_.HintFullPath);
      }
    }
  }
  if (text.empty()) {
    hint.CancelHint();
    hint.ClearText();
    return;
  }
  POINT at{x, y};
  ::ClientToScreen(gridToDo->Handle(), &at);
  if (at.x == hint.HintAnchor.x && at.y == hint.HintAnchor.y) return;
  hint.Attach(app_.Window(), Handle());
  hint.PrepareHint(at, FromCp932(text));
  hint.RestartHint();
}

void TfrmToDo::CancelHint() { app_.frmHint.CancelHint(); }

}  // namespace lq::win
