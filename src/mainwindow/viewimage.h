#pragma once
// View mode's still image of the list with the two clock labels over its header: one group of
// child windows that shows and hides as one.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "geometry/layout.h"
#include "mainwindow/childwindows.h"
#include "mainwindow/label.h"
#include "platform/handles.h"

namespace lq::win {

class ViewImage {
 public:
  struct Callbacks {
    std::function<void(UINT msg, WPARAM wParam, int x, int y)> mouse;  // button and move messages
    std::function<HCURSOR()> cursor;
  };

  void Create(HWND parent, COLORREF background, Callbacks callbacks);

  void Show();
  void Hide();
  bool Shown() const;
  // The picture's window, for placing it and hit-testing over it.
  HWND Handle() const { return picture_ ? picture_->Handle() : nullptr; }

  // A new picture of the list; the image owns it from now on.
  void SetPicture(Bitmap picture);

  void SetLabelStyle(HFONT font, COLORREF text, COLORREF background);
  // The two labels' places in the parent; an empty rectangle hides a label.
  void PlaceLabels(const Rect& main, const Rect& seconds);
  void SetLabelTexts(const std::wstring& main, const std::wstring& seconds);
  // What the clock labels say, as one text.
  std::wstring ClockText() const { return lblYMDHM.Text() + lblSecond.Text(); }
  // Whether the seconds label has room on the screen.
  bool SecondsShown() const { return lblSecond.HasSize(); }

 private:
  void Paint(HDC dc, const RECT& rc);

  std::unique_ptr<PlainChild> picture_;  // imgNotEditMode
  Label lblYMDHM;
  Label lblSecond;
  Bitmap image_;
  Brush background_;
};

}  // namespace lq::win
