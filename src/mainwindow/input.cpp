// The mouse and the keys in edit mode: clicks on each column, the right-click menus and their
// changing captions, the header drag, scrolling, the wheel, the window's own key table, and the
// task commands they start.
#include <windowsx.h>

#include <algorithm>

#include "mainwindow/imagelist.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "res/artwork.h"
#include "store/text.h"

namespace lq::win {
namespace {

struct ItemDef {
  UINT id;
  const wchar_t* caption;
  int image;
  const wchar_t* shortcut;  // shown only; the keys act through the grid menu and the window
};

// The grid menu's shortcut keys (Ctrl + letter) and their items.
constexpr std::pair<unsigned, UINT> kGridShortcuts[] = {
    {'E', idDoneOrNot}, {'A', idAdd},          {'D', idDel},        {'O', idAttachOpen},
    {'P', idAttachEdit}, {'Q', idAttachDelete}, {'R', idAttachFolderOpen}, {'U', idInputUrl},
    {'B', idAlarm},     {'F', idFindToDo},     {'G', idMoveDate},   {'H', idPastDelete},
};

bool IsDescendantOrSelf(HWND ancestor, HWND w) { return w == ancestor || ::IsChild(ancestor, w); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Menus

void TfrmToDo::CreateMenus() {
  for (int i = 0; i < kImageCount; ++i) menuImages_.emplace_back(CreateMenuBitmap(i));
  const auto add = [this](HMENU menu, const ItemDef& d) {
    std::wstring text = d.caption;
    if (d.shortcut) text += std::wstring(L"\t") + d.shortcut;
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_FTYPE;
    mi.fType = MFT_STRING;
    mi.wID = d.id;
    mi.dwTypeData = text.data();
    mi.hbmpItem = d.image >= 0 ? menuImages_[static_cast<std::size_t>(d.image)].Get() : nullptr;
    ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &mi);
  };
  const auto separator = [](HMENU menu) { ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); };

  popitemAttach = ::CreatePopupMenu();
  add(popitemAttach, {idAttachOpen, L"開く", kImageOpenAttachment, L"Ctrl+O"});
  add(popitemAttach, {idAttachEdit, L"選択", kImageEdit, L"Ctrl+P"});
  add(popitemAttach, {idAttachDelete, L"解除", kImageDelete, L"Ctrl+Q"});
  add(popitemAttach, {idAttachFolderOpen, L"フォルダを開く", kImageOpenFolder, L"Ctrl+R"});
  add(popitemAttach, {idInputUrl, L"URLを入力", kImageEnterUrl, L"Ctrl+U"});

  popGridMenu = ::CreatePopupMenu();
  add(popGridMenu, {idDoneOrNot, L"済にする", kImageDone, L"Ctrl+E"});
  separator(popGridMenu);
  add(popGridMenu, {idAdd, L"追加", kImageAdd, L"Ctrl+A"});
  add(popGridMenu, {idDel, L"削除", kImageDelete, L"Ctrl+D"});
  separator(popGridMenu);
  {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_SUBMENU;
    mi.wID = idAttach;
    std::wstring text = L"添付ファイル";
    mi.dwTypeData = text.data();
    mi.hSubMenu = popitemAttach;
    mi.hbmpItem = menuImages_[kImageAttachmentMenu].Get();
    ::InsertMenuItemW(popGridMenu, ::GetMenuItemCount(popGridMenu), TRUE, &mi);
  }
  add(popGridMenu, {idAlarm, L"アラーム", kImageSetAlarm, L"Ctrl+B"});
  add(popGridMenu, {idFindToDo, L"検索", kImageSearch, L"Ctrl+F"});
  add(popGridMenu, {idMoveDate, L"日付移動", kImageMoveDate, L"Ctrl+G"});
  add(popGridMenu, {idPastDelete, L"一斉削除", kImageBulkDelete, L"Ctrl+H"});

  popAttach = ::CreatePopupMenu();
  add(popAttach, {idAttachOpen2, L"添付ファイルを開く", kImageOpenAttachment, L"Ctrl+O"});
  add(popAttach, {idAttachEdit2, L"添付ファイルの選択", kImageEdit, L"Ctrl+P"});
  add(popAttach, {idAttachDelete2, L"添付ファイルの解除", kImageDelete, L"Ctrl+Q"});
  add(popAttach, {idAttachFolderOpen2, L"フォルダを開く", kImageOpenFolder, L"Ctrl+R"});
  add(popAttach, {idInputUrl2, L"URLを入力", kImageEnterUrl, L"Ctrl+U"});

