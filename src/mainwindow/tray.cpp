// The window's side of the ways back to it (traycontroller.h owns the icon and the keys): the
// tray menu (also on btnMenu and the view image), hiding and showing again, a summons carried
// out, and the top-most band.
#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "platform/msgbox.h"
#include "settings/textforms.h"

namespace lq::win {

// ---------------------------------------------------------------------------------------------
// The tray menu

TrayController::Callbacks TfrmToDo::TrayCallbacks() {
  TrayController::Callbacks c;
  c.userHidden = [this] { return UserHidden; };
  c.bringDialogsToFront = [this] { return BringDialogsToFront(); };
  c.hide = [this] { popitemHideClick(); };
  c.showAgain = [this] { ShowAgain(); };
  c.prepareMenu = [this] { menus_.Prepare(MenuKind::Tray, CurrentContext()); };
  c.trackMenu = [this](POINT at) { return menus_.Track(MenuKind::Tray, Handle(), at); };
  c.summon = [this](Summons summons) { Summon(summons); };
  c.inform = [this](const std::wstring& text) { ShowMessage(BoxKind::Information, text); };
  return c;
}

bool TfrmToDo::BringDialogsToFront() {
  CancelHint();
  bool open = false;
  app_.ForEachDialog([&open](Dialog& d) {
    if (!d.Visible()) return;
    // A message box over the dialog is what takes the keys.
    ::SetForegroundWindow(::GetLastActivePopup(d.Handle()));
    open = true;
  });
  // A question, the file dialog or another box of the list's own: the list waits for its answer.
  if (!open && WaitingPopup(Handle())) {
    BringWaitForward(Handle());
    open = true;
  }
  return open;
}

void TfrmToDo::PopTaskTray(POINT screen) {
  menus_.Prepare(MenuKind::Tray, CurrentContext());
  std::optional<Command> chosen;
  {
    const HeaderHints::Off noHints(hints_);  // the view image's hint would show over the menu
    chosen = menus_.Track(MenuKind::Tray, Handle(), screen);
  }
  if (chosen) Run(*chosen);
}

void TfrmToDo::btnMenuClick() {
  menus_.Prepare(MenuKind::Tray, CurrentContext());
  OpenMenuBelow(MenuKind::Tray, HeaderButton(Command::PopMenu));
}

void TfrmToDo::imgNotEditModeContextPopup() {
  POINT at{};
  ::GetCursorPos(&at);
  PopTaskTray(at);
}

void TfrmToDo::popitemEditClick() {
  imgNotEditModeDblClick();
  ignoreGridMouseUp_ = false;  // no button release follows a menu choice
}

void TfrmToDo::BeforeHiding() {
  // A hidden list takes no input: an editor closes (with its sort) and nothing it showed, no
  // menu, drop-down calendar or tip, stays on the screen over where the list was.
  ::EndMenu();
  if (editing_.Editors().DateOpen()) ::SendMessageW(editing_.Editors().DateHandle(), DTM_CLOSEMONTHCAL, 0, 0);
  editing_.CloseEditors();
  hints_.Pop();
  CancelHint();
  if (const HWND capture = ::GetCapture(); capture && (capture == Handle() || ::IsChild(Handle(), capture))) {
    ::ReleaseCapture();
  }
}

void TfrmToDo::popitemHideClick() {
  BeforeHiding();
  UserHidden = true;
  ::ShowWindow(Handle(), SW_HIDE);
}

void TfrmToDo::ShowAgain() {
  UserHidden = false;
  ::ShowWindow(Handle(), SW_SHOW);
  ::SetTimer(Handle(), kMainTimer, 100, nullptr);
}

void TfrmToDo::popitemTopMostClick() {
  settings_.TopMost = !settings_.TopMost;
  ApplyTopMost();
  if (!WriteBoolean(app_.profile, keys::TopMost, settings_.TopMost)) ShowSettingsWriteError();
}

void TfrmToDo::btnExitClick1() {
  // After the menu has gone: the close may end the program.
  ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// A summons: a hot key or a second start

void TfrmToDo::Summon(Summons summons) {
  const SummonsOutcome o = DecideSummons(summons, UserHidden, editMode_, BringDialogsToFront());
  if (o.hide) popitemHideClick();
  if (o.showAgain) ShowAgain();
  if (o.foreground) {
    ::SetForegroundWindow(Handle());
    // The thread may still count the hidden window as active, so no activation gives it a
    // focus back: the keys would go nowhere.
    if (!::GetFocus()) ::SetFocus(editMode_ && ::IsWindowVisible(gridToDo->Handle()) ? gridToDo->Handle() : Handle());
  }
  if (o.enterEditMode) EnterEditMode();
  if (o.openTextEditor) editing_.OpenTextEditor();
}

}  // namespace lq::win
