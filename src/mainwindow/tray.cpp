// How the user reaches a window without a taskbar button: the tray icon and its menu (also on
// btnMenu and the view image), the two system-wide hot keys and a second start of the program;
// hiding and showing again, and the top-most band. What each click or key does is decided in
// commands/reach.h; which texts make a hot key, in settings/shortcut.h.
#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "platform/codepage.h"
#include "platform/msgbox.h"
#include "settings/shortcut.h"
#include "settings/textforms.h"

namespace lq::win {
namespace {

static_assert(vk::Back == VK_BACK && vk::Insert == VK_INSERT && vk::Left == VK_LEFT && vk::Up == VK_UP &&
              vk::Right == VK_RIGHT && vk::Down == VK_DOWN && vk::F1 == VK_F1);
static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT);

TrayMouse TrayMouseOf(UINT mouse) {
  if (mouse == WM_LBUTTONDOWN) return TrayMouse::LeftDown;
  if (mouse == WM_RBUTTONUP) return TrayMouse::RightUp;
  return TrayMouse::Other;
}

// The failure message names the combination, so the user knows which one clashes.
std::wstring HotKeyFailureText(const wchar_t* which, const HotKeyRequest& request) {
  std::wstring text = std::wstring(which) + L"ホットキーの登録に失敗しました。\r\n";
  const std::wstring name = FromCp932(request.name);
  if (!request.code) return text + L"「" + name + L"」はホットキーに使えません。設定画面で選び直してください。";
  return text + L"他のアプリケーションと重ならないホットキーを指定してみてください。\r\n\r\nホットキー: " + name;
}

}  // namespace

UINT TfrmToDo::ShowAgainRequest() {
  static const UINT message = ::RegisterWindowMessageW(L"Lindqvale_ShowAgain");
  return message;
}

// ---------------------------------------------------------------------------------------------
// The tray icon and its menu

void TfrmToDo::OnTrayMessage(UINT mouse) {
  const TrayMouse m = TrayMouseOf(mouse);
  if (TrayMessageIgnored(InTrayMessage, m)) return;
  const ScopedFlag inTray(InTrayMessage);
  const TrayOutcome o = DecideTrayClick(m, UserHidden, BringDialogsToFront());
  if (o.hide) popitemHideClick();
  if (o.showAgain) ShowAgain();
  if (o.openMenu) {
    POINT at{};
    ::GetCursorPos(&at);
    menus_.Prepare(MenuKind::Tray, CurrentContext());
    std::optional<Command> chosen;
    for (int tries = 0; tries < 2 && !chosen; ++tries) {
      // Without the foreground the menu would not close when the user clicks elsewhere.
      ::SetForegroundWindow(Handle());
      menuCancelled_ = false;
      chosen = menus_.Track(MenuKind::Tray, Handle(), at);
      ::PostMessageW(Handle(), WM_NULL, 0, 0);
      // A quick click on the icon gives the notification area the activation, and under Wine
      // that may reach the list only after the menu has opened: the lost focus cancels the menu
      // at once, though no other program takes the activation. It opens once more, the
      // activation taken back. (A click elsewhere gives the activation to what was clicked.)
      const HWND now = ::GetForegroundWindow();
      DWORD owner = 0;
      if (now) ::GetWindowThreadProcessId(now, &owner);
      const bool otherProgram = now && now != ::GetDesktopWindow() && owner != ::GetCurrentProcessId();
      if (!menuCancelled_ || otherProgram) break;
    }
    // The choice runs after this message has ended, so that while a dialog it opens is showing,
    // a click on the icon brings that dialog forward.
    if (chosen) ::PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(MenuItemId(MenuKind::Tray, *chosen), 0), 0);
  }
}

bool TfrmToDo::BringDialogsToFront() {
  CancelHint();
  bool open = false;
  app_.ForEachDialog([&open](Dialog& d) {
    if (!d.Visible()) return;
    // A message box over the dialog is what takes the keys.
    ::SetForegroundWindow(::GetLastActivePopup(d.Handle()));
    open = true;
  });
  // A question, the file dialog or another box of the list's own: the list waits for its answer.
  if (!open && WaitingPopup()) {
    BringWaitForward();
    open = true;
  }
  return open;
}

