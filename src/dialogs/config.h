#pragma once
// The settings dialog's state that other windows consult. The dialog itself is still to come;
// its two flags live here already so that the commands asking questions and the main window's
// showing read them where the dialog will keep them.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/msgbox.h"


namespace lq::win {

class TfrmConfig {
 public:
  // Set each time the dialog is shown. A command that asks a question clears it first and gives
  // up afterwards when the dialog was opened meanwhile (the tray icon stays live).
  bool SettingsShown = false;
  // True at creation, so the main window's first showing loads the settings; the dialog sets it
  // again when it closes with OK or キャンセル.
  bool SettingsReloadPending = true;
  bool Visible() const { return false; }

  // Asks a yes-or-no confirmation. IDNO comes back as it is; any other answer only when the
  // settings dialog was not opened while the question waited: otherwise the user is told that
  // the command gives up, and nothing comes back.
  std::optional<int> AskUnlessInterrupted(HWND owner, const std::wstring& question);
  // The same, with the boxes shown by the caller (the main window gives the focus back after
  // each).
  using ShowBoxFn = std::function<int(BoxKind kind, const std::wstring& text)>;
  std::optional<int> AskUnlessInterrupted(const ShowBoxFn& show, const std::wstring& question);
};

}  // namespace lq::win
