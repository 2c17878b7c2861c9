// Helper of tools/run: waits for Lindqvale's window, prints where it is, and closes it the
// way the user would (the system close command).
//   lq_runctl wait     prints "X Y W H" of the window once its first showing is done
//   lq_runctl close    closes the window and waits for the program to end
//   lq_runctl settings opens the settings dialog as the tray menu does; prints "X Y W H" of it
//   lq_runctl page     turns the settings dialog to its next page (Ctrl+Tab)
//   lq_runctl cancel   closes the settings dialog with キャンセル
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "commands/commandtable.h"
#include "mainwindow/automation.h"

namespace {

HWND FindReadyWindow(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (const HWND w = FindWindowW(L"TfrmToDo", nullptr)) {
      DWORD_PTR ready = 0;
      if (SendMessageTimeoutW(w, lq::automation::kReady, 0, 0, SMTO_ABORTIFHUNG, 2000, &ready) && ready == 1) {
        return w;
      }
    }
    Sleep(50);
  }
  return nullptr;
}

struct FindSettings {
  DWORD pid;
  HWND found;
};

HWND SettingsDialog(HWND main, DWORD timeoutMs) {
  FindSettings f{0, nullptr};
  GetWindowThreadProcessId(main, &f.pid);
  const DWORD start = GetTickCount();
  while (!f.found && GetTickCount() - start < timeoutMs) {
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
          auto* f = reinterpret_cast<FindSettings*>(lParam);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          wchar_t caption[16] = {};
          SendMessageW(hwnd, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(caption));
          if (pid == f->pid && IsWindowVisible(hwnd) && lstrcmpW(caption, L"設定") == 0) f->found = hwnd;
          return f->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&f));
    if (!f.found) Sleep(50);
  }
  return f.found;
}

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const HWND w = FindReadyWindow(30000);
  if (!w) {
    std::fprintf(stderr, "Lindqvale's window did not appear\n");
    return 1;
  }
  if (std::strcmp(argv[1], "wait") == 0) {
    Sleep(300);  // one more frame for the painting to settle
    RECT rc{};
    GetWindowRect(w, &rc);
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
  }
  if (std::strcmp(argv[1], "deactivate") == 0) {
    // Another program's window takes the activation for a few seconds.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LqRunctlOther";
    RegisterClassW(&wc);
    const HWND other = CreateWindowExW(0, L"LqRunctlOther", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    const DWORD until = GetTickCount() + static_cast<DWORD>(argc > 2 ? std::atoi(argv[2]) : 3000);
    MSG msg;
    while (GetTickCount() < until) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(20);
    }
    return 0;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageW(w, WM_CLOSE, 0, 0);
    const DWORD rc = process ? WaitForSingleObject(process, 20000) : WAIT_FAILED;
    if (process) CloseHandle(process);
    return rc == WAIT_OBJECT_0 ? 0 : 1;
  }
  if (std::strcmp(argv[1], "settings") == 0) {
    const int id = lq::MenuItemId(lq::MenuKind::Tray, lq::Command::Config);
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    const HWND dialog = SettingsDialog(w, 10000);
    if (!dialog) return 1;
    Sleep(300);  // one more frame for the painting to settle
    RECT rc{};
    GetWindowRect(dialog, &rc);
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
  }
  if (std::strcmp(argv[1], "page") == 0 || std::strcmp(argv[1], "cancel") == 0) {
    const HWND dialog = SettingsDialog(w, 2000);
    if (!dialog) return 1;
    if (std::strcmp(argv[1], "cancel") == 0) {
      PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
      return 0;
    }
    SetForegroundWindow(dialog);
    SendKey(VK_CONTROL, false);
    SendKey(VK_TAB, false);
    SendKey(VK_TAB, true);
    SendKey(VK_CONTROL, true);
    Sleep(300);
    return 0;
  }
  return 2;
}
