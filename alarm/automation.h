#pragma once
// What a test driver can ask an alarm window (class "TarnwillowAlarm") beyond its texts, which
// it reads with WM_GETTEXT from the child controls below.

#include <windows.h>

namespace lq::alarm {

inline constexpr const wchar_t* kClassName = L"TarnwillowAlarm";

// Child controls.
inline constexpr int kTimeLabelId = 101;  // the alarm's minute, large
inline constexpr int kTextLabelId = 102;  // the task text; several alarms: a line for each
// How late it rings (empty and hidden at its minute); while a snooze waits and the window is
// shown from the tray, when it rings again ("07:35に再通知").
inline constexpr int kNoteLabelId = 103;
inline constexpr int kSnoozeChoiceId = 104;  // drop-down: 5分後, 10分後, 30分後, 1時間後
inline constexpr int kSnoozeButtonId = 105;  // スヌーズ
inline constexpr int kStopButtonId = IDOK;

// Which sound rings: 0 none (stopped), 1 the .wav file, 2 the system sound in its place.
inline constexpr UINT kQuerySound = WM_APP + 0x300;
enum SoundSource : int { kSoundNone = 0, kSoundFile = 1, kSoundSystem = 2 };

// The mouse messages of the tray icon a waiting snooze shows, the mouse message in lParam.
inline constexpr UINT kTrayCallback = WM_APP + 0x301;

}  // namespace lq::alarm
