#include "platform/window.h"

#include <exception>
#include <string>

#include "platform/codepage.h"
#include "platform/msgbox.h"

namespace lq::win {

void ReportHandlerFailure(const char* where, const char* what) {
  std::string line = std::string("Lindqvale: an exception reached the ") + where + " procedure";
  if (what) line += std::string(": ") + what;
  line += "\n";
  ::OutputDebugStringA(line.c_str());
  static bool told = false;
  if (told) return;
  told = true;
  std::wstring text =
      L"予期しないエラーが発生しました。作業は続けられますが、念のため予定表を終了して起動し直してください。";
  if (what && *what) text += L"\r\n\r\n" + FromCp932(what);
  ShowBox(nullptr, BoxKind::Error, text);
}

int SystemDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int DpiOf(HWND hwnd) {
  // Windows 10 1607 and later; looked up, since the program also runs where it is missing.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (hwnd && getDpiForWindow) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

bool Window::RegisterClass(const wchar_t* className, UINT style, HBRUSH background, HCURSOR cursor, HICON icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = &Window::Procedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Window* Window::FromHandle(HWND hwnd) {
  return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<Window*>(cs->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      self->dpi_ = DpiOf(hwnd);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = FromHandle(hwnd);
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_DPICHANGED && LOWORD(wParam) > 0) self->dpi_ = LOWORD(wParam);
  // A failure inside one handler must not unwind through the system's code.
  const LRESULT result = Guarded(
      "window", [&] { return self->HandleMessage(msg, wParam, lParam); },
      [&] { return ::DefWindowProcW(hwnd, msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnFinalMessage();
  }
  return result;
}

MemoryCanvas::MemoryCanvas(HDC reference, int width, int height) {
  dc_ = ::CreateCompatibleDC(reference);
  bitmap_ = ::CreateCompatibleBitmap(reference, width > 0 ? width : 1, height > 0 ? height : 1);
  old_ = ::SelectObject(dc_, bitmap_);
}

MemoryCanvas::~MemoryCanvas() {
  if (old_) ::SelectObject(dc_, old_);
  if (bitmap_) ::DeleteObject(bitmap_);
  if (dc_) ::DeleteDC(dc_);
}

HBITMAP MemoryCanvas::DetachBitmap() {
  ::SelectObject(dc_, old_);
  old_ = nullptr;
  HBITMAP b = bitmap_;
  bitmap_ = nullptr;
  return b;
}

}  // namespace lq::win
