#pragma once
// The program's icon in the notification area, removed when the object goes, on every path.

#include <windows.h>

#include <string>

namespace lq::win {

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The mouse messages on the icon arrive at `owner` as `callbackMessage` with the mouse
  // message in lParam. False when the shell refused.
  bool Add(HWND owner, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip);
  void Remove();
  // A new tip for the icon, shown at once when it is there.
  bool SetTip(const std::wstring& tip);
  bool Added() const { return added_; }
  // After Explorer restarted (the broadcast TaskbarMessage()), the notification area has
  // forgotten every icon: ours comes back if it was there.
  bool Restore();

  // The "TaskbarCreated" message Explorer broadcasts when it starts.
  static UINT TaskbarMessage();

 private:
  bool Notify(DWORD what);

  HWND owner_ = nullptr;
  UINT id_ = 0;
  UINT callback_ = 0;
  HICON icon_ = nullptr;
  std::wstring tip_;
  bool added_ = false;
  bool wanted_ = false;
};

}  // namespace lq::win
