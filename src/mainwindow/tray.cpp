// The window's side of the ways back to it (traycontroller.h owns the icon and the keys, and
// listvisibility.h hiding and showing): the tray menu, also on btnMenu and the view image.
#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "platform/msgbox.h"

namespace lq::win {

// ---------------------------------------------------------------------------------------------
// The tray menu

TrayController::Callbacks TfrmToDo::TrayCallbacks() {
  TrayController::Callbacks c;
  c.userHidden = [this] { return visibility_.HiddenByUser(); };
  c.bringDialogsToFront = [this] { return visibility_.BringDialogsToFront(); };
  c.hide = [this] { visibility_.popitemHideClick(); };
  c.showAgain = [this] { visibility_.ShowAgain(); };
  c.prepareMenu = [this] { menus_.Prepare(MenuKind::Tray, CurrentContext()); };
  c.trackMenu = [this](POINT at) { return menus_.Track(MenuKind::Tray, Handle(), at); };
  c.summon = [this](Summons summons) { visibility_.Summon(summons); };
  c.inform = [this](const std::wstring& text) { ShowMessage(BoxKind::Information, text); };
  return c;
}

ListVisibility::Callbacks TfrmToDo::VisibilityCallbacks() {
  ListVisibility::Callbacks c;
  c.editMode = [this] { return editMode_; };
  c.enterEditMode = [this] { EnterEditMode(); };
  c.grid = [this] { return gridToDo->Handle(); };
  c.edgeMargin = [this] { return Scale(kHoverEdgeMargin); };
  c.cancelHint = [this] { CancelHint(); };
  c.runTimer = [this](bool run) {
    if (run) {
      ::SetTimer(Handle(), kMainTimer, 100, nullptr);
    } else {
      ::KillTimer(Handle(), kMainTimer);
    }
  };
  c.settingsWriteFailed = [this] { ShowSettingsWriteError(); };
  return c;
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

void TfrmToDo::btnExitClick1() {
  // After the menu has gone: the close may end the program.
  ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

}  // namespace lq::win
