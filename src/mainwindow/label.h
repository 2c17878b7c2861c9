#pragma once
// A text label child window: opaque background, left-aligned single line, no prefix handling.

#include <windows.h>

#include <string>

#include "platform/window.h"

namespace lq::win {

class Label final : public Window {
 public:
  HWND Create(HWND parent, const wchar_t* name);
  void SetText(const std::wstring& text);
  const std::wstring& Text() const { return text_; }
  void SetStyle(HFONT font, COLORREF text, COLORREF background);
  // Both width and height zero means the label shows nothing.
  bool HasSize() const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring text_;
  HFONT font_ = nullptr;
  COLORREF textColour_ = 0;
  COLORREF background_ = RGB(255, 255, 255);
};

}  // namespace lq::win
