#include "commands/reach.h"

namespace lq {

bool TrayMessageIgnored(bool inTrayMessage, TrayMouse mouse) { return inTrayMessage || mouse == TrayMouse::Other; }

TrayOutcome DecideTrayClick(TrayMouse mouse, bool userHidden, bool dialogOpen) {
  TrayOutcome o;
  if (dialogOpen || mouse == TrayMouse::Other) return o;
  if (mouse == TrayMouse::LeftDown && !userHidden) {
    o.hide = true;
    return o;
  }
  o.showAgain = userHidden;
  o.openMenu = mouse == TrayMouse::RightUp;
  return o;
}

SummonsOutcome DecideSummons(Summons summons, bool userHidden, bool editMode, bool dialogOpen) {
  SummonsOutcome o;
  if (dialogOpen) return o;
  switch (summons) {
    case Summons::ActivateKey:
      o.showAgain = userHidden;
      o.foreground = true;
      o.enterEditMode = !editMode;
      o.openTextEditor = editMode;
      break;
    case Summons::VisibleKey:
      o.showAgain = userHidden;
      o.foreground = userHidden;
      o.hide = !userHidden;
      break;
    case Summons::SecondStart:
      o.showAgain = userHidden;
      o.foreground = true;
      break;
  }
  return o;
}

}  // namespace lq
