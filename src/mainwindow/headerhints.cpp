#include "mainwindow/headerhints.h"

#include <commctrl.h>

#include "platform/window.h"

namespace lq::win {

void HeaderHints::Add(HWND parent, HWND tool, const wchar_t* text, bool watchFirstHover) {
  hints_.push_back(Hint{parent, tool, text, watchFirstHover});
  if (watchFirstHover) ::SetWindowSubclass(tool, &FirstHover, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK HeaderHints::FirstHover(HWND tool, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self) {
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(tool, &FirstHover, id);
  const auto byDefault = [&] { return ::DefSubclassProc(tool, msg, wParam, lParam); };
  return Guarded(
      "header button",
      [&]() -> LRESULT {
        if (msg == WM_MOUSEMOVE) reinterpret_cast<HeaderHints*>(self)->FirstMove(tool, msg, wParam, lParam);
        return byDefault();
      },
      byDefault);
}

void HeaderHints::FirstMove(HWND tool, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_MOUSEMOVE || tooltips_) return;
  Create();
  // The control watches the tools from now on; this first move it is told of.
  MSG m{tool, msg, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
  ::SendMessageW(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void HeaderHints::Create() {
  // The hints belong to the application window: a top-most tip owned by the main window would
  // keep the main window itself out of the top-most band (as Wine does it).
  tooltips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  for (const Hint& h : hints_) {
    if (h.watched) ::RemoveWindowSubclass(h.tool, &FirstHover, 0);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = h.parent;
    ti.uId = reinterpret_cast<UINT_PTR>(h.tool);
    ti.lpszText = const_cast<wchar_t*>(h.text);
    ::SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void HeaderHints::Pop() {
  if (tooltips_) ::SendMessageW(tooltips_, TTM_POP, 0, 0);
}

void HeaderHints::Silence(bool silent) {
  if (!tooltips_) return;
  ::SendMessageW(tooltips_, TTM_POP, 0, 0);
  // A hint still waiting for its delay shows when the delay is over, whatever happened
  // meanwhile; one without a text shows nothing.
  for (const Hint& h : hints_) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = h.parent;
    ti.uId = reinterpret_cast<UINT_PTR>(h.tool);
    ti.lpszText = const_cast<wchar_t*>(silent ? L"" : h.text);
    ::SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

}  // namespace lq::win
