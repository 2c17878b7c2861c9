#pragma once
// The alarm window: small, above every other window, with the alarm's minute in large figures,
// how late it rings when it could not at its minute, the task text below it and one button
// that stops the alarm. Several alarms rung together show as a list under their number. The button, Enter, Escape and
// the close box all dismiss it, which stops the sound and ends the program.

#include <windows.h>

#include "alarm/alarmsound.h"
#include "platform/handles.h"
#include "platform/window.h"
#include "store/alarmcall.h"

namespace lq::alarm {

class AlarmWindow final : public win::Window {
 public:
  explicit AlarmWindow(AlarmDisplay display) : display_(std::move(display)) {}

  // Creates the window hidden and lays it out for its texts.
  bool Create();
  // Places it clear of the other alarm windows, shows it and tries to take the foreground;
  // when Windows does not allow that, the window flashes until the user comes to it.
  void ShowAndAttract();
  // Rings; `choice` says which sound.
  void Ring(const SoundChoice& choice) { sound_.Start(choice, Handle()); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateFonts();
  void CreateControls();
  void Layout();
  void Place();
  void Dismiss();
  void OnPaint();
  LRESULT OnCtlColorStatic(HDC dc, HWND control);

  AlarmDisplay display_;
  AlarmSound sound_;
  win::Font timeFont_;
  win::Font textFont_;
  win::Font buttonFont_;
  HWND timeLabel_ = nullptr;
  HWND textLabel_ = nullptr;
  HWND noteLabel_ = nullptr;  // how late; hidden when it rings at its minute
  HWND stopButton_ = nullptr;
  HICON bell_ = nullptr;  // shared resource icon: not destroyed
  int footerTop_ = 0;     // client y where the button strip begins
};

}  // namespace lq::alarm
