// Edit mode and view mode: the window changing from the live list to its still image and back.
#include "app/application.h"
#include "mainwindow/childwindows.h"
#include "mainwindow/mainwindow.h"

namespace lq::win {

void TfrmToDo::EnterEditMode(bool openEditor) {
  editMode_ = true;
  layout_.EditModeColumnLayout();
  view_.ApplyTransparency();
  for (const HWND b : headerButtons_) ::ShowWindow(b, SW_SHOWNA);
  gridToDo->SetScrollBarAllowed(true);
  ::ShowWindow(pnlBase->Handle(), SW_SHOWNA);
  view_.Image().Hide();
  layout_.FormResize();
  view_.PlaceClockLabels();
  if (openEditor) editing_.OpenTextEditor();
}

void TfrmToDo::EnterViewMode() {
  editMode_ = false;
  // The dialogs that end in edit mode give up: the list is left.
  app_.ForEachDialog([](Dialog& d) {
    if (d.EndsWithEditMode()) d.Cancel();
  });
  CancelHint();
  // An open text editor ends as when it loses the focus, so the image shows the sorted list.
  if (editing_.Editors().TextOpen()) editing_.edtToDoTextExit();
  editing_.HideEditors();
  for (const HWND b : headerButtons_) ::ShowWindow(b, SW_HIDE);
  gridToDo->SetScrollBarAllowed(false);
  layout_.ViewModeColumnLayout();
  layout_.FormResize();  // the text column without the scroll bar
  list_.Table().SetCell(colText, 0, {});  // it held the edit-mode clock
  view_.TakeViewImage();
  view_.PlaceClockLabels();
  view_.Image().Show();
  ::ShowWindow(pnlBase->Handle(), SW_HIDE);
  view_.ApplyTransparency();
  if (settings_.SaveOnLostFocus) app_.taskFile.SaveTaskFile(list_.Table());  // a failure is not reported here
}

void TfrmToDo::imgNotEditModeDblClick() {
  POINT p{};
  if (!::GetCursorPos(&p)) {
    RECT rc{};
    ::GetWindowRect(view_.Image().Handle(), &rc);
    p = POINT{rc.left, rc.top};
  }
  ::ScreenToClient(gridToDo->Handle(), &p);
  int col = -1;
  int row = -1;
  gridToDo->CellAt(p.x, p.y, &col, &row);
  EnterEditMode();
  // The button's release that ends the double-click now lands on the live list; it must not
  // open an editor there (the next press clears this).
  ignoreGridMouseUp_ = true;
  if (row > 0 && row < list_.TopRow() + list_.VisibleRowCount() && col >= 0) gridToDo->MoveCurrentRow(row);
  if (::IsWindowVisible(gridToDo->Handle())) ::SetFocus(gridToDo->Handle());
}

}  // namespace lq::win
