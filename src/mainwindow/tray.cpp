// The window's side of the ways back to it (traycontroller.h owns the icon and the keys, and
// listvisibility.h hiding and showing): the tray menu, also on btnMenu and the view image.
#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "platform/msgbox.h"

namespace lq::win {

// ---------------------------------------------------------------------------------------------
// The tray menu

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
