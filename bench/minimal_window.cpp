// The baseline of the start-up benchmark: the least a Win32 program does to show a window. It
// answers the same two query messages as Lindqvale (ready, first paint).
#include <windows.h>

#include "mainwindow/automation.h"

namespace {

long long gFirstPaint = 0;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      FillRect(ps.hdc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
      EndPaint(h, &ps);
      if (gFirstPaint == 0) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        gFirstPaint = now.QuadPart;
      }
      return 0;
    }
    case lq::automation::kReady:
      return 1;
    case lq::automation::kFirstPaint:
      return static_cast<LRESULT>(gFirstPaint);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(h, m, w, l);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"TfrmToDo";  // found by the benchmark the same way
  RegisterClassW(&wc);
  const HWND h = CreateWindowExW(0, L"TfrmToDo", L"minimal", WS_POPUP | WS_VISIBLE, 100, 100, 360, 215, nullptr,
                                 nullptr, instance, nullptr);
  UpdateWindow(h);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
