#include "platform/dialog.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "platform/window.h"

namespace lq::win {
namespace {

// The dialogs that exist, for the message loop.
std::vector<Dialog*>& Dialogs() {
  static std::vector<Dialog*> all;
  return all;
}

}  // namespace

Dialog::~Dialog() {
  auto& all = Dialogs();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Dialog::Create(HWND owner) {
  if (hwnd_) return true;
  ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, &Dialog::Procedure,
                       reinterpret_cast<LPARAM>(this));
  if (hwnd_) Dialogs().push_back(this);
  return hwnd_ != nullptr;
}

INT_PTR Dialog::ShowModal(HWND owner, const std::function<void()>& beforeHiding) {
  if (!Create(owner) || modal_) return IDCANCEL;
  ::SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  OnShow();
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  modal_ = true;
  ended_ = false;
  result_ = IDCANCEL;
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);

  MSG msg;
  bool quit = false;
  while (!ended_) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    if (PreTranslateMessage(msg)) continue;
    if (::IsDialogMessageW(hwnd_, &msg)) continue;
    if (RouteDialogMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  modal_ = false;
  // The owner first, so that the activation goes back to it and not to another program.
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  if (beforeHiding && !quit) beforeHiding();
  if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop ends too
  return result_;
}

void Dialog::ShowModeless(HWND owner, int showCommand) {
  if (!Create(owner)) return;
  OnShow();
  ::ShowWindow(hwnd_, showCommand);
}

void Dialog::Hide() {
  if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
}

void Dialog::EndModal(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!modal_) Hide();
  ::PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
}

bool Dialog::RouteDialogMessage(MSG* msg) {
  for (Dialog* d : Dialogs()) {
    if (d->hwnd_ && !d->modal_ && ::IsWindowVisible(d->hwnd_) &&
        (msg->hwnd == d->hwnd_ || ::IsChild(d->hwnd_, msg->hwnd)) && ::IsDialogMessageW(d->hwnd_, msg)) {
      return true;
    }
  }
  return false;
}

bool Dialog::HandleMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }

void Dialog::OnCommand(int id, int, HWND) {
  if (id == IDOK || id == IDCANCEL) EndModal(id);
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (HandleMessage(msg, wParam, lParam, &result)) return result;
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_CLOSE:
      OnCommand(IDCANCEL, 0, nullptr);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  const INT_PTR result = Guarded(
      "dialog",
      [&]() -> INT_PTR {
        if (msg != WM_INITDIALOG) return self->Dispatch(msg, wParam, lParam);
        self->OnCreate();
        return self->FocusOnCreate() ? TRUE : FALSE;
      },
      [] { return INT_PTR{FALSE}; });
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace lq::win
