#include "mainwindow/listvisibility.h"

#include <commctrl.h>

#include <utility>

#include "app/application.h"
#include "geometry/hover.h"
#include "mainwindow/headerhints.h"
#include "mainwindow/taskediting.h"
#include "mainwindow/traycontroller.h"
#include "settings/textforms.h"

namespace lq::win {
namespace {

bool Down(int vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

}  // namespace

ListVisibility::ListVisibility(Application& app, TaskEditing& editing, HeaderHints& hints, Callbacks callbacks)
    : app_(app), editing_(editing), hints_(hints), cb_(std::move(callbacks)) {}

// ---------------------------------------------------------------------------------------------
// Hiding and showing again

void ListVisibility::BeforeHiding() {
  // A hidden list takes no input: an editor closes (with its sort) and nothing it showed, no
  // menu, drop-down calendar or tip, stays on the screen over where the list was.
  ::EndMenu();
  if (editing_.Editors().DateOpen()) ::SendMessageW(editing_.Editors().DateHandle(), DTM_CLOSEMONTHCAL, 0, 0);
  editing_.CloseEditors();
  hints_.Pop();
  cb_.cancelHint();
  if (const HWND capture = ::GetCapture(); capture && (capture == window_ || ::IsChild(window_, capture))) {
    ::ReleaseCapture();
  }
}

void ListVisibility::popitemHideClick() {
  BeforeHiding();
  UserHidden = true;
  ::ShowWindow(window_, SW_HIDE);
}

void ListVisibility::ShowAgain() {
  UserHidden = false;
  ::ShowWindow(window_, SW_SHOW);
  cb_.runTimer(true);
}

void ListVisibility::FollowHover() {
  if (UserHidden) {
    ApplyVisibility(false);
    return;
  }
  HoverInput h;
  h.UserHidden = UserHidden;
  h.HoverHidden = HoverHidden;
  h.editMode = cb_.editMode();
  h.settingsShowing = app_.frmConfig.Visible();
  h.syncShowing = app_.frmSync.Visible();
  POINT p{};
  if (::GetCursorPos(&p)) h.cursor = Point{p.x, p.y};
  h.leftDown = Down(VK_LBUTTON);
  h.rightDown = Down(VK_RBUTTON);
  h.shiftDown = Down(VK_SHIFT);
  RECT rc{};
  ::GetWindowRect(window_, &rc);
  h.window = Rect{rc.left, rc.top, rc.right, rc.bottom};
  h.HideWhenOnMouse = app_.settings.HideWhenOnMouse;
  h.HideWhenOnEdge = app_.settings.HideWhenOnEdge;
  h.edgeMargin = cb_.edgeMargin();
  const HoverDecision d = DecideHover(h);
  HoverHidden = d.HoverHidden;
  ApplyVisibility(d.visible);
}

void ListVisibility::ApplyVisibility(bool visible) {
  if ((::IsWindowVisible(window_) != FALSE) == visible) return;
  if (!visible) hints_.Pop();  // no hint over where it was
  ::ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

void ListVisibility::RunHiddenWhile(Dialog& dialog, const std::function<bool()>& enterEditMode) {
  // No clock, change of day, alarm or hover hiding while the dialog is open.
  BeforeHiding();
  cb_.runTimer(false);
  ::ShowWindow(window_, SW_HIDE);
  // The window comes back before the dialog goes, so the activation stays with the program;
  // hiding gave the activation away, so edit mode is entered again unless showing does it.
  bool back = false;
  const auto comeBack = [&] {
    back = true;
    cb_.runTimer(true);
    const bool enter = enterEditMode();
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    if (enter) {
      ::SetFocus(cb_.grid());
      cb_.enterEditMode();
    }
    // Once the dialog has gone, not while it still shows.
    ::PostMessageW(window_, kBringWaitForward, 0, 0);
  };
  dialog.ShowModal(window_, comeBack);
  if (!back && ::IsWindow(window_)) comeBack();  // the dialog could not be shown at all
}

// ---------------------------------------------------------------------------------------------
// A summons: a hot key or a second start

bool ListVisibility::BringDialogsToFront() {
  cb_.cancelHint();
  bool open = false;
  app_.ForEachDialog([&open](Dialog& d) {
    if (!d.Visible()) return;
    // A message box over the dialog is what takes the keys.
    ::SetForegroundWindow(::GetLastActivePopup(d.Handle()));
    open = true;
  });
  // A question, the file dialog or another box of the list's own: the list waits for its answer.
  if (!open && WaitingPopup(window_)) {
    BringWaitForward(window_);
    open = true;
  }
  return open;
}

void ListVisibility::Summon(Summons summons) {
  const bool editMode = cb_.editMode();
  const SummonsOutcome o = DecideSummons(summons, UserHidden, editMode, BringDialogsToFront());
  if (o.hide) popitemHideClick();
  if (o.showAgain) ShowAgain();
  if (o.foreground) {
    ::SetForegroundWindow(window_);
    // The thread may still count the hidden window as active, so no activation gives it a
    // focus back: the keys would go nowhere.
    const HWND grid = cb_.grid();
    if (!::GetFocus()) ::SetFocus(cb_.editMode() && ::IsWindowVisible(grid) ? grid : window_);
  }
  if (o.enterEditMode) cb_.enterEditMode();
  if (o.openTextEditor) editing_.OpenTextEditor();
}

// ---------------------------------------------------------------------------------------------
// The top-most band

void ListVisibility::popitemTopMostClick() {
  Settings& settings = app_.settings;
  settings.TopMost = !settings.TopMost;
  ApplyTopMost();
  if (!WriteBoolean(app_.profile, keys::TopMost, settings.TopMost)) cb_.settingsWriteFailed();
}

void ListVisibility::ApplyTopMost() {
  ::SetWindowPos(window_, app_.settings.TopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace lq::win
