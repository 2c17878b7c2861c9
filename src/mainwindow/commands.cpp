// Every command of the main window, whether it comes from a menu, a shortcut key or a header
// button, is carried out here; which ones are enabled, and with which captions, the command
// table decides.
#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"

namespace lq::win {

CommandContext TfrmToDo::CurrentContext() const {
  CommandContext ctx = ContextOfRow(list_.Table(), list_.CurrentRow());
  ctx.editMode = editMode_;
  ctx.topMost = settings_.TopMost;
  ctx.syncEnabled = settings_.SyncEnabled;
  if (const auto step = list_.UndoLabel()) ctx.undoName = StepName(*step);
  if (const auto step = list_.RedoLabel()) ctx.redoName = StepName(*step);
  return ctx;
}

HWND TfrmToDo::HeaderButton(Command command) const {
  const auto buttons = HeaderButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i] == command) return headerButtons_[i];
  }
  return nullptr;
}

void TfrmToDo::OpenMenuBelow(MenuKind menu, HWND button) {
  RECT rc{};
  ::GetWindowRect(button, &rc);
  std::optional<Command> chosen;
  {
    const HeaderHints::Off noHints(hints_);  // the button's own hint would show over the menu
    chosen = menus_.Track(menu, Handle(), POINT{rc.left, rc.bottom});
  }
  if (chosen) Run(*chosen);
}

void TfrmToDo::Run(Command command) {
  switch (command) {
    case Command::Add: popitemAddClick(); break;
    case Command::Del: popitemDelClick(); break;
    case Command::DoneOrNot: popitemDoneOrNotClick(); break;
    case Command::Alarm: popitemAlarmClick(); break;
    case Command::Config: popitemConfigClick(); break;
    case Command::PopMenu: btnMenuClick(); break;
    case Command::Edit: popitemEditClick(); break;
    case Command::Hide: visibility_.popitemHideClick(); break;
    case Command::TopMost: visibility_.popitemTopMostClick(); break;
    case Command::Exit: btnExitClick1(); break;
    case Command::Sync: popitemSyncClick(); break;
    case Command::FindToDo: listDialogs_.popitemFindToDoClick(); break;
    case Command::MoveDate: listDialogs_.popitemMoveDateClick(); break;
    case Command::PastDelete: listDialogs_.popitemPastDeleteClick(); break;
    case Command::AttachOpen: attachments_.popitemAttachOpenClick(); break;
    case Command::AttachEdit: attachments_.popitemAttachEditClick(); break;
    case Command::AttachDelete: attachments_.popitemAttachDeleteClick(); break;
    case Command::AttachFolderOpen: attachments_.popitemAttachFolderOpenClick(); break;
    case Command::InputUrl: attachments_.popitemInputUrlClick(); break;
    case Command::Undo: popitemUndoClick(false); break;
    case Command::Redo: popitemUndoClick(true); break;
    case Command::PopAttach:
      menus_.Prepare(MenuKind::Attach, CurrentContext());
      OpenMenuBelow(MenuKind::Attach, HeaderButton(Command::PopAttach));
      break;
    case Command::PopEdit:
      menus_.Prepare(MenuKind::Edit, CurrentContext());
      OpenMenuBelow(MenuKind::Edit, HeaderButton(Command::PopEdit));
      break;
    case Command::RepeatNone:
    case Command::RepeatDaily:
    case Command::RepeatWeekdays:
    case Command::RepeatWeekly:
    case Command::RepeatMonthly:
    case Command::RepeatYearly:
      popitemRepeatClick(*RepeatOfCommand(command));
      break;
    case Command::Count:  // no default: a command without a case here is a compiler warning
      break;
  }
}

void TfrmToDo::FinishAttachmentChange() {
  gridToDo->Refresh();
  if (!editMode_) {
    EnterEditMode();
  } else if (::IsWindowVisible(gridToDo->Handle())) {
    ::SetFocus(gridToDo->Handle());
  }
}

std::optional<int> TfrmToDo::AskUnlessInterrupted(const std::wstring& question) {
  return app_.frmConfig.AskUnlessInterrupted(
      [this](BoxKind kind, const std::wstring& text) { return ShowMessage(kind, text); }, question);
}

bool TfrmToDo::SelectTaskAfterWait(const TaskIdentity& task, int row) {
  editing_.CloseEditors();
  const auto now = list_.FindTask(task, row);
  if (!now) {
    ShowMessage(BoxKind::Information, L"予定が変更または削除されたので処理を中止します。");
    return false;
  }
  gridToDo->MoveCurrentRow(*now);
  return true;
}

// ---------------------------------------------------------------------------------------------
// The task commands

void TfrmToDo::popitemAddClick() {
  list_.AddTask();
  layout_.FormResize();
  gridToDo->Refresh();
}

void TfrmToDo::popitemDelClick() {
  const int row = list_.CurrentRow();
  const auto task = list_.IdentityOf(row);
  if (!task) return;
  const auto answer = AskUnlessInterrupted(FromCp932(list_.DeleteQuestion()));
  if (!answer || *answer == IDNO || !SelectTaskAfterWait(*task, row)) return;
  editing_.HideEditors();  // the rows move under them
  list_.DeleteCurrentTask();
  gridToDo->Refresh();
  EnterEditMode();
}

void TfrmToDo::popitemDoneOrNotClick() {
  const int rows = list_.Table().RowCount();
  list_.ToggleDone(settings_.FinishedDayChange);
  if (list_.Table().RowCount() != rows) layout_.FormResize();  // a repeating task added its next one, as an add does
  gridToDo->Refresh();
}

void TfrmToDo::popitemRepeatClick(Repeat kind) {
  if (list_.SetRepeat(kind)) gridToDo->Refresh();
}

void TfrmToDo::popitemUndoClick(bool redo) {
  editing_.CloseEditors();  // the text editor's closing sort belongs to the step before
  const TaskList::UndoResult r = redo ? list_.Redo() : list_.Undo();
  if (r.outcome == TaskList::UndoResult::Outcome::Nothing) return;
  layout_.FormResize();
  gridToDo->Refresh();
  if (r.outcome == TaskList::UndoResult::Outcome::Refused) {
    ShowMessage(BoxKind::Information, L"予定が変更または削除されたので元に戻せません。");
  }
}

}  // namespace lq::win
