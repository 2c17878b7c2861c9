#include "mainwindow/inputfence.h"

#include "mainwindow/automation.h"

namespace lq::win {
namespace {

HHOOK gHook = nullptr;
LRESULT gCount = 0;
LRESULT gModifiers = 0;  // Ctrl 1, Shift 2, Alt 4, as held when the last fence key was taken

// Sees every message any loop of the thread takes, so a fence key is counted wherever the focus is.
LRESULT CALLBACK FenceHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if ((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && msg->wParam == automation::kFenceKey) {
      if (msg->message == WM_KEYDOWN) {
        ++gCount;
        const auto held = [](int vk) { return (::GetKeyState(vk) & 0x8000) != 0; };
        gModifiers = (held(VK_CONTROL) ? 1 : 0) | (held(VK_SHIFT) ? 2 : 0) | (held(VK_MENU) ? 4 : 0);
      }
      msg->message = WM_NULL;
    }
  }
  return ::CallNextHookEx(gHook, code, wParam, lParam);
}

}  // namespace

LRESULT InputFence(WPARAM what) {
  if (!gHook) gHook = ::SetWindowsHookExW(WH_GETMESSAGE, &FenceHook, nullptr, ::GetCurrentThreadId());
  return what == automation::kFenceModifiers ? gModifiers : gCount;
}

}  // namespace lq::win
