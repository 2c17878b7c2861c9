// The tray icon, the hot keys and a second start: what each click or key does is decided in
// commands/reach.h, which texts make a hot key in settings/shortcut.h; the window carries out
// the outcome through the callbacks.
#include "mainwindow/traycontroller.h"

#include <utility>

#include "mainwindow/commandmenus.h"
#include "platform/codepage.h"
#include "platform/imagelist.h"
#include "settings/settings.h"
#include "settings/shortcut.h"

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

UINT TrayController::ShowAgainRequest() {
  static const UINT message = ::RegisterWindowMessageW(L"Lindqvale_ShowAgain");
  return message;
}

TrayController::TrayController(Callbacks callbacks) : callbacks_(std::move(callbacks)) {}

void TrayController::Attach(HWND window) {
  window_ = window;
  activateHotKey_.emplace(L"Mutex_of_Tarnwillow_Activate");
  visibleHotKey_.emplace(L"Mutex_of_Tarnwillow_Visible");
}

void TrayController::AddIcon(HICON fallback) {
  if (icon_.Added()) return;
  if (!image_) image_.Reset(CreateProgramIcon(::GetSystemMetrics(SM_CXSMICON)));
  icon_.Add(window_, 1, kTrayCallback, image_ ? image_.Get() : fallback, L"Tarnwillow");
}

void TrayController::Teardown() {
  icon_.Remove();
  activateHotKey_.reset();
  visibleHotKey_.reset();
}

std::optional<LRESULT> TrayController::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kTrayCallback:
      OnTrayMessage(LOWORD(lParam));
      return 0;
    case WM_HOTKEY:
      if (activateHotKey_ && static_cast<int>(wParam) == activateHotKey_->Id()) {
        callbacks_.summon(Summons::ActivateKey);
      } else if (visibleHotKey_ && static_cast<int>(wParam) == visibleHotKey_->Id()) {
        callbacks_.summon(Summons::VisibleKey);
      }
      return 0;
    case kReportHotKeyFailures:
      ReportHotKeyFailures();
      return 0;
    case WM_CANCELMODE:
      menuCancelled_ = true;
      return std::nullopt;
    default:
      // Explorer started again and has forgotten every icon.
      if (msg == TrayIcon::TaskbarMessage()) {
        icon_.Restore();
        return 0;
      }
      if (msg == ShowAgainRequest()) {
        callbacks_.summon(Summons::SecondStart);
        return kShowAgainAnswer;
      }
      return std::nullopt;
  }
}

void TrayController::OnTrayMessage(UINT mouse) {
  const TrayMouse m = TrayMouseOf(mouse);
  if (TrayMessageIgnored(InTrayMessage, m)) return;
  const ScopedFlag inTray(InTrayMessage);
  const TrayOutcome o = DecideTrayClick(m, callbacks_.userHidden(), callbacks_.bringDialogsToFront());
  if (o.hide) callbacks_.hide();
  if (o.showAgain) callbacks_.showAgain();
  if (!o.openMenu) return;
  POINT at{};
  ::GetCursorPos(&at);
  callbacks_.prepareMenu();
  std::optional<Command> chosen;
  for (int tries = 0; tries < 2 && !chosen; ++tries) {
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(window_);
    menuCancelled_ = false;
    chosen = callbacks_.trackMenu(at);
    ::PostMessageW(window_, WM_NULL, 0, 0);
    // A quick click on the icon gives the notification area the activation, and under Wine
    // that may reach the window only after the menu has opened: the lost focus cancels the menu
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
  if (chosen) ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(MenuItemId(MenuKind::Tray, *chosen), 0), 0);
}

void TrayController::RegisterHotKeys(const Settings& settings) {
  activateHotKey_->UnregisterFrom(window_);
  visibleHotKey_->UnregisterFrom(window_);
  hotKeyFailures_.clear();
  if (!settings.HotKeyEnabled) return;
  const struct {
    HotKey& key;
    const std::string& text;
    const wchar_t* which;
  } keys[] = {{*activateHotKey_, settings.ActivateShortcut, L"アクティブ化"},
              {*visibleHotKey_, settings.VisibleShortcut, L"表示・非表示"}};
  for (const auto& k : keys) {
    const HotKeyRequest request = HotKeyRequestOf(k.text);
    // Held down, a key repeats: without MOD_NOREPEAT the show/hide key would flicker the
    // window away and back.
    if (request.code && k.key.Register(window_, request.code->modifiers | MOD_NOREPEAT, request.code->virtualKey)) {
      continue;
    }
    hotKeyFailures_.push_back(HotKeyFailureText(k.which, request));
  }
  // A message box must not hold up the window's first showing.
  if (!hotKeyFailures_.empty()) ::PostMessageW(window_, kReportHotKeyFailures, 0, 0);
}

void TrayController::ReportHotKeyFailures() {
  const std::vector<std::wstring> failures = std::exchange(hotKeyFailures_, {});
  for (const std::wstring& text : failures) callbacks_.inform(text);
}

HWND WaitingPopup(HWND window) {
  // A modal box or dialog owned by the window disables it for as long as it is open.
  if (::IsWindowEnabled(window)) return nullptr;
  const auto waiting = [window](HWND w) {
    return w != window && ::GetWindow(w, GW_OWNER) == window && ::IsWindowVisible(w) && ::IsWindowEnabled(w);
  };
  const HWND last = ::GetLastActivePopup(window);
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

void BringWaitForward(HWND window) {
  const HWND popup = WaitingPopup(window);
  if (!popup) return;
  // Above the window, which may have just been shown over it, and holding the keys.
  ::SetWindowPos(popup, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(popup);
}

}  // namespace lq::win
