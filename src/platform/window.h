#pragma once
// One class per window: the base keeps `this` from WM_NCCREATE on and hands every message to
// the object. No exception crosses a window procedure.

#include <windows.h>

#include <exception>

#include "geometry/dpi.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace lq::win {

// The DPI of the screen as a whole: what a window is created at before Windows knows its
// monitor, and the only DPI on Windows older than 8.1.
int SystemDpi();
// The DPI of the monitor a window is on (the system DPI where Windows cannot tell per window).
int DpiOf(HWND hwnd);

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  HWND Handle() const { return hwnd_; }

  // The DPI the window draws at: its monitor's from creation on, followed through
  // WM_DPICHANGED (before the window's own handler sees it); the system DPI before creation.
  int Dpi() const { return dpi_ > 0 ? dpi_ : SystemDpi(); }
  // A 96-DPI length in pixels at the window's DPI.
  int Scale(int pixels) const { return ScaleToDpi(pixels, Dpi()); }

  // Registers a class whose procedure forwards to the object given as lpParam of CreateWindowEx.
  static bool RegisterClass(const wchar_t* className, UINT style, HBRUSH background, HCURSOR cursor,
                            HICON icon = nullptr);

  // The object behind a window of such a class, or null.
  static Window* FromHandle(HWND hwnd);

 protected:
  // Returns the message result; DefWindowProc when not handled.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return ::DefWindowProcW(hwnd_, msg, wParam, lParam); }
  // Called once after WM_NCDESTROY: the handle is gone.
  virtual void OnFinalMessage() {}

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  int dpi_ = 0;
};

// An exception that reached a window or dialog procedure: a line for the debugger every time,
// and once a run a message to the user, who may want to save and restart.
void ReportHandlerFailure(const char* where, const char* what = nullptr);

// Runs one message's handler for a procedure called by the system; an exception is reported
// as above and `fallback` (the default processing) answers instead.
template <typename Handler, typename Fallback>
auto Guarded(const char* where, Handler&& handler, Fallback&& fallback) -> decltype(handler()) {
  try {
    return handler();
  } catch (const std::exception& e) {
    ReportHandlerFailure(where, e.what());
  } catch (...) {
    ReportHandlerFailure(where);
  }
  return fallback();
}

// Keeps a DC's previous object and puts it back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() {
    if (old_) ::SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC with a bitmap of the given size, for painting without flicker.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC reference, int width, int height);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  HDC Dc() const { return dc_; }
  HBITMAP DetachBitmap();  // the picture, kept after the canvas is gone

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace lq::win
