#pragma once
// One class per dialog, made from a DIALOGEX template of the resource script. The window is
// created once (when first shown, so start-up does not pay for it) and kept: each showing finds
// the controls as the last one left them. A modal showing disables the owner and runs its own
// message loop; a modeless one is served by the program's loop through RouteDialogMessage.

#include <windows.h>

#include <functional>

#include "platform/window.h"

namespace lq::win {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND Handle() const { return hwnd_; }
  bool Created() const { return hwnd_ != nullptr; }
  bool Visible() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

  // Makes the window without showing it; true when it exists.
  bool Create(HWND owner);
  // Shows the dialog modally over `owner` and returns the result given to EndModal (IDCANCEL
  // when the program ends meanwhile). `beforeHiding` runs when the showing has ended, with the
  // owner enabled and the dialog still visible: an owner hidden meanwhile shows itself there, so
  // that the activation passes to it and not to another program.
  INT_PTR ShowModal(HWND owner, const std::function<void()>& beforeHiding = nullptr);
  // Shows the dialog without modality; keys reach its controls through RouteDialogMessage.
  void ShowModeless(HWND owner, int showCommand = SW_SHOW);
  void Hide();
  // Ends a modal showing with a result; the window is hidden, not destroyed.
  void EndModal(INT_PTR result);
  bool InModalLoop() const { return modal_; }
  // Ends a modal showing as キャンセル would; nothing when the dialog is not showing.
  void Cancel() {
    if (modal_) EndModal(IDCANCEL);
  }
  // A dialog about the list in edit mode (search, dates, web address) ends when the list
  // leaves edit mode; the settings and the exchange do not.
  virtual bool EndsWithEditMode() const { return false; }

  // For the program's message loop: gives a visible dialog's keys to IsDialogMessage.
  static bool RouteDialogMessage(MSG* msg);

 protected:
  // Called once, when the window exists and before it is first shown (WM_INITDIALOG).
  virtual void OnCreate() {}
  // Whether making the window gives its first control the focus (and so the window the
  // activation); a popup that is never to take them says no.
  virtual bool FocusOnCreate() const { return true; }
  // Called before every showing.
  virtual void OnShow() {}
  // A message of the dialog; return true when handled, with the result in *result.
  virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result);
  // IDOK and IDCANCEL end a modal showing by default; Escape and the close box give IDCANCEL.
  virtual void OnCommand(int id, int code, HWND control);
  // A message of the modal loop before the dialog's keyboard handling; true when taken.
  virtual bool PreTranslateMessage(MSG&) { return false; }

  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  // A 96-DPI length in pixels at the DPI of the dialog's monitor (dialog units scale by
  // themselves; this is for pixel constants).
  int Scale(int pixels) const { return ScaleToDpi(pixels, DpiOf(hwnd_)); }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = IDCANCEL;
};

}  // namespace lq::win
