#pragma once
// The alarm window: small, above every other window, with the alarm's minute in large figures,
// how late it rings when it could not at its minute, the task text below it, a choice of when
// to ring again with a スヌーズ button, and a button that stops the alarm. Several alarms rung
// together show as a list under their number. The stop button, Enter, Escape and the close box
// all dismiss it, which stops the sound and ends the program.
//
// A snooze stops the sound, hides the window and waits in this process, with a tray icon whose
// tip says when it rings again; a click on the icon shows the window, silent, saying the same,
// where 停止 ends the snooze and Escape or the close box hide it again. At its time the window
// rings again with the same texts; a ring the computer slept through says how late it is.

#include <windows.h>

#include <cstdint>
#include <string>

#include "alarm/alarmsound.h"
#include "platform/handles.h"
#include "platform/trayicon.h"
#include "platform/window.h"
#include "store/alarmcall.h"

namespace lq::alarm {

class AlarmWindow final : public win::Window {
 public:
  // `minuteMs` is the length of a snooze minute.
  AlarmWindow(AlarmDisplay display, std::int64_t minuteMs)
      : alarm_(std::move(display)), note_(alarm_.note), minuteMs_(minuteMs) {}

  // Creates the window hidden and lays it out for its texts.
  bool Create();
  // Places it clear of the other alarm windows, shows it and tries to take the foreground;
  // when Windows does not allow that, the window flashes until the user comes to it.
  void ShowAndAttract();
  // Rings; `choice` says which sound, now and when a snooze rings again.
  void Ring(const SoundChoice& choice);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class NoteKind { Late, Waiting };

  void CreateFonts();
  void ApplyFonts();
  void CreateControls();
  void Layout();
  void Place();
  void Dismiss();
  void OnPaint();
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  void OnCommand(int id, int code);
  void SetNote(const std::u16string& note, NoteKind kind);

  void Snooze();
  // Rings when the snooze is due, or sets the timer for the next look at the clock.
  void CheckSnoozeNow();
  void RingAgain(long lateMinutes);
  void UpdateWaitingTexts();
  void ShowWaiting();
  void HideWaiting();

  AlarmDisplay alarm_;  // as the call gave it
  std::u16string note_;
  NoteKind noteKind_ = NoteKind::Late;
  const std::int64_t minuteMs_;
  SoundChoice soundChoice_;
  AlarmSound sound_;
  win::Font timeFont_;
  win::Font textFont_;
  win::Font buttonFont_;
  HWND timeLabel_ = nullptr;
  HWND textLabel_ = nullptr;
  HWND noteLabel_ = nullptr;  // hidden when empty
  HWND stopButton_ = nullptr;
  HWND snoozeChoice_ = nullptr;
  HWND snoozeButton_ = nullptr;
  HICON bell_ = nullptr;       // shared resource icons: not destroyed
  HICON smallBell_ = nullptr;
  int footerTop_ = 0;          // client y where the button strip begins

  bool waiting_ = false;       // a snooze waits; the window is hidden or shown silent
  std::uint64_t dueTick_ = 0;  // GetTickCount64 when it rings again
  std::u16string untilText_;   // "07:35に再通知"
  win::TrayIcon trayIcon_;
};

}  // namespace lq::alarm
