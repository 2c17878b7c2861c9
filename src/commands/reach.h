#pragma once
// The ways back to a window that has no taskbar button: clicks on the tray icon, the two hot
// keys and a second start of the program. Each is decided here from the window's state; the
// window carries the outcome out.

namespace lq {

// The mouse messages the tray icon reports; only two of them do anything.
enum class TrayMouse { LeftDown, RightUp, Other };

// A tray message is ignored while an earlier one is still being handled (its menu is open)
// and for every mouse message but the two. Only a message that is not ignored asks the
// dialogs to come forward.
bool TrayMessageIgnored(bool inTrayMessage, TrayMouse mouse);

struct TrayOutcome {
  bool hide = false;       // popitemHideClick
  bool showAgain = false;  // ShowAgain
  bool openMenu = false;   // bring the window to the foreground, open the tray menu at the cursor
  friend bool operator==(const TrayOutcome&, const TrayOutcome&) = default;
};
// `dialogOpen`: what BringDialogsToFront answered. A left press toggles the window away and
// back; a right release brings it back and opens the menu.
TrayOutcome DecideTrayClick(TrayMouse mouse, bool userHidden, bool dialogOpen);

enum class Summons {
  ActivateKey,  // the activation hot key
  VisibleKey,   // the show/hide hot key
  SecondStart,  // the program was started again while it runs
};

struct SummonsOutcome {
  bool showAgain = false;
  bool foreground = false;
  bool enterEditMode = false;   // EnterEditMode (in view mode)
  bool openTextEditor = false;  // OpenTextEditor (already in edit mode)
  bool hide = false;            // popitemHideClick
  friend bool operator==(const SummonsOutcome&, const SummonsOutcome&) = default;
};
// `dialogOpen`: what BringDialogsToFront answered; an open dialog is all that comes forward.
SummonsOutcome DecideSummons(Summons summons, bool userHidden, bool editMode, bool dialogOpen);

}  // namespace lq
