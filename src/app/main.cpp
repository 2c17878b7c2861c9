// Program entry: one instance per user session, the hidden application window that keeps the
// main window off the taskbar, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>

#include "mainwindow/mainwindow.h"
#include "platform/handles.h"
#include "platform/module.h"

namespace {

constexpr const wchar_t* kMutexName = L"Mutex_of_Tarnwillow";
constexpr const wchar_t* kApplicationClass = L"TLqApplication";
constexpr const wchar_t* kApplicationTitle = L"Lindqvale";

// Another instance runs: bring its window forward and leave without a trace.
void ActivateRunningInstance() {
  if (const HWND running = ::FindWindowW(lq::win::TfrmToDo::kClassName, nullptr)) {
    ::SetForegroundWindow(running);
    ::SetActiveWindow(running);
  }
}

HWND CreateApplicationWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kApplicationClass;
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(0, kApplicationClass, kApplicationTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (const HANDLE existing = ::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName)) {
    ActivateRunningInstance();
    ::CloseHandle(existing);
    return 0;
  }
  lq::win::KernelHandle mutex(::CreateMutexW(nullptr, FALSE, kMutexName));
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {  // started at the same moment as another
    ActivateRunningInstance();
    return 0;
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);

  const HWND application = CreateApplicationWindow();
  lq::win::TfrmToDo main(lq::win::ExecutablePath(), application);
  if (!main.Create()) return 1;
  main.Show();

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (main.PreTranslateMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  ::DestroyWindow(application);
  return 0;
}
