#include "mainwindow/childwindows.h"

#include <windowsx.h>

namespace lq::win {

namespace {
constexpr const wchar_t* kClassName = L"TLqPlainChild";
}

HWND PlainChild::Create(HWND parent, const wchar_t* name, bool visible) {
  RegisterClass(kClassName, CS_DBLCLKS, nullptr, ::LoadCursorW(nullptr, IDC_ARROW));
  return ::CreateWindowExW(0, kClassName, name,
                           WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), 0, 0, 10, 10,
                           parent, nullptr, ::GetModuleHandleW(nullptr), this);
}

LRESULT PlainChild::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = ::BeginPaint(Handle(), &ps);
      RECT rc;
      ::GetClientRect(Handle(), &rc);
      if (cb_.paint) cb_.paint(dc, rc);
      ::EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && cb_.cursor) {
        if (const HCURSOR c = cb_.cursor()) {
          ::SetCursor(c);
          return TRUE;
        }
      }
      return Default(msg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      if (cb_.mouse) cb_.mouse(msg, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // The controls on the panel belong to the main window.
      return ::SendMessageW(::GetAncestor(Handle(), GA_ROOT), msg, wParam, lParam);
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lq::win
