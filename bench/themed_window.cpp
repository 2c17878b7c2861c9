// The fairer floor of the start-up benchmark: the least a program does to show what Lindqvale
// shows first, a top-most tool window with one themed edit control holding the focus and one
// button (comctl32 6 by the manifest, as under Wine any edit or button control loads it and its
// theming). It answers the same two query messages as Lindqvale; its first frame is the edit
// control's first paint, the last of the three to paint.
#include <windows.h>

#include "mainwindow/automation.h"

namespace {

long long gFirstPaint = 0;
WNDPROC gEditProc = nullptr;

LRESULT CALLBACK EditProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  const LRESULT r = CallWindowProcW(gEditProc, h, m, w, l);
  if (m == WM_PAINT && gFirstPaint == 0) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    gFirstPaint = now.QuadPart;
  }
  return r;
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
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
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"TfrmToDo";  // found by the benchmark the same way
  RegisterClassW(&wc);
  const HWND h = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"TfrmToDo", L"themed", WS_POPUP, 100, 100, 360,
                                 215, nullptr, nullptr, instance, nullptr);
  const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 8, 8, 240,
                                    22, h, nullptr, instance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 256, 8, 80, 22, h, nullptr, instance,
                  nullptr);
  gEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  ShowWindow(h, SW_SHOW);
  SetFocus(edit);
  UpdateWindow(h);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
