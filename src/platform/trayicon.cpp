#include "platform/trayicon.h"

#include <shellapi.h>

namespace lq::win {

bool TrayIcon::Notify(DWORD what) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner_;
  nid.uID = id_;
  if (what == NIM_ADD || what == NIM_MODIFY) {
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = callback_;
    nid.hIcon = icon_;
    lstrcpynW(nid.szTip, tip_.c_str(), static_cast<int>(std::size(nid.szTip)));
  }
  return ::Shell_NotifyIconW(what, &nid) != FALSE;
}

bool TrayIcon::Add(HWND owner, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip) {
  Remove();
  owner_ = owner;
  id_ = id;
  callback_ = callbackMessage;
  icon_ = icon;
  tip_ = tip;
  wanted_ = true;
  added_ = Notify(NIM_ADD);
  return added_;
}

void TrayIcon::Remove() {
  wanted_ = false;
  if (!added_) return;
  Notify(NIM_DELETE);
  added_ = false;
}

bool TrayIcon::SetTip(const std::wstring& tip) {
  tip_ = tip;
  return added_ && Notify(NIM_MODIFY);
}

bool TrayIcon::Restore() {
  if (!wanted_) return false;
  // The message also comes while the icon is still there (a taskbar that was only re-made):
  // then the add is refused, and the icon is ours all the same.
  added_ = Notify(NIM_ADD) || Notify(NIM_MODIFY);
  return added_;
}

UINT TrayIcon::TaskbarMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace lq::win