  popEdit = ::CreatePopupMenu();
  add(popEdit, {idAlarm2, L"アラーム", kImageSetAlarm, L"Ctrl+B"});
  add(popEdit, {idFindToDo2, L"検索", kImageSearch, L"Ctrl+F"});
  add(popEdit, {idMoveDate2, L"日付移動", kImageMoveDate, L"Ctrl+G"});
  add(popEdit, {idPastDelete2, L"一斉削除", kImageBulkDelete, L"Ctrl+H"});

  // Commands still to come are there, but disabled.
  for (const UINT id : {idAttachOpen, idAttachEdit, idAttachDelete, idAttachFolderOpen, idInputUrl, idFindToDo,
                        idMoveDate, idPastDelete, idAttachOpen2, idAttachEdit2, idAttachDelete2, idAttachFolderOpen2,
                        idInputUrl2, idFindToDo2, idMoveDate2, idPastDelete2}) {
    EnableItem(id, false);
  }
}

bool TfrmToDo::CommandAvailable(UINT id) const {
  switch (id) {
    case idDoneOrNot:
    case idAdd:
    case idDel:
    case idAlarm:
    case idAlarm2:
      return true;
    default:
      return false;
  }
}

void TfrmToDo::EnableItem(UINT id, bool enabled) {
  enabled = enabled && CommandAvailable(id);
  for (const HMENU m : {popGridMenu, popitemAttach, popAttach, popEdit}) {
    ::EnableMenuItem(m, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

bool TfrmToDo::ItemEnabled(UINT id) const {
  for (const HMENU m : {popGridMenu, popitemAttach, popAttach, popEdit}) {
    const UINT state = ::GetMenuState(m, id, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) return (state & (MF_GRAYED | MF_DISABLED)) == 0;
  }
  return false;
}

void TfrmToDo::SetItem(HMENU menu, UINT id, const wchar_t* caption, int image, bool enabled) {
  wchar_t old[128] = {};
  MENUITEMINFOW get{};
  get.cbSize = sizeof get;
  get.fMask = MIIM_STRING;
  get.dwTypeData = old;
  get.cch = 127;
  ::GetMenuItemInfoW(menu, id, FALSE, &get);
  std::wstring text = caption;
  if (const wchar_t* tab = wcschr(old, L'\t')) text += tab;  // keep the shortcut label
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STRING | (image >= 0 ? MIIM_BITMAP : 0u);
  mi.dwTypeData = text.data();
  if (image >= 0) mi.hbmpItem = menuImages_[static_cast<std::size_t>(image)].Get();
  ::SetMenuItemInfoW(menu, id, FALSE, &mi);
  ::EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled && CommandAvailable(id) ? MF_ENABLED : MF_GRAYED));
}

void TfrmToDo::PrepareGridMenu(int row) {
  const TaskTable& t = list_.Table();
  const bool done = IsDoneMark(t.Cell(colDaysLeft, row));
  const bool isTask = !TrimBlanks(t.Cell(colDueDate, row)).empty();
  SetItem(popGridMenu, idDoneOrNot, done ? L"未済にする" : L"済にする", done ? kImageNotDone : kImageDone, isTask);
  for (const UINT id : {idDel, idAttachEdit, idInputUrl, idAlarm, idAttachEdit2, idInputUrl2}) EnableItem(id, isTask);

  SetItem(popitemAttach, idAttachOpen, L"開く", -1, true);
  SetItem(popitemAttach, idAttachDelete, L"解除", -1, true);
  SetItem(popAttach, idAttachOpen2, L"添付ファイルを開く", -1, true);
  SetItem(popAttach, idAttachDelete2, L"添付ファイルの解除", -1, true);
  EnableItem(idAttachFolderOpen, true);
  EnableItem(idAttachFolderOpen2, true);
  const std::string& attachment = t.Cell(colAttachment, row);
  const bool has = !attachment.empty();
  for (const UINT id : {idAttachOpen, idAttachDelete, idAttachFolderOpen, idAttachOpen2, idAttachDelete2,
                        idAttachFolderOpen2}) {
    EnableItem(id, has);
  }
  if (has && IsWebAddress(attachment)) {
    SetItem(popitemAttach, idAttachOpen, L"URLを開く", -1, true);
    SetItem(popitemAttach, idAttachDelete, L"URLの解除", -1, true);
    SetItem(popAttach, idAttachOpen2, L"URLを開く", -1, true);
    SetItem(popAttach, idAttachDelete2, L"URLの解除", -1, true);
    EnableItem(idAttachFolderOpen, false);
    EnableItem(idAttachFolderOpen2, false);
  }
  SetItem(popGridMenu, idAlarm, t.Cell(colFlags, row).starts_with("A") ? L"アラーム解除" : L"アラーム設定", -1, isTask);
}

void TfrmToDo::PrepareAttachMenu() {
  const int row = list_.CurrentRow();
  const TaskTable& t = list_.Table();
  const bool isTask = !t.Cell(colDueDate, row).empty();
  EnableItem(idAttachEdit2, isTask);
  EnableItem(idInputUrl2, isTask);
  const std::string& attachment = t.Cell(colAttachment, row);
  const bool web = IsWebAddress(attachment);
  SetItem(popAttach, idAttachOpen2, web ? L"URLを開く" : L"添付ファイルを開く", -1, !attachment.empty());
  SetItem(popAttach, idAttachDelete2, web ? L"URLの解除" : L"添付ファイルの解除", -1, !attachment.empty());
  EnableItem(idAttachFolderOpen2, !attachment.empty() && !web);
}

void TfrmToDo::btnPopEditClick() {
  const int row = list_.CurrentRow();
  const TaskTable& t = list_.Table();
  const bool isTask = !t.Cell(colDueDate, row).empty();
  SetItem(popEdit, idAlarm2, isTask && t.Cell(colFlags, row).starts_with("A") ? L"アラーム解除" : L"アラーム設定", -1,
          isTask);
  RECT rc{};
  ::GetWindowRect(btnPopEdit, &rc);
  const UINT cmd = ::TrackPopupMenu(popEdit, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, rc.left, rc.bottom, 0,
                                    Handle(), nullptr);
  if (cmd) OnCommand(cmd);
}

void TfrmToDo::OnCommand(UINT id) {
  switch (id) {
    case idAdd: popitemAddClick(); break;
    case idDel: popitemDelClick(); break;
    case idDoneOrNot: popitemDoneOrNotClick(); break;
    case idAlarm:
    case idAlarm2: popitemAlarmClick(); break;
    case idBtnPopAttach: {
      PrepareAttachMenu();
      RECT rc{};
      ::GetWindowRect(btnPopAttach, &rc);
      const UINT cmd = ::TrackPopupMenu(popAttach, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, rc.left, rc.bottom,
                                        0, Handle(), nullptr);
      if (cmd) OnCommand(cmd);
      break;
    }
    case idBtnPopEdit: btnPopEditClick(); break;
    case idBtnMenu: break;  // the tray menu comes with the tray icon's commands
    default: break;         // commands still to come
  }
}

// ---------------------------------------------------------------------------------------------
// The task commands

void TfrmToDo::popitemAddClick() {
  list_.AddTask();
  FormResize();
  gridToDo->Refresh();
}

void TfrmToDo::popitemDelClick() {
  const std::string question = list_.DeleteQuestion();
  if (question.empty()) return;
  frmConfig_.SettingsShown = false;
  if (ShowMessage(BoxKind::Confirmation, FromCp932(question)) == IDNO) return;
  if (frmConfig_.SettingsShown) {
    ShowMessage(BoxKind::Information, L"設定画面が呼び出されたので処理を中止します。");
    return;
  }
  HideEditors();  // the rows move under them
  list_.DeleteCurrentTask();
  gridToDo->Refresh();
  EnterEditMode();
}

void TfrmToDo::popitemDoneOrNotClick() {
  list_.ToggleDone(settings_.FinishedDayChange);
  gridToDo->Refresh();
}

// ---------------------------------------------------------------------------------------------
// The grid's mouse

void TfrmToDo::ActAsClickOnCurrentRow(int col) {
  const RECT cell = gridToDo->CellRect(col, list_.CurrentRow());
  if (cell.right <= cell.left && cell.bottom <= cell.top) return;  // not on the screen
  gridToDoMouseUp(TaskGrid::Button::Left, 0, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
}

void TfrmToDo::gridToDoMouseUp(TaskGrid::Button button, UINT keys, int x, int y) {
  if (ignoreGridMouseUp_ && button == TaskGrid::Button::Left) {
    ignoreGridMouseUp_ = false;
    return;
  }
  if (!editMode_) return;
  int col = -1;
  int row = -1;
  gridToDo->CellAt(x, y, &col, &row);
  if (row < 1 || col < 0) return;
  if (row != list_.CurrentRow()) gridToDo->MoveCurrentRow(row);
  const TaskTable& t = list_.Table();
  const bool hasAttachment = !t.Cell(colAttachment, row).empty();
  const RECT cell = gridToDo->CellRect(colText, row);
  const bool inIconZone = x < cell.left + rowHeight_ + 4;

  if (button == TaskGrid::Button::Right) {
    PrepareGridMenu(row);
    hintAnchor_.x += 1;  // the next move over an attachment shows its hint again
    hintAnchor_.y -= 1;
    POINT at{x, y};
    ::ClientToScreen(gridToDo->Handle(), &at);
    const bool attachMenu = !t.Cell(colDueDate, row).empty() && hasAttachment && col == colText && inIconZone;
    const UINT cmd = ::TrackPopupMenu(attachMenu ? popAttach : popGridMenu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                      at.x, at.y, 0, Handle(), nullptr);
    if (cmd) OnCommand(cmd);
    return;
  }

  if (t.Cell(colDueDate, row).empty()) {
    // The blank row of an empty list: nothing to edit.
    FlagScope quiet(editorsQuiet_);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    ::ShowWindow(cmbDate, SW_HIDE);
    ::SendMessageW(cmbDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&now));
    ::ShowWindow(edtToDoText, SW_HIDE);
    settingEditorText_ = true;
    ::SetWindowTextW(edtToDoText, L"");
    settingEditorText_ = false;
    return;
  }
  switch (col) {
    case colDueDate:
      OpenDatePicker();
      break;
    case colDaysLeft:
      popitemDoneOrNotClick();
      break;
    case colText:
      LoadTextEditor();
      if (hasAttachment && inIconZone) {
        // Opening the attachment (or, with Shift, its folder) comes with the attachment commands.
        (void)keys;
      } else {
        ShowTextEditor();
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

void TfrmToDo::gridToDoMouseMove(int, int) {
  if (zoneCursorShown_ && CursorOf(cursorZone_) != ZoneCursor::Arrow) {
    zoneCursorShown_ = false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  }
  // (The attachment hint is prepared here once it exists.)
}

void TfrmToDo::gridToDoKeyPress(wchar_t ch) {
  if (IsCancelledControlCharacter(ch)) return;
  OpenTextEditor();  // the character itself is not inserted
}

void TfrmToDo::gridToDoTopLeftChanged() {
  HideEditors();
  const int top = list_.TopRow();
  const int bottom = top + std::max(1, list_.VisibleRowCount()) - 1;
  if (list_.CurrentRow() < top) list_.SetCurrentRow(top);
  if (list_.CurrentRow() > bottom) list_.SetCurrentRow(bottom);
  gridToDo->Refresh();
}

void TfrmToDo::gridToDoExit() {
  const HWND focus = ::GetFocus();
  FlagScope quiet(editorsQuiet_);
  if (focus != edtToDoText) ::ShowWindow(edtToDoText, SW_HIDE);
  if (focus != cmbDate) ::ShowWindow(cmbDate, SW_HIDE);
}

void TfrmToDo::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  // A wheel the focused control did not use gives the list the focus, and the list the wheel.
  if (!::IsWindowVisible(gridToDo->Handle())) return;
  ::SetFocus(gridToDo->Handle());
  ::SendMessageW(gridToDo->Handle(), WM_MOUSEWHEEL, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The window's own keys

void TfrmToDo::RunKeyAction(KeyAction action) {
  if (ClosesTextEditorFirst(action)) CloseTextEditor();
  switch (action) {
    case KeyAction::TextToDate:
      CloseTextEditor();
      ActAsClickOnCurrentRow(colDueDate);
      break;
    case KeyAction::DateToText: OpenTextEditor(); break;
    case KeyAction::Delete:
    case KeyAction::DeleteTask: popitemDelClick(); break;
    case KeyAction::Add: popitemAddClick(); break;
    case KeyAction::DoneOrNot: popitemDoneOrNotClick(); break;
    case KeyAction::Alarm: popitemAlarmClick(); break;
    default: break;  // commands still to come, and swallowed keys
  }
}

bool TfrmToDo::PreTranslateMessage(const MSG& msg) {
  if (!Handle() || !IsDescendantOrSelf(Handle(), msg.hwnd)) return false;
  if (msg.message == WM_CHAR) return IsCancelledControlCharacter(static_cast<unsigned>(msg.wParam));
  if (msg.message != WM_KEYDOWN) return false;

  const KeyState k{static_cast<unsigned>(msg.wParam), (::GetKeyState(VK_CONTROL) & 0x8000) != 0,
                   (::GetKeyState(VK_SHIFT) & 0x8000) != 0, (::GetKeyState(VK_MENU) & 0x8000) != 0};
  // With the list focused, the grid menu takes its shortcuts first; a disabled item's
  // shortcut does nothing.
  if (::GetFocus() == gridToDo->Handle() && k.ctrl && !k.shift && !k.alt) {
    for (const auto& [key, id] : kGridShortcuts) {
      if (key == k.key) {
        if (ItemEnabled(id)) OnCommand(id);
        return true;
      }
    }
  }
  if (!editMode_) return false;
  // The text editor's clipboard, undo and word keys are its own; their characters (Ctrl+C is
  // 3, Ctrl+V 22, …) come from TranslateMessage.
  if (::GetFocus() == edtToDoText && IsTextEditorKey(k)) return false;
  const KeyAction action = DecideFormKey(k, TextEditorOpen(), DatePickerOpen());
  if (action == KeyAction::None) return false;
  RunKeyAction(action);
  return true;
}

}  // namespace lq::win
