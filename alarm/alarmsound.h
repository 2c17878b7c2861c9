#pragma once
// The alarm's sound: the .wav file named in [Alarm] Wav of Lindqvale.ini, once or over and over
// as [Alarm] Loop says. When the file is missing or is no wave file, or Windows cannot play it,
// the system's exclamation sound rings in its place, repeated every couple of seconds while
// Loop is on, so an alarm is never silent.

#include <windows.h>

#include <filesystem>

#include "alarm/automation.h"
#include "store/seams.h"

namespace lq::alarm {

struct SoundChoice {
  std::filesystem::path wav;
  bool loop = false;
};

// Reads [Alarm] from the settings file. An empty or missing Wav means Tarnwillow.wav in
// `folder`; a relative one is taken from `folder` too, where the settings file lies.
SoundChoice ReadSoundChoice(const Profile& settings, const std::filesystem::path& folder);

class AlarmSound {
 public:
  AlarmSound() = default;
  AlarmSound(const AlarmSound&) = delete;
  AlarmSound& operator=(const AlarmSound&) = delete;
  ~AlarmSound() { Stop(); }

  // `owner` receives the repeat timer of the system sound (kRepeatTimer).
  void Start(const SoundChoice& choice, HWND owner);
  // The owner's WM_TIMER for kRepeatTimer.
  void OnRepeatTimer();
  void Stop();
  SoundSource Source() const { return source_; }

  static constexpr UINT_PTR kRepeatTimer = 1;
  static constexpr UINT kRepeatMilliseconds = 2000;

 private:
  HWND owner_ = nullptr;
  SoundSource source_ = kSoundNone;
  bool repeating_ = false;
};

}  // namespace lq::alarm
