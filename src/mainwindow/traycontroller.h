#pragma once
// The ways back to a window without a taskbar button: the tray icon (and its menu, opened from
// the icon), the two system-wide hot keys and a second start of the program. The controller
// owns the icon, the keys and their registration; what the window shows is the window's, and
// the controller reaches it only through its callbacks.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/commandtable.h"
#include "commands/reach.h"
#include "platform/handles.h"
#include "platform/hotkey.h"
#include "platform/trayicon.h"

namespace lq {
struct Settings;
}

namespace lq::win {

class TrayController {
 public:
  struct Callbacks {
    std::function<bool()> userHidden;
    // Brings the open dialogs (or a question the window waits for) forward; true when there was one.
    std::function<bool()> bringDialogsToFront;
    std::function<void()> hide;       // popitemHideClick
    std::function<void()> showAgain;  // ShowAgain
    // The tray menu, made ready for the window's state, then tracked at a screen point.
    std::function<void()> prepareMenu;
    std::function<std::optional<Command>(POINT)> trackMenu;
    std::function<void(Summons)> summon;
    std::function<void(const std::wstring&)> inform;  // a message box of the window
  };

  // A second start of the program sends this (registered) message to the running window: a
  // window the user hid comes back, an open dialog comes forward, and the window or the dialog
  // takes the foreground itself. The answer is kShowAgainAnswer.
  static UINT ShowAgainRequest();
  static constexpr LRESULT kShowAgainAnswer = 0x4C51;

  explicit TrayController(Callbacks callbacks);

  // The window the icon and the keys report to, once it exists; the hot keys' atoms are made here.
  void Attach(HWND window);
  // Drawn at the small-icon size of the display's scale; `fallback` when that fails.
  void AddIcon(HICON fallback);
  bool IconAdded() const { return icon_.Added(); }
  // Both keys go first, whatever the settings say, so that a change or a switch-off counts at
  // once. Failures are told once the window is up.
  void RegisterHotKeys(const Settings& settings);
  // The icon removed and the keys unregistered, their atoms deleted.
  void Teardown();

  // The answer to a message of the icon, the keys or a second start; none for any other
  // message (and for WM_CANCELMODE, which it only notes).
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static constexpr UINT kTrayCallback = WM_USER + 100;
  static constexpr UINT kReportHotKeyFailures = WM_APP + 0x30;

  void OnTrayMessage(UINT mouse);
  void ReportHotKeyFailures();

  Callbacks callbacks_;
  HWND window_ = nullptr;
  TrayIcon icon_;
  Icon image_;  // at the notification area's icon size
  std::optional<HotKey> activateHotKey_;
  std::optional<HotKey> visibleHotKey_;
  std::vector<std::wstring> hotKeyFailures_;
  bool InTrayMessage = false;
  bool menuCancelled_ = false;  // WM_CANCELMODE came while the tray menu was open
};

// The question or dialog of the window's own that it waits for (a message box, the file
// dialog, the URL dialog), or null.
HWND WaitingPopup(HWND window);
// Puts that question or dialog above the window, with the keyboard.
void BringWaitForward(HWND window);

}  // namespace lq::win
