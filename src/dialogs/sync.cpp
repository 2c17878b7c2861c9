#include "dialogs/sync.h"

#include <commctrl.h>

#include <string>

#include "platform/codepage.h"
#include "platform/handles.h"
#include "platform/msgbox.h"
#include "resource.h"
#include "settings/textforms.h"

namespace lq::win {
namespace {

constexpr UINT kFocusSync = WM_APP + 1;
// A run moves the bar for every task and item; showing each step would cost more than the run.
constexpr ULONGLONG kRepaintMs = 50;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string Decode(std::string_view cp932) {
  const std::wstring text = FromCp932(cp932);
  return std::u16string(text.begin(), text.end());
}

}  // namespace

TfrmSync::TfrmSync(Environment env) : Dialog(IDD_SYNC), env_(std::move(env)) {}

void TfrmSync::OnShow() { FormShow(); }

void TfrmSync::FormShow() {
  const HWND progress = Item(IDC_SYNC_PROGRESS);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, 0);
  ::SendMessageW(progress, PBM_SETPOS, 0, 0);
  ::EnableWindow(Item(IDC_SYNC_BTNSYNC), TRUE);
  ::SendMessageW(Handle(), DM_SETDEFID, IDC_SYNC_BTNSYNC, 0);
  ::SetDlgItemTextW(Handle(), IDC_SYNC_LBLMSG, Wide(kSyncIdleText).c_str());
  ::SetDlgItemTextW(Handle(), IDC_SYNC_LBLCOUNTS, L"");
  // Once the dialog is active as well: the activation puts the focus back where the last
  // showing left it (on 閉じる after a run), and it may come before or after this message.
  focusOnActivation_ = true;
  ::PostMessageW(Handle(), kFocusSync, 0, 0);
}

bool TfrmSync::HandleMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR* result) {
  if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && focusOnActivation_) {
    focusOnActivation_ = false;
    ::PostMessageW(Handle(), kFocusSync, 0, 0);
    return false;
  }
  if (msg != kFocusSync) return false;
  const HWND button = Item(IDC_SYNC_BTNSYNC);
  if (::IsWindowEnabled(button)) ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
  *result = TRUE;
  return true;
}

void TfrmSync::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_SYNC_BTNSYNC:
      if (code == BN_CLICKED) btnSyncClick();
      break;
    case IDCANCEL:
      // A run cannot stop half-way without leaving LastSync behind what was exchanged.
      if (!running_) EndModal(IDCANCEL);
      break;
    default:
      break;  // Enter without a default button: nothing
  }
}

void TfrmSync::ShowLabel(std::u16string_view text) {
  ::SetDlgItemTextW(Handle(), IDC_SYNC_LBLMSG, Wide(text).c_str());
  ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  KeepAnswering();
}

void TfrmSync::SetProgressMaximum(int maximum) {
  progressMaximum_ = maximum;
  ::SendMessageW(Item(IDC_SYNC_PROGRESS), PBM_SETRANGE32, 0, maximum);
}

void TfrmSync::SetProgressPosition(int position) {
  const ULONGLONG now = ::GetTickCount64();
  if (position < progressMaximum_ && now - lastRepaint_ < kRepaintMs) return;
  lastRepaint_ = now;
  ::SendMessageW(Item(IDC_SYNC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(position), 0);
  KeepAnswering();
}

void TfrmSync::KeepAnsweringWhenDue() {
  const ULONGLONG now = ::GetTickCount64();
  if (now - lastRepaint_ < kRepaintMs) return;
  lastRepaint_ = now;
  KeepAnswering();
}

void TfrmSync::KeepAnswering() {
  // Everything that could act is off while the run goes (see btnSyncClick); what comes is
  // painting, the tray and hot keys bringing the dialog forward, and questions from outside.
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the modal loop, once the run is over
      return;
    }
    if (::IsDialogMessageW(Handle(), &msg) || Dialog::RouteDialogMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void TfrmSync::btnSyncClick() {
  const HWND syncButton = Item(IDC_SYNC_BTNSYNC);
  const HWND closeButton = Item(IDCANCEL);
  if (running_ || !::IsWindowEnabled(syncButton)) return;

  SyncResult result;
  // One run per showing. Nothing closes the dialog while it runs: the buttons and the close
  // box are off until it ends, and then the keys belong to 閉じる.
  {
    const ScopedFlag running(running_);
    const HMENU systemMenu = ::GetSystemMenu(Handle(), FALSE);
    ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(closeButton), TRUE);
    ::EnableWindow(syncButton, FALSE);
    ::EnableWindow(closeButton, FALSE);
    ::EnableMenuItem(systemMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

    SyncHooks hooks;
    hooks.showMessage = [this](std::u16string_view text) { ShowLabel(text); };
    hooks.setMaximum = [this](int maximum) { SetProgressMaximum(maximum); };
    hooks.setPosition = [this](int position) { SetProgressPosition(position); };
    hooks.keepAnswering = [this] { KeepAnsweringWhenDue(); };
    hooks.keepListBefore = env_.keepListBefore;
    hooks.saveList = env_.saveList;
    lastRepaint_ = 0;
    ::SetDlgItemTextW(Handle(), IDC_SYNC_LBLCOUNTS, L"");
    result = RunSync(env_.list, env_.profile, env_.openFolder, hooks);

    ::EnableMenuItem(systemMenu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    ::EnableWindow(closeButton, TRUE);
    ::SendMessageW(Handle(), DM_SETDEFID, IDCANCEL, 0);
    ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(closeButton), TRUE);
  }

  // Never silent: the counts of each side stay in the dialog; a box tells what else there is
  // (the error's own text first, where the list as it was is kept, what was left or lost).
  if (result.completed || result.list.Any() || result.folder.Any()) {
    std::u16string counts = SyncCountsText(result);
    if (result.list.Any()) counts += u"\r\n" + std::u16string(kUndoLostText);
    ::SetDlgItemTextW(Handle(), IDC_SYNC_LBLCOUNTS, Wide(counts).c_str());
  }
  if (SyncNeedsBox(result)) {
    ShowBox(Handle(), result.completed ? BoxKind::Information : BoxKind::Error, Wide(SyncReport(result, Decode)));
  }
  if (result.lastSyncWriteFailed) ShowBox(Handle(), BoxKind::Error, FromUtf8(WriteFailureMessage(env_.settingsPath)));
}

}  // namespace lq::win