HWND TfrmToDo::WaitingPopup() const {
  // A modal box or dialog owned by the list disables it for as long as it is open.
  if (::IsWindowEnabled(Handle())) return nullptr;
  const auto waiting = [this](HWND w) {
    return w != Handle() && ::GetWindow(w, GW_OWNER) == Handle() && ::IsWindowVisible(w) && ::IsWindowEnabled(w);
  };
  const HWND last = ::GetLastActivePopup(Handle());
  if (waiting(last)) return last;
  // The one active last may have gone (a dialog that opened over the question): the topmost
  // of the others.
  struct Search {
    const decltype(waiting)& waiting;
    HWND found = nullptr;
  } search{waiting};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        if (!s->waiting(w)) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void TfrmToDo::BringWaitForward() {
  const HWND popup = WaitingPopup();
  if (!popup) return;
  // Above the list, which may have just been shown over it, and holding the keys.
  ::SetWindowPos(popup, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(popup);
}

void TfrmToDo::PopTaskTray(POINT screen) {
  menus_.Prepare(MenuKind::Tray, CurrentContext());
  std::optional<Command> chosen;
  {
    const HintsOff noHints(*this);  // the view image's hint would show over the menu
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

void TfrmToDo::BeforeHiding() {
  // A hidden list takes no input: an editor closes (with its sort) and nothing it showed, no
  // menu, drop-down calendar or tip, stays on the screen over where the list was.
  ::EndMenu();
  if (editors_.DateOpen()) ::SendMessageW(editors_.DateHandle(), DTM_CLOSEMONTHCAL, 0, 0);
  CloseEditors();
  if (tooltips_) ::SendMessageW(tooltips_, TTM_POP, 0, 0);
  CancelHint();
  if (const HWND capture = ::GetCapture(); capture && (capture == Handle() || ::IsChild(Handle(), capture))) {
    ::ReleaseCapture();
  }
}

void TfrmToDo::popitemHideClick() {
  BeforeHiding();
  UserHidden = true;
  ::ShowWindow(Handle(), SW_HIDE);
}

void TfrmToDo::ShowAgain() {
  UserHidden = false;
  ::ShowWindow(Handle(), SW_SHOW);
  ::SetTimer(Handle(), kMainTimer, 100, nullptr);
}

void TfrmToDo::popitemTopMostClick() {
  topMost_ = !topMost_;
  ApplyTopMost();
  settings_.TopMost = topMost_;
  if (!WriteBoolean(app_.profile, keys::TopMost, topMost_)) ShowSettingsWriteError();
}

void TfrmToDo::btnExitClick1() {
  // After the menu has gone: the close may end the program.
  ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// The hot keys

void TfrmToDo::RegisterHotKeys() {
  // Both go first, whatever the settings say, so that a change or a switch-off counts at once.
  activateHotKey_->UnregisterFrom(Handle());
  visibleHotKey_->UnregisterFrom(Handle());
  hotKeyFailures_.clear();
  if (!settings_.HotKeyEnabled) return;
  const struct {
    HotKey& key;
    const std::string& text;
    const wchar_t* which;
  } keys[] = {{*activateHotKey_, settings_.ActivateShortcut, L"アクティブ化"},
              {*visibleHotKey_, settings_.VisibleShortcut, L"表示・非表示"}};
  for (const auto& k : keys) {
    const HotKeyRequest request = HotKeyRequestOf(k.text);
    // Held down, a key repeats: without MOD_NOREPEAT the show/hide key would flicker the
    // window away and back.
    if (request.code && k.key.Register(Handle(), request.code->modifiers | MOD_NOREPEAT, request.code->virtualKey)) {
      continue;
    }
    hotKeyFailures_.push_back(HotKeyFailureText(k.which, request));
  }
  // Shown once the window is up: a message box must not hold up its first showing.
  if (!hotKeyFailures_.empty()) ::PostMessageW(Handle(), kReportHotKeyFailures, 0, 0);
}

void TfrmToDo::ReportHotKeyFailures() {
  const std::vector<std::wstring> failures = std::move(hotKeyFailures_);
  hotKeyFailures_.clear();
  for (const std::wstring& text : failures) ShowMessage(BoxKind::Information, text);
}

void TfrmToDo::OnHotKey(int id) {
  if (activateHotKey_ && id == activateHotKey_->Id()) {
    Summon(Summons::ActivateKey);
  } else if (visibleHotKey_ && id == visibleHotKey_->Id()) {
    Summon(Summons::VisibleKey);
  }
}

void TfrmToDo::Summon(Summons summons) {
  const SummonsOutcome o = DecideSummons(summons, UserHidden, editMode_, BringDialogsToFront());
  if (o.hide) popitemHideClick();
  if (o.showAgain) ShowAgain();
  if (o.foreground) {
    ::SetForegroundWindow(Handle());
    // The thread may still count the hidden window as active, so no activation gives it a
    // focus back: the keys would go nowhere.
    if (!::GetFocus()) ::SetFocus(editMode_ && ::IsWindowVisible(gridToDo->Handle()) ? gridToDo->Handle() : Handle());
  }
  if (o.enterEditMode) EnterEditMode();
  if (o.openTextEditor) OpenTextEditor();
}

}  // namespace lq::win
