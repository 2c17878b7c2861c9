// The mouse and the keys in edit mode: clicks on each column, the right-click menus and their
// changing captions, the header drag, scrolling, the wheel, the window's own key table, and the
// task commands they start.
#include <windowsx.h>

#include <algorithm>

#include "app/application.h"
#include "platform/imagelist.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "res/artwork.h"
#include "store/text.h"

namespace lq::win {
namespace {

bool IsDescendantOrSelf(HWND ancestor, HWND w) { return w == ancestor || ::IsChild(ancestor, w); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The grid's mouse

void TfrmToDo::ActAsClickOnCurrentRow(int col) {
  const RECT cell = gridToDo->CellRect(col, list_.CurrentRow());
  if (cell.right <= cell.left && cell.bottom <= cell.top) return;  // not on the screen
  gridToDoMouseUp(TaskGrid::Button::Left, 0, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
}

void TfrmToDo::gridToDoMouseUp(TaskGrid::Button button, UINT keys, int x, int y) {
  if (!editMode_) return;
  int col = -1;
  int row = -1;
  gridToDo->CellAt(x, y, &col, &row);
  if (row < 1 || col < 0) return;
  if (row != list_.CurrentRow()) gridToDo->MoveCurrentRow(row);
  const TaskTable& t = list_.Table();
  const bool hasAttachment = !t.Cell(colAttachment, row).empty();
  const bool inIconZone = InIconZone(x, gridToDo->CellBounds(colText, row), layout_.RowHeight(), Dpi());

  if (button == TaskGrid::Button::Right) {
    // The grid menu and the attachment menu follow the clicked task; the edit menu does not.
    const CommandContext ctx = CurrentContext();
    menus_.Prepare(MenuKind::Grid, ctx);
    menus_.Prepare(MenuKind::Attach, ctx);
    app_.frmHint.HintAnchor.x += 1;  // the next move over an attachment shows its hint again
    app_.frmHint.HintAnchor.y -= 1;
    POINT at{x, y};
    ::ClientToScreen(gridToDo->Handle(), &at);
    const bool attachMenu = t.IsTask(row) && hasAttachment && col == colText && inIconZone;
    if (const auto c = menus_.Track(attachMenu ? MenuKind::Attach : MenuKind::Grid, Handle(), at)) Run(*c);
    return;
  }

  if (!t.IsTask(row)) {
    // The blank row of an empty list: nothing to edit.
    editing_.Editors().HideDate();
    editing_.Editors().SetDate(app_.clock.Now().date);
    editing_.Editors().HideText();
    editing_.Editors().LoadText(L"");
    return;
  }
  switch (col) {
    case colDueDate:
      editing_.OpenDatePicker();
      break;
    case colDaysLeft:
      popitemDoneOrNotClick();
      break;
    case colText:
      editing_.LoadTextEditor();
      if (hasAttachment && inIconZone) {
        // A click on the mark opens the attachment; with Shift, its folder.
        if (keys & MK_SHIFT) {
          attachments_.popitemAttachFolderOpenClick();
        } else {
          attachments_.popitemAttachOpenClick();
        }
      } else {
        editing_.ShowTextEditor();
      }
      break;
    default:
      break;
  }
}

void TfrmToDo::gridToDoMouseDown(TaskGrid::Button button, int x, int y) {
  if (button != TaskGrid::Button::Left) return;
  ignoreGridMouseUp_ = false;
  int col = -1;
  int row = -1;
  gridToDo->CellAt(x, y, &col, &row);
  if (row == 0 && col >= 0 && col <= 2) {
    // The header row is the window's handle.
    ::ReleaseCapture();
    ::SendMessageW(Handle(), WM_SYSCOMMAND, 0xF012, 0);
  }
}

void TfrmToDo::gridToDoMouseMove(int x, int y) {
  view_.Edges().OffEdges();
  UpdateHint(x, y);
}

void TfrmToDo::gridToDoKeyPress(wchar_t ch) {
  if (IsCancelledControlCharacter(ch)) return;
  editing_.OpenTextEditor();  // the character itself is not inserted
}

void TfrmToDo::gridToDoTopLeftChanged() {
  editing_.HideEditors();
  const int top = list_.TopRow();
  const int bottom = top + std::max(1, list_.VisibleRowCount()) - 1;
  if (list_.CurrentRow() < top) list_.SetCurrentRow(top);
  if (list_.CurrentRow() > bottom) list_.SetCurrentRow(bottom);
  gridToDo->Refresh();
}

void TfrmToDo::gridToDoExit() {
  const HWND focus = ::GetFocus();
  if (focus != editing_.Editors().TextHandle()) editing_.Editors().HideText();
  if (focus != editing_.Editors().DateHandle()) editing_.Editors().HideDate();
}

void TfrmToDo::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  // A wheel the focused control did not use gives the list the focus, and the list the wheel.
  if (!::IsWindowVisible(gridToDo->Handle())) return;
  ::SetFocus(gridToDo->Handle());
  ::SendMessageW(gridToDo->Handle(), WM_MOUSEWHEEL, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The window's own keys

void TfrmToDo::RunKeyAction(const FormKey& key) {
  switch (key.action) {
    case KeyAction::TextToDate:
      editing_.CloseTextEditor();
      ActAsClickOnCurrentRow(colDueDate);
      break;
    case KeyAction::DateToText: editing_.OpenTextEditor(); break;
    case KeyAction::Delete: popitemDelClick(); break;
    case KeyAction::Run:
      editing_.CloseTextEditor();
      Run(key.command);
      break;
    default: break;  // swallowed
  }
}

bool TfrmToDo::PreTranslateMessage(const MSG& msg) {
  if (!Handle() || !IsDescendantOrSelf(Handle(), msg.hwnd)) return false;
  // The release that ends a double-click on the view image went elsewhere (a header button,
  // the scroll bar): no later release of the list is that one.
  if (msg.message == WM_NCLBUTTONUP || (msg.message == WM_LBUTTONUP && msg.hwnd != gridToDo->Handle())) {
    ignoreGridMouseUp_ = false;
  }
  if (msg.message == WM_CHAR) return IsCancelledControlCharacter(static_cast<unsigned>(msg.wParam));
  if (msg.message != WM_KEYDOWN) return false;

  const KeyState k{static_cast<unsigned>(msg.wParam), (::GetKeyState(VK_CONTROL) & 0x8000) != 0,
                   (::GetKeyState(VK_SHIFT) & 0x8000) != 0, (::GetKeyState(VK_MENU) & 0x8000) != 0};
  // With the list focused, the grid menu takes its shortcuts first; a disabled item's
  // shortcut does nothing.
  if (::GetFocus() == gridToDo->Handle() && k.ctrl && !k.shift && !k.alt) {
    if (const auto c = ShortcutCommand(k.key)) {
      // Undo and redo have nothing to ask of the task, and the menu may be older than the history.
      if (*c == Command::Undo || *c == Command::Redo || menus_.GridItemEnabled(*c)) Run(*c);
      return true;
    }
  }
  if (!editMode_) return false;
  // Ctrl+Z in the text editor takes back its own typing first, then the list's last change.
  if (::GetFocus() == editing_.Editors().TextHandle() && k.ctrl && !k.shift && !k.alt && k.key == 'Z' &&
      editing_.Editors().UndoOwnTyping()) {
    return true;
  }
  // The text editor's clipboard, undo and word keys are its own; their characters (Ctrl+C is
  // 3, Ctrl+V 22, …) come from TranslateMessage.
  if (::GetFocus() == editing_.Editors().TextHandle() && IsTextEditorKey(k)) return false;
  const FormKey key = DecideFormKey(k, editing_.Editors().TextOpen(), editing_.Editors().DateOpen());
  if (key.action == KeyAction::None) return false;
  RunKeyAction(key);
  return true;
}

}  // namespace lq::win
