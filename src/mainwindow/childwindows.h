#pragma once
// Plain child windows of the main window: the panel that holds the grid and the picture that
// shows the view image. They paint through a callback and pass the mouse on.

#include <windows.h>

#include <functional>

#include "platform/window.h"

namespace lq::win {

class PlainChild final : public Window {
 public:
  struct Callbacks {
    std::function<void(HDC dc, const RECT& client)> paint;
    std::function<void(UINT msg, WPARAM wParam, int x, int y)> mouse;  // button and move messages
    std::function<HCURSOR()> cursor;  // the cursor over it, null for the class cursor
  };

  explicit PlainChild(Callbacks callbacks) : cb_(std::move(callbacks)) {}
  HWND Create(HWND parent, const wchar_t* name, bool visible);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  Callbacks cb_;
};

}  // namespace lq::win
