#include "mainwindow/label.h"

namespace lq::win {

HWND Label::Create(HWND parent, const wchar_t* name) {
  RegisterClass(L"TLqLabel", 0, nullptr, ::LoadCursorW(nullptr, IDC_ARROW));
  return ::CreateWindowExW(0, L"TLqLabel", name, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                           ::GetModuleHandleW(nullptr), this);
}

void Label::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void Label::SetStyle(HFONT font, COLORREF text, COLORREF background) {
  font_ = font;
  textColour_ = text;
  background_ = background;
  if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

bool Label::HasSize() const {
  RECT rc{};
  ::GetWindowRect(Handle(), &rc);
  return rc.right - rc.left + rc.bottom - rc.top > 0;
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = ::BeginPaint(Handle(), &ps);
      RECT rc;
      ::GetClientRect(Handle(), &rc);
      ::SetDCBrushColor(dc, background_);
      ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
      SelectGuard font(dc, font_);
      ::SetTextColor(dc, textColour_);
      ::SetBkMode(dc, TRANSPARENT);
      ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &rc, DT_SINGLELINE | DT_LEFT | DT_NOPREFIX | DT_TOP);
      ::EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks reach the view image below
    case WM_GETTEXT: {
      const auto cap = static_cast<std::size_t>(wParam);
      if (cap == 0) return 0;
      const std::size_t n = std::min(cap - 1, text_.size());
      text_.copy(reinterpret_cast<wchar_t*>(lParam), n);
      reinterpret_cast<wchar_t*>(lParam)[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(text_.size());
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lq::win
