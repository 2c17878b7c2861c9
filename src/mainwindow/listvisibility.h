#pragma once
// Whether the list shows, and above what: the user's hide command and showing again, hover
// hiding on each tick, the list hidden while the settings or synchronisation dialog shows, a
// summons carried out, and the top-most band. It owns the two hidden states and reaches the
// window through the editors, the hints and the callbacks.

#include <windows.h>

#include <functional>

#include "commands/reach.h"

namespace lq::win {

class Application;
class Dialog;
class HeaderHints;
class TaskEditing;

class ListVisibility {
 public:
  struct Callbacks {
    std::function<bool()> editMode;
    std::function<void()> enterEditMode;
    std::function<HWND()> grid;
    std::function<int()> edgeMargin;  // hover hiding's margin at the window's DPI
    std::function<void()> cancelHint;
    std::function<void(bool)> runTimer;    // the main timer started (true) or stopped
    std::function<void()> settingsWriteFailed;
  };

  // Posted to the window after the settings or synchronisation dialog has gone: a question the
  // list still waits for comes back above it.
  static constexpr UINT kBringWaitForward = WM_APP + 0x31;

  ListVisibility(Application& app, TaskEditing& editing, HeaderHints& hints, Callbacks callbacks);
  void Attach(HWND window) { window_ = window; }

  bool HiddenByUser() const { return UserHidden; }
  bool HiddenByHover() const { return HoverHidden; }

  void BeforeHiding();  // whatever hides the list calls this first
  void popitemHideClick();
  void ShowAgain();
  // The tick's part: a list the user hid stays hidden; otherwise hover hiding decides.
  void FollowHover();
  void ApplyVisibility(bool visible);
  // Hides the list while `dialog` shows, and brings it back before the dialog goes; it returns
  // to edit mode when `enterEditMode` says so (asked as the list comes back).
  void RunHiddenWhile(Dialog& dialog, const std::function<bool()>& enterEditMode);
  // Brings the open dialogs (or a question the list waits for) forward; true when there was one.
  bool BringDialogsToFront();
  void Summon(Summons summons);
  void popitemTopMostClick();
  void ApplyTopMost();

 private:
  Application& app_;
  TaskEditing& editing_;
  HeaderHints& hints_;
  Callbacks cb_;
  HWND window_ = nullptr;
  bool UserHidden = false;
  bool HoverHidden = false;
};

}  // namespace lq::win
