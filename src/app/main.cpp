// Program entry: one instance per user session; the application does the rest.
#include <windows.h>

#include "app/application.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/traycontroller.h"
#include "platform/handles.h"
#include "platform/module.h"

namespace {

constexpr const wchar_t* kMutexName = L"Mutex_of_Tarnwillow";

// Another instance runs: bring its window forward and leave without a trace. The window asks
// to come back itself, so that a window the user hid shows again (and an open dialog of it
// comes forward instead); it may take the foreground because we pass it on.
void ActivateRunningInstance() {
  const HWND running = ::FindWindowW(lq::win::TfrmToDo::kClassName, nullptr);
  if (!running) return;
  DWORD process = 0;
  ::GetWindowThreadProcessId(running, &process);
  ::AllowSetForegroundWindow(process);
  DWORD_PTR answer = 0;
  if (::SendMessageTimeoutW(running, lq::win::TrayController::ShowAgainRequest(), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000,
                            &answer) &&
      answer == static_cast<DWORD_PTR>(lq::win::TrayController::kShowAgainAnswer)) {
    return;
  }
  ::SetForegroundWindow(running);
  ::SetActiveWindow(running);
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
  lq::win::Application app(lq::win::ExecutablePath());
  return app.Run();
}
