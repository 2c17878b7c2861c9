#include "mainwindow/viewimage.h"

namespace lq::win {

void ViewImage::Create(HWND parent, COLORREF background, Callbacks callbacks) {
  background_.Reset(::CreateSolidBrush(background));
  picture_ = std::make_unique<PlainChild>(PlainChild::Callbacks{
      [this](HDC dc, const RECT& rc) { Paint(dc, rc); }, std::move(callbacks.mouse), std::move(callbacks.cursor)});
  picture_->Create(parent, L"imgNotEditMode", false);
  // The clock labels lie above the image; lblSecond above lblYMDHM.
  lblYMDHM.Create(parent, L"lblYMDHM");
  lblSecond.Create(parent, L"lblSecond");
  ::SetWindowPos(lblYMDHM.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPos(lblSecond.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ViewImage::Show() {
  ::ShowWindow(picture_->Handle(), SW_SHOWNA);
  ::ShowWindow(lblYMDHM.Handle(), SW_SHOWNA);
  ::ShowWindow(lblSecond.Handle(), SW_SHOWNA);
}

void ViewImage::Hide() {
  ::ShowWindow(lblYMDHM.Handle(), SW_HIDE);
  ::ShowWindow(lblSecond.Handle(), SW_HIDE);
  ::ShowWindow(picture_->Handle(), SW_HIDE);
}

bool ViewImage::Shown() const { return picture_ && ::IsWindowVisible(picture_->Handle()); }

void ViewImage::SetPicture(Bitmap picture) {
  image_ = std::move(picture);
  ::InvalidateRect(picture_->Handle(), nullptr, FALSE);
}

void ViewImage::Paint(HDC dc, const RECT& rc) {
  ::FillRect(dc, &rc, background_.Get());
  if (!image_) return;
  MemoryDc source(::CreateCompatibleDC(dc));
  SelectGuard select(source.Get(), image_.Get());
  ::BitBlt(dc, 0, 0, rc.right, rc.bottom, source.Get(), 0, 0, SRCCOPY);
}

void ViewImage::SetLabelStyle(HFONT font, COLORREF text, COLORREF background) {
  lblYMDHM.SetStyle(font, text, background);
  lblSecond.SetStyle(font, text, background);
}

void ViewImage::PlaceLabels(const Rect& main, const Rect& seconds) {
  ::MoveWindow(lblYMDHM.Handle(), main.left, main.top, main.Width(), main.Height(), TRUE);
  ::MoveWindow(lblSecond.Handle(), seconds.left, seconds.top, seconds.Width(), seconds.Height(), TRUE);
}

void ViewImage::SetLabelTexts(const std::wstring& main, const std::wstring& seconds) {
  lblYMDHM.SetText(main);
  lblSecond.SetText(seconds);
}

}  // namespace lq::win
