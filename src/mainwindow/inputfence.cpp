#include "mainwindow/inputfence.h"

#include "mainwindow/automation.h"

namespace lq::win {
namespace {

HHOOK gHook = nullptr;
LRESULT gCount = 0;

// Sees every message any loop of the thread takes, so a fence key is counted wherever the focus is.
LRESULT CALLBACK FenceHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if ((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && msg->wParam == automation::kFenceKey) {
      if (msg->message == WM_KEYDOWN) ++gCount;
      msg->message = WM_NULL;
    }
  }
  return ::CallNextHookEx(gHook, code, wParam, lParam);
}

}  // namespace

LRESULT InputFenceCount() {
  if (!gHook) gHook = ::SetWindowsHookExW(WH_GETMESSAGE, &FenceHook, nullptr, ::GetCurrentThreadId());
  return gCount;
}

}  // namespace lq::win
